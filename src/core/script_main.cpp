#include "core/script_main.h"

#include "character/creator.h"
#include "core/campaign.h"
#include "core/natives.h"
#include "progression/death.h"
#include "progression/progression.h"

namespace brimvale {
namespace {

constexpr float kDeadEyeMultiplier[kDeadEyeLevels] = {3.0f, 5.0f, 10.0f, 20.0f, 30.0f};

void ApplyDeadEyeMultipliers() {
  for (int level = 0; level < kDeadEyeLevels; ++level) {
    if (Progression.DeadEyeLevel[level]) {
      SetDeadEyeMultiplier(PlayerIndex(), kDeadEyeMultiplier[level]);
    }
  }
}

}  // namespace

void RunFrame() {
  RunCharacterCreator();
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
