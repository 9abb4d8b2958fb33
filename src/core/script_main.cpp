#include "core/script_main.h"

#include "character/creator.h"
#include "core/campaign.h"
#include "core/native/natives.h"
#include "menu/interaction_menu.h"
#include "progression/death.h"
#include "progression/progression.h"
#include "wardrobe/wardrobe.h"

namespace brimvale {
namespace {

void ApplyDeadEyeMultipliers() {
  for (int level = 0; level < kDeadEyeLevels; ++level) {
    if (Progression.DeadEyeLevel[level]) {
      SetDeadEyeMultiplier(PlayerIndex(), kDeadEyeMultipliers[level]);
    }
  }
}

// The death sequence takes the screen over: an open menu or shop lets go of it first.
void LeaveScreensOnDeath() {
  if (!IsPlayerDead(PlayerIndex())) return;
  CloseInteractionMenuOnDeath();
  CancelWardrobeOnDeath();
}

}  // namespace

// The whole frame in order; the story's part, prologue or free roam, is the list of Story's steps
// that CampaignStep runs (core/campaign.h).
void RunFrame() {
  RunCharacterCreator();
  LeaveScreensOnDeath();
  DeathRespawn();
  ApplyDeadEyeMultipliers();
  CampaignStep();
}

void ScriptMain() {
  for (;;) {
    RunFrame();
    ScriptWait(0);
  }
}

}  // namespace brimvale
