// Map blips and the screen fade.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/native/invoke.h"

namespace brimvale::sim {

enum class BlipKind { Coord, Radius, Entity, Player };

struct SimBlip {
  int32_t handle = 0;
  BlipKind kind = BlipKind::Coord;
  Hash style = 0;  // the style it was made with, then the last SetBlipStyle
  Vector3 position{};
  float radius = 0.0f;
  int32_t entity = 0;  // the entity it follows (Entity and Player blips)
  Hash sprite = 0;
  std::string name;
  std::vector<Hash> modifiers;
  int32_t player = -1;  // the player set by SetBlipPlayer
};

// The fade the game draws over the screen: a fade runs for its duration from the moment it was
// asked for, and a new fade replaces the running one.
struct ScreenFade {
  bool towardsOut = false;
  double startMs = 0.0;
  int32_t durationMs = 0;
};

struct FadeRequest {
  int64_t frame = 0;
  bool out = false;
  int32_t ms = 0;
};

struct BlipWorld {
  // Blip handles live apart from entity handles, so a blip passed as a ped finds nothing.
  int32_t nextHandle = 50001;
  std::map<int32_t, SimBlip> blips;
  int32_t playerBlip = 0;  // the game's own blip of the player, made on first use

  ScreenFade fade;
  std::vector<FadeRequest> fades;  // every fade asked for, in order

  SimBlip* Find(int32_t handle) {
    auto it = blips.find(handle);
    return it == blips.end() ? nullptr : &it->second;
  }
  // The first blip with this name, or null.
  const SimBlip* Named(const std::string& name) const {
    for (const auto& [handle, blip] : blips) {
      if (blip.name == name) return &blip;
    }
    return nullptr;
  }
  const SimBlip* PlayerBlip() const {
    auto it = blips.find(playerBlip);
    return it == blips.end() ? nullptr : &it->second;
  }

  bool FadedOut(double nowMs) const {
    return fade.towardsOut && nowMs >= fade.startMs + fade.durationMs;
  }
  bool FadedIn(double nowMs) const {
    return !fade.towardsOut && nowMs >= fade.startMs + fade.durationMs;
  }
  // 0 when the screen is clear, 1 when it is black; a fade of no length is there at once.
  double FadeDepth(double nowMs) const {
    const double done =
        fade.durationMs <= 0 ? 1.0 : std::clamp((nowMs - fade.startMs) / fade.durationMs, 0.0, 1.0);
    return fade.towardsOut ? done : 1.0 - done;
  }
};

}  // namespace brimvale::sim
