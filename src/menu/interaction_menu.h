// The personal interaction menu: walk styles and the player's own options.
#pragma once

#include <cstdint>

#include "core/invoke.h"

namespace brimvale {

struct InteractionMenuState {
  bool InteractionMenuOpen = false;  // set while the menu is shown; the skill tree keeps out
};

extern InteractionMenuState InteractionMenu;

// One frame of the menu: opening, drawing and its rows; runs in free roam.
void RunInteractionMenu();

}  // namespace brimvale
