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

using StoryStep = void (*)();
inline constexpr int kFreeRoamStepCount = 4;

// What the running campaign runs each frame after the frame loop's own steps: the prologue while
// the story is at 0, then free roam, in the order of this list and nowhere else. A fresh load
// points them at the real steps; the frame loop's tests put steps of their own in their places.
struct StorySteps {
  StoryStep prologue = RunPrologue;
  StoryStep freeRoam[kFreeRoamStepCount] = {RunTrainRobbery, UpdateWardrobe, UpdateRankHud,
                                            RunInteractionMenu};
};

extern StorySteps Story;

// Puts `with` in the place of `step` in the story's steps, so a test sees where it runs.
inline void ReplaceStoryStep(StoryStep step, StoryStep with) {
  if (Story.prologue == step) Story.prologue = with;
  for (StoryStep& each : Story.freeRoam) {
    if (each == step) each = with;
  }
}

// Reads the story progress, then section "Rank", into their owners' state, once per start.
void LoadProgress();
void CampaignStep();
void ApplyWorldState();
void StylePlayerBlip();

}  // namespace brimvale
