// Experience, rank, skill points and the bought skill levels, with their save keys.
#pragma once

#include <cstdint>

namespace brimvale {

inline constexpr int kHealthLevels = 4;
inline constexpr int kDeadEyeLevels = 5;

// The dead-eye multiplier of each bought level, re-issued every frame by the frame loop.
inline constexpr float kDeadEyeMultipliers[kDeadEyeLevels] = {3.0f, 5.0f, 10.0f, 20.0f, 30.0f};

struct ProgressionState {
  int32_t Rank = 0;
  int32_t XP = 0;
  int32_t XPToRank = 0;
  int32_t SkillPoints = 0;
  bool HealthLevel[kHealthLevels] = {};    // "Health Lvl 1" .. "Health Lvl 4"
  bool DeadEyeLevel[kDeadEyeLevels] = {};  // "Deadeye Lvl 1" .. "Deadeye Lvl 5"
  int32_t MaxHealth = 200;                 // derived by ApplySkillEffects, not saved
};

extern ProgressionState Progression;

// Reads section "Rank" into the record; a missing key reads 0, or not bought.
void LoadProgressionRecord();

// Adds experience and writes the new total; the rank-up follows on the next rank display step.
// The total saturates instead of overflowing.
void AddXP(int32_t amount);

// a + b held within the 32-bit range, for values a hand-edited save may push to the edge.
int32_t SaturatingAdd(int32_t a, int32_t b);

// Pushes the bought health and dead-eye levels onto the player.
void ApplySkillEffects();

// An alpha as a draw call takes it: 0..255.
int32_t DrawAlpha(int32_t alpha);

}  // namespace brimvale
