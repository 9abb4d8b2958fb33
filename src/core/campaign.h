// The campaign controller: the start point, the one-time application of the character, and the
// dispatch on the story progress to the prologue or the free-roam features.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"
#include "menu/interaction_menu.h"
#include "missions/prologue.h"
#include "missions/train_robbery.h"
#include "progression/progression.h"
#include "progression/rank_hud.h"
#include "ui/screens.h"
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

extern StorySteps Story;

// Reads the story progress, then section "Rank", into their owners' state, once per start.
void LoadProgress();
void CampaignStep();
void ApplyWorldState();
void StylePlayerBlip();

}  // namespace brimvale
