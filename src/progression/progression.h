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

// The skill tree's screen state (not saved). SkillTreeBusy holds from the moment the tree starts
// opening until it has closed; the interaction menu does not open while it is set.
struct SkillTreeScreenState {
  int32_t SkillTreeState = 0;  // 0 closed, 1 open
  int32_t SkillTreeAlpha = 0;
  int32_t SkillTreeRow = 0;     // 0 HEALTH, 1 DEADEYE
  int32_t SkillTreeColumn = 0;  // level index in the row
  bool SkillTreeBusy = false;
};

extern SkillTreeScreenState SkillTree;

// Adds experience and writes the new total; the rank-up follows on the next rank display step.
void AddXP(int32_t amount);

// Puts an open or opening tree away without its fade: normal time scale, the tree closed and no
// longer busy. For a death, whose screen must not run in slow motion under the tree.
void CloseSkillTreeAtOnce();

// Pushes the bought health and dead-eye levels onto the player.
void ApplySkillEffects();
// The rank display of free roam (it also runs the skill tree).
void UpdateRankHud();

}  // namespace brimvale
