// The campaign controller: the start point, the one-time application of the character, and the
// dispatch on the story progress to the prologue or the free-roam features.
#pragma once

#include <cstdint>

#include "core/invoke.h"

namespace brimvale {

struct CampaignState {
  bool characterCreated = false;  // loaded from "Create Character" or set by the creator
  bool campaignStarted = false;   // the player accepted the start point in this run
  bool characterApplied = false;  // the look was put on since the last start or reset
  int32_t StoryProgress = 0;      // 0 until the prologue is passed, then 1
  Blip ObjectiveBlip{};           // the start-point blip, later the missions' objective blip
};

extern CampaignState Campaign;

void CampaignStep();
void ApplyWorldState();
void StylePlayerBlip();

}  // namespace brimvale
