#include "progression/progression.h"

#include "core/natives.h"
#include "save/store.h"

namespace brimvale {

ProgressionState Progression;
SkillTreeScreenState SkillTree;

void AddXP(int32_t amount) {
  Progression.XP += amount;
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
