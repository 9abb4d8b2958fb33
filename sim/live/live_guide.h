// The guidance line above the live screen: the step the game is at, in a player's words, read
// from what is on screen and on the map (help texts, objectives, hold prompts, blips). It only
// reads: the plugin sees the same game whether a page shows the line or not.
#pragma once

#include <string>

#include "pictures/screen_frame.h"
#include "pictures/world_map.h"

namespace brimvale::sim {

std::string GuideLine(const ScreenFrame& screen, const WorldMap& map);

}  // namespace brimvale::sim
