// Experience, rank, skill points and the bought skill levels; the rank panel and the skill tree.
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

// The rank panel at the top left (not saved). The alpha counter may pass 255 by design; every
// draw call gets it clamped.
struct RankHudState {
  int32_t RankHudAlpha = 0;
  int32_t RankHudShowUntil = 0;  // game-timer ms; 0 while the panel is not being shown
};

extern RankHudState RankHud;

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
// The total saturates instead of overflowing.
void AddXP(int32_t amount);

// a + b held within the 32-bit range, for values a hand-edited save may push to the edge.
int32_t SaturatingAdd(int32_t a, int32_t b);

// Pushes the bought health and dead-eye levels onto the player.
void ApplySkillEffects();
// The rank display of free roam: panel, rank-up, player scalar, then the skill tree.
void UpdateRankHud();
// The skill tree: opening, the open screen with selection and purchase, closing.
void UpdateSkillTree();
// Puts an open tree away without its fade: normal time scale, the tree closed and no longer
// busy. For a death, whose screen must not run in slow motion under the tree.
void CloseSkillTreeAtOnce();

// The panel's band, badge, rank and experience (and the player's name when asked), at `alpha`.
void DrawRankPanel(int32_t alpha, bool withName);
// An alpha as a draw call takes it: 0..255.
int32_t DrawAlpha(int32_t alpha);

}  // namespace brimvale
