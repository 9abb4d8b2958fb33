// The parts of the page's frame message that read the world: the screen's draw items, the
// player's figures and the world map.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "hook/host.h"
#include "pictures/screen_render.h"
#include "pictures/world_map.h"
#include "player/milestones.h"

namespace brimvale::sim {

class SimHost;

// The last frame's native calls: how many, and the first of them as trace lines.
struct FrameCalls {
  size_t count = 0;
  std::vector<std::string> lines;
};
inline constexpr size_t kMaxListedCalls = 300;

// Each item as the page's canvas paints it (the names of DrawItem, defaults left out).
nlohmann::json DrawingJson(const ScreenDrawing& drawing);
// Money, health, rank, experience, skill points and story progress.
nlohmann::json StatsJson(const SimHost& host, const SaveEntries& save);
// The world map (CaptureWorldMap, the same the screenshots' inset shows) and the fixed places,
// as the page's map canvas paints them.
nlohmann::json MapJson(const SimHost& host);

}  // namespace brimvale::sim
