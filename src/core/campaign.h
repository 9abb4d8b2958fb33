// The campaign controller: the start point, the one-time application of the character, and the
// dispatch on the story progress to the prologue or the free-roam features.
#pragma once

#include <cstdint>

#include "core/invoke.h"
#include "menu/interaction_menu.h"
#include "missions/prologue.h"
#include "missions/train_robbery.h"
#include "progression/progression.h"
#include "wardrobe/wardrobe.h"

namespace brimvale {

inline constexpr Vector3 kStartPoint{2902.8865f, -247.84346f, 40.97011f};
inline constexpr float kStartPointRadius = 3.0f;  // the prompt needs a distance below this
inline constexpr Hash kStartPointSprite = 0x3B0C645A;
inline constexpr const char* kStartPrompt =
    "Press ~INPUT_CARRIABLE_SUICIDE~ to Continue~n~ Your Brimvale.";

// The story steps the running campaign dispatches to, in the order a free-roam frame runs them.
// A fresh load points them at the real steps; the frame loop's tests swap them to see which ran.
struct StorySteps {
  void (*prologue)() = RunPrologue;
  void (*trainRobbery)() = RunTrainRobbery;
  void (*wardrobe)() = UpdateWardrobe;
  void (*rankHud)() = UpdateRankHud;
  void (*interactionMenu)() = RunInteractionMenu;
};

struct CampaignState {
  bool characterCreated = false;  // loaded from "Create Character" or set by the creator
  bool campaignStarted = false;   // the player accepted the start point in this run
  bool characterApplied = false;  // the look was put on since the last start or reset
  int32_t StoryProgress = 0;      // 0 until the prologue is passed, then 1
  Blip ObjectiveBlip{};           // the start-point blip, later the missions' objective blip
  StorySteps storySteps;
};

extern CampaignState Campaign;

void CampaignStep();
void ApplyWorldState();
void StylePlayerBlip();

// The game's walk-style name of a stored "Walking Style": a key word of the interaction menu
// becomes "MP_STYLE_" + key word, any other value is the name itself.
void GameWalkStyleName(const char* stored, char (&out)[256]);

}  // namespace brimvale
