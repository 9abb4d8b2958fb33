// The prologue: the penitentiary escape, the hideout and the gang hideout that open the campaign.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

inline constexpr int32_t kRouteGuardCount = 3;
inline constexpr int32_t kGangMemberCount = 4;

struct PrologueState {
  int32_t PrologueStage = 0;  // 0 replays the mission from its introduction; above 15 does nothing
  bool PenitentiaryCleanup = false;
  Ped FirstGuard{};
  Ped RouteGuards[kRouteGuardCount]{};
  Vehicle Rowboat{};
  Ped Gunslinger{};
  AnimScene FlacoScene{};
  Object ChestTable{};
  Object PistolChest{};
  Ped GangMembers[kGangMemberCount]{};  // in table order, the leader first
  Blip LeaderBlip{};
  bool LeaderKilledShown = false;
};

extern PrologueState Prologue;

// One frame of the prologue; runs while the story progress is 0.
void RunPrologue();
// Keeps the penitentiary's own scripts and the law quiet while the player is near it.
void SuppressPenitentiary();

}  // namespace brimvale
