// The prologue: the penitentiary escape that opens the campaign.
#pragma once

#include <cstdint>

namespace brimvale {

struct PrologueState {
  int32_t PrologueStage = 0;  // 0 replays the mission from its introduction
};

extern PrologueState Prologue;

// One frame of the prologue; runs while the story progress is 0.
void RunPrologue();
// Keeps the penitentiary's own scripts and guards quiet while the player is near it.
void SuppressPenitentiary();

}  // namespace brimvale
