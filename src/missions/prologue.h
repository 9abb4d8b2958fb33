// The prologue: the penitentiary escape, the hideout and the gang hideout that open the campaign.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

inline constexpr int32_t kRouteGuardCount = 3;
inline constexpr int32_t kGangMemberCount = 4;

// The prologue's stages in the order they run; the numbers are the ones traced and tested.
enum PrologueStageId : int32_t {
  kPrologueIntroduction = 0,  // also where a failure restarts the mission
  kPrologueOpeningCut = 1,
  kPrologueTakeOutGuard = 2,
  kPrologueLootGuard = 3,
  kPrologueDisposeOfGuard = 4,
  kPrologueGoToDocks = 5,
  kPrologueEnterBoat = 6,
  kPrologueEscape = 7,
  kPrologueTitleCardAndHideout = 8,
  kPrologueAfterGunslingerScene = 9,
  kPrologueGoToHideout = 10,
  kPrologueSearchHideout = 11,
  kPrologueSpawnGang = 12,
  kPrologueEliminateGang = 13,
  kPrologueDeliverLeader = 14,
  kPrologueFreeRoamHandOver = 15,  // any later value does nothing
};

struct PrologueState {
  PrologueStageId PrologueStage = kPrologueIntroduction;
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
