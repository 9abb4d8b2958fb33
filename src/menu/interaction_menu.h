// The personal interaction menu: walk styles and the player's own options.
#pragma once

namespace brimvale {

// One frame of the menu: opening, drawing and its rows; runs in free roam.
void RunInteractionMenu();

}  // namespace brimvale
