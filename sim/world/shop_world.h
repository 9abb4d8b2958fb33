// What the interaction menu and the clothing shops touch in the game: the controls disabled for
// one frame, walk styles being dropped, point lights, and the
// clothing the game knows, so that a test can read exactly what a ped wears.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_map>

#include "core/native/invoke.h"
#include "world/look_world.h"

namespace brimvale::sim {

struct PointLight {
  int64_t frame = -1;
  Vector3 at{};
  int32_t r = 0, g = 0, b = 0;
  float range = 0.0f, intensity = 0.0f;
};

// A walk style the game was asked to drop: it stays set for some frames.
struct DroppingWalkStyle {
  std::string name;
  int framesLeft = 0;
};

struct ShopWorld {
  std::set<Hash> disabledControls;           // this frame, on pad 2
  std::set<Hash> disabledControlsLastFrame;  // the last completed frame
  int walkStyleDropFrames = 3;
  std::map<int32_t, DroppingWalkStyle> droppingWalkStyles;  // by ped
  std::map<int32_t, int32_t> startOptions;                  // by ped, the last flag set
  PointLight lastPointLight;
  // Every name the game has hashed, so that a shop item applied by hash can be read back.
  std::unordered_map<Hash, std::string> hashedNames;
};

// The clothing a ped wears, one item per slot ("HAT", "COAT", ...), as the game keeps it: an item
// replaces the one in its slot, removing a category takes off every slot of that category, and a
// name the game does not know (a part of -1) is ignored.
std::map<std::string, std::string> WornItems(const ShopWorld& shop, const PedLook& look);

}  // namespace brimvale::sim
