// The character creator: its map point, the staged scene and the editing pages.
#pragma once

#include <cstdint>

#include "core/invoke.h"

namespace brimvale {

struct CreatorState {
  int32_t CreatorStage = -2;
  int32_t MainMenuRow = 0;
  int32_t CreatorRow = 0;
  int32_t CreatorPage = 0;
  Blip entryBlip{};
  Cam WideCamera{};
  Cam CloseCamera{};
  int32_t transitionEffect = 0;
};

extern CreatorState Creator;

// One frame of the creator's stage machine; first in every frame.
void RunCharacterCreator();

}  // namespace brimvale
