#include "progression/progression.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/natives.h"
#include "save/store.h"

namespace brimvale {

ProgressionState Progression;
SkillTreeScreenState SkillTree;

// A hand-edited total near the limit stays at the limit instead of wrapping to a negative one.
void AddXP(int32_t amount) {
  const int64_t total = int64_t{Progression.XP} + amount;
  Progression.XP = static_cast<int32_t>(std::clamp<int64_t>(
      total, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  WriteInt("Rank", "XP", Progression.XP);
}

// Experience, ranks and the skill tree arrive with the progression work; until then a started
// campaign shows no rank panel and buys no skills.
void ApplySkillEffects() {}

void CloseSkillTreeAtOnce() {
  if (SkillTree.SkillTreeState == 0 && !SkillTree.SkillTreeBusy) return;
  SetTimeScale(1.0f);
  RefreshPlayerState();
  SkillTree = {};
}
void UpdateRankHud() {}

}  // namespace brimvale
