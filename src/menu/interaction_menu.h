// The personal interaction menu: walk styles and the player's own options.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

// The menu's states and its sub-pages; the numbers are the ones traced and tested.
enum MenuStateId : int32_t { kMenuClosed = 0, kMenuMainPage = 1, kMenuSubPage = 2 };
enum MenuSubPageId : int32_t { kPlayerOptionsPage = 0, kWalkStylesPage = 1 };

struct InteractionMenuState {
  MenuStateId MenuState = kMenuClosed;
  MenuSubPageId InteractionSubPage = kPlayerOptionsPage;
  int32_t InteractionRow = 0;  // the highlighted row
  // Runs 0, 25, ... 275 while fading in and back to 0; every draw passes it clamped to 0..255.
  int32_t MenuAlpha = 0;
  Cam MenuCamera{};  // made at each opening, destroyed at each closing
  // After Quit the camera is kept until the eased return of the view is over (by GameTimer).
  bool CameraReturning = false;
  int32_t CameraReturnEndsAt = 0;
};

extern InteractionMenuState InteractionMenu;

// One frame of the menu: opening, drawing and its rows; runs in free roam.
void RunInteractionMenu();

// The menu gives the screen up at once (no fade) when the player has died; the death sequence
// follows in the same frame.
void CloseInteractionMenuOnDeath();

}  // namespace brimvale
