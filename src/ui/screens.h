// What the campaign's screens and missions know of each other, kept here so that none of them
// includes another for it: the campaign's story record, which the creator and the missions
// advance, and each screen's busy flag, which keeps two screens from sharing the display. Every
// screen owns its own flag; the others only read it.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

struct CampaignState {
  bool characterCreated = false;  // loaded from "Create Character" or set by the creator
  bool campaignStarted = false;   // the player accepted the start point in this run
  bool characterApplied = false;  // the look was put on since the last start or reset
  int32_t StoryProgress = 0;      // 0 until the prologue is passed, then 1
  Blip ObjectiveBlip{};           // the start-point blip, later the missions' objective blip
};

extern CampaignState Campaign;

struct ScreenFlags {
  // From the moment the skill tree starts opening until it has closed; the menu stays shut.
  bool SkillTreeBusy = false;
  // While the interaction menu is shown; the skill tree and the shops keep out.
  bool InteractionMenuOpen = false;
  // From the robbery's start prompt until its wrap-up.
  bool TrainRobberyActive = false;
  // From entering a wardrobe until leaving it; the menu and the skill tree keep out.
  bool WardrobeVisit = false;
};

extern ScreenFlags Screens;

}  // namespace brimvale
