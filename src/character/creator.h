// The character creator: its map point, the staged scene and the editing pages.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

// Where the player enters the creator, where the scene stands him, and where the story begins.
inline constexpr Vector3 kCreatorEntryPoint{2549.794f, -1169.821f, 53.684f};
inline constexpr Vector3 kCreatorSceneSpot{2550.874f, -1169.519f, 52.684f};
inline constexpr float kCreatorSceneHeading = 211.256f;
inline constexpr Vector3 kStoryStart{2896.257f, -247.061f, 40.972f};
inline constexpr float kStoryStartHeading = 264.427f;

// The creator's stages; the numbers are the ones traced and tested, in the order a new player
// meets them except the first dressing, added last.
enum CreatorStageId : int32_t {
  kCreatorLoad = -2,
  kCreatorIdle = -1,  // a character exists; any value not listed does nothing as well
  kCreatorWaitAtEntry = 0,
  kCreatorMainMenu = 1,
  kCreatorFacialFeatures = 2,
  kCreatorBody = 3,
  kCreatorHair = 4,
  kCreatorFinish = 5,
  kCreatorAfterGenderChange = 6,
  kCreatorFirstDressing = 7,
};

struct CreatorState {
  CreatorStageId CreatorStage = kCreatorLoad;
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
