// The player's life and what the free-roam screens change on the game: death and resurrection,
// the game's random numbers, the spawn-point searches, time scale, menu blocks, dead eye and the
// wanted level.
#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "core/native/invoke.h"

namespace brimvale::sim {

struct EffectStart {
  int64_t frame = 0;
  std::string name;
};

struct Teleport {
  int64_t frame = 0;
  Vector3 to{};
};

// The game's random numbers come from one generator seeded with the host's seed. A test or a
// scenario can queue the next results; queued values are handed out first, in order.
struct GameRandom {
  std::mt19937 engine{1};
  std::deque<int32_t> forcedInts;
  std::deque<float> forcedFloats;
};

struct PlayerWorld {
  std::string name = "Ashby Cole";  // what GetPlayerName answers
  int32_t deaths = 0;               // times the player ped was killed
  int32_t resurrections = 0;
  int64_t diedAtFrame = -1;  // the frame of the last death
  bool deathState = false;   // SetPlayerDeathState
  bool deathDisplay = true;  // SetDeathDisplayFlag
  bool protectedPed = false;
  int32_t transitionHolds = 0;  // HoldTransitionFlag calls
  int32_t viewResets = 0;

  // The searches for a place to put the player down. A refusal makes the next call report
  // nothing; the node lies this far from the point asked about, the safe spot on it.
  int32_t nodeRefusals = 0;
  int32_t safeSpotRefusals = 0;
  Vector3 nodeOffset{1.5f, -2.0f, 0.0f};
  std::vector<Vector3> safeSpotQueries;  // each point asked about, in order
  std::vector<Teleport> teleports;       // SetEntityCoords on the player ped

  float timeScale = 1.0f;
  std::vector<float> timeScales;  // every SetTimeScale, in order
  float scalar = 0.0f;            // SetPlayerScalar
  int32_t scalarCalls = 0;
  bool playerMenuBlocked = false;
  bool pedMenuBlocked = false;
  std::vector<EffectStart> screenEffects;

  bool deadEyeEnabled = true;
  bool deadEyeBlocked = false;
  float deadEyeMultiplier = 1.0f;
  int32_t wantedLevel = 0;

  GameRandom random;

  int CountEffects(const std::string& effect) const {
    int n = 0;
    for (const EffectStart& e : screenEffects)
      if (e.name == effect) ++n;
    return n;
  }
};

}  // namespace brimvale::sim
