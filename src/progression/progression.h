// Experience, rank, skill points and the bought skill levels.
#pragma once

#include <cstdint>

namespace brimvale {

inline constexpr int kHealthLevels = 4;
inline constexpr int kDeadEyeLevels = 5;

struct ProgressionState {
  int32_t Rank = 0;
  int32_t XP = 0;
  int32_t XPToRank = 0;
  int32_t SkillPoints = 0;
  bool HealthLevel[kHealthLevels] = {};    // "Health Lvl 1" .. "Health Lvl 4"
  bool DeadEyeLevel[kDeadEyeLevels] = {};  // "Deadeye Lvl 1" .. "Deadeye Lvl 5"
};

extern ProgressionState Progression;

// Pushes the bought health and dead-eye levels onto the player.
void ApplySkillEffects();
// The rank display of free roam (it also runs the skill tree).
void UpdateRankHud();

}  // namespace brimvale
