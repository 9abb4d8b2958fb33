#include "progression/death.h"

#include "character/outfit.h"
#include "core/native/hook.h"
#include "core/native/natives.h"
#include "core/native/waits.h"
#include "progression/progression.h"
#include "progression/skill_tree.h"

namespace brimvale {
namespace {

constexpr float kRespawnDistanceMin = 50.0f;
constexpr float kRespawnDistanceMax = 60.0f;

// The direction of the search point from the place of death, by the quadrant drawn.
struct Quadrant {
  float xSign;
  float ySign;
};
constexpr Quadrant kQuadrants[] = {{1.0f, 1.0f}, {-1.0f, -1.0f}, {1.0f, -1.0f}, {-1.0f, 1.0f}};

void HoldDeathScreen() {
  ScreenFadeIn(0);
  HoldTransitionFlag(1);
}

void HoldDeathScreenWithoutDisplay() {
  HoldDeathScreen();
  SetDeathDisplayFlag(false);
}

void HoldBlack() {
  ScreenFadeOut(0);
}

void ShowDeathScreen() {
  SetDeathFlowOptions(kDeathFlowOnDeathScreen);
  RefreshPlayerState();
  StartScreenEffect("DeathFailMP01");
  SetPlayerDeathState(PlayerIndex(), true);
  SetPlayerControl(PlayerIndex(), false, 0, 0);
  WaitMs(1500, HoldDeathScreen);
  HoldDeathScreenWithoutDisplay();
  WaitMs(500, HoldDeathScreenWithoutDisplay);
  ScreenFadeOut(0);
  WaitMs(4000);
}

void Revive(Ped ped) {
  StopFrontendSound("DEATH_SCREEN_EXIT", "DEATH_FAIL_RESPAWN_SOUNDS");
  PlayFrontendSound("DEATH_SCREEN_EXIT", "DEATH_FAIL_RESPAWN_SOUNDS", 1, 1);
  PreparePedForScene(ped, 1, 1);
  ResurrectPed(ped);
  SetPedProtected(ped, true);
  ApplyOutfit();
  SetDeathFlowOptions(kDeathFlowOnDeathScreen);
}

void PutDown(Ped ped, Vector3 at) {
  SetEntityCoords(ped, at, 0, 0, 0, 1);
}

// A point 50 to 60 units off on each axis in the quadrant drawn; any other draw keeps the place
// of death.
Vector3 SearchPointFrom(Vector3 death) {
  const int32_t quadrant = RandomIntInRange(0, 4);
  if (quadrant < 0 || quadrant > 3) return death;
  const float a = RandomFloat(kRespawnDistanceMin, kRespawnDistanceMax);
  const float b = RandomFloat(kRespawnDistanceMin, kRespawnDistanceMax);
  return {death.x + kQuadrants[quadrant].xSign * a, death.y + kQuadrants[quadrant].ySign * b,
          death.z};
}

// Retried each frame behind the black screen; after the limit, `fallback` is where the player
// goes.
Vector3 FindRespawnSpot(Vector3 from, Vector3 fallback) {
  const int32_t giveUpAt = TimerAfter(GameTimer(), kSafeSpotSearchLimitMs);
  OutVector3 spot{};
  while (!FindSafeSpawnPoint(from, 0, &spot, 0)) {
    if (!TimerBefore(GameTimer(), giveUpAt)) return fallback;
    ScreenFadeOut(0);
    ScriptWait(0);
  }
  return {spot.x, spot.y, spot.z};
}

void MoveToRespawnSpot(Ped ped) {
  const Vector3 death = GetEntityCoords(ped, true, false);
  Vector3 fallback = death;
  OutVector3 node{};
  if (FindNearbyNode(death, &node, 1, 0, 0)) {
    ScreenFadeOut(0);
    fallback = {node.x, node.y, node.z};
    PutDown(ped, fallback);
  }
  PutDown(ped, FindRespawnSpot(SearchPointFrom(death), fallback));
}

void ReturnToPlay(Ped ped) {
  WaitMs(1000, HoldBlack);
  SetPedProtected(ped, false);
  SetPlayerDeathState(PlayerIndex(), false);
  SetPlayerControl(PlayerIndex(), true, 0, 0);
  SetDeathDisplayFlag(true);
  ScriptWait(2000);
  ResetViewState();
  RefreshPlayerState();
  StartScreenEffect("RespawnPulse01");
  ScreenFadeIn(500);
}

}  // namespace

void DeathRespawn() {
  if (!IsPlayerDead(PlayerIndex())) return;
  // The death screen must not play in slow motion under the tree.
  CloseSkillTreeAtOnce();
  ShowDeathScreen();
  const Ped ped = PlayerPed();
  Revive(ped);
  MoveToRespawnSpot(ped);
  ReturnToPlay(ped);
}

}  // namespace brimvale
