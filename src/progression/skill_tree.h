// The skill tree: a full-screen panel where skill points buy health and dead-eye levels.
#pragma once

#include <cstdint>

namespace brimvale {

// The skill tree's screen state (not saved). Its busy flag is Screens.SkillTreeBusy, which the
// interaction menu and the shops read.
// The numbers are the ones traced and tested.
enum SkillTreeStateId : int32_t { kSkillTreeClosed = 0, kSkillTreeOpen = 1 };

struct SkillTreeScreenState {
  SkillTreeStateId SkillTreeState = kSkillTreeClosed;
  int32_t SkillTreeAlpha = 0;
  int32_t SkillTreeRow = 0;     // 0 HEALTH, 1 DEADEYE
  int32_t SkillTreeColumn = 0;  // level index in the row
};

extern SkillTreeScreenState SkillTree;

// The skill tree: opening, the open screen with selection and purchase, closing.
void UpdateSkillTree();
// Puts an open tree away without its fade: normal time scale, the tree closed and no longer
// busy. For a death, whose screen must not run in slow motion under the tree.
void CloseSkillTreeAtOnce();

}  // namespace brimvale
