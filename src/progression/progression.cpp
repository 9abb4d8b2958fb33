#include "progression/progression.h"

namespace brimvale {

ProgressionState Progression;

// Experience, ranks and the skill tree arrive with the progression work; until then a started
// campaign shows no rank panel and buys no skills.
void ApplySkillEffects() {}
void UpdateRankHud() {}

}  // namespace brimvale
