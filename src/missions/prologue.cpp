// The prologue's stage machine and its first half: the introduction and the escape from the
// penitentiary (stages 0 to 7). The hideout half is in prologue_hideout.cpp.
#include "missions/prologue.h"

#include "character/appearance.h"
#include "character/character_record.h"
#include "core/native/natives.h"
#include "missions/prologue_stages.h"
#include "missions/toolkit.h"
#include "ui/screens.h"
#include "ui/toolkit.h"

namespace brimvale {

PrologueState Prologue;

namespace {

PrologueState& P = Prologue;

constexpr Vector3 kPenitentiaryCentre{3267.54f, -625.4f, 41.51f};
constexpr float kPenitentiaryRadius = 350.0f;
constexpr const char* kPenitentiaryScripts[] = {"sisikapenitentiary", "region_law_patrol_creator"};

constexpr Vector3 kPlayerStart{3398.144f, -706.841f, 44.258f};
constexpr float kPlayerStartHeading = 228.489f;
constexpr CameraPlace kIntroCamA{{3366.068f, -609.831f, 55.76f}, {-13.0f, 0.0f, 156.746f}, 30.0f};
constexpr CameraPlace kIntroCamB{{3362.416f, -619.208f, 52.747f}, {-15.0f, 0.0f, 156.746f}, 30.0f};

constexpr const char* kGuardModel = "S_M_M_SKPGUARD_01";
constexpr const char* kLobbyDict = "mp_lobby@standard@standing@mp_male_b@base";
constexpr Vector3 kFirstGuardAt{3400.893f, -783.875f, 41.785f};
constexpr float kFirstGuardHeading = 147.075f;

constexpr Vector3 kDocks{3291.48f, -710.52f, 43.476f};
constexpr float kDocksReach = 30.0f;
constexpr Hash kPointBlipStyle = 0xED9B5A10;
constexpr Hash kDocksSprite = 0x79332DAE;

struct GuardPlace {
  Vector3 spawn;
  float spawnHeading;
  Vector3 post;
  float postHeading;
};
constexpr GuardPlace kRouteGuards[kRouteGuardCount] = {
    {{3361.377f, -740.339f, 43.706f}, 83.291f, {3323.355f, -708.669f, 43.33f}, 88.32f},
    {{3287.462f, -713.789f, 42.313f}, 196.789f, {3287.462f, -713.789f, 42.313f}, 196.789f},
    {{3265.843f, -716.122f, 41.032f}, 100.368f, {3265.843f, -716.122f, 41.032f}, 100.368f},
};

constexpr Vector3 kRowboatAt{3266.173f, -714.062f, 40.572f};
constexpr float kRowboatHeading = 94.9f;

constexpr int32_t kBeingPutDown = 6;

// The penitentiary's scripts and the law are kept quiet during the waits of the escape.
void ViewBehindHoldAndSuppress() {
  KeepViewBehindPlayer();
  HoldCutSceneFrameAndSuppress();
}

void ResetPlayerForPrologue(Ped ped, Player player) {
  for (int32_t core = 0; core < 3; ++core)
    SetAttributeCoreValue(ped, core, 100);
  SetDeadEyeLevel(player, 0);
  for (int32_t slot = 1; slot <= 5; ++slot)
    SetDeadEyeAbilityLocked(player, slot, 1);
  SetPedMaxHealth(ped, 200);
  RemovePlayerMoney(GetPlayerMoney());
  SetPedHighRankFlag(ped, 0);
  RemovePedWeapons(ped, 1, 1);
  SetPedCarryFlag(ped, kCarryFlagPlayerReset, 1);
}

void ApplyPrisonLook() {
  ApplyMissionLook(
      Character.Gender == 1 ? "mp_uppertorso_fr1_001_o_b" : "mp_uppertorso_mr1_001_o_b", nullptr);
}

// The introduction: one blocking pass from the mission card to the prisoner standing in the yard.
void RunIntroduction(Ped ped, Player player) {
  SetMissionAudioFlags(true);
  TriggerMusicUntilAccepted("TRN4_START_CS");
  TriggerMusicEvent("MC_MUSIC_STOP");
  PrepareMusicEvent("SAD5_RESTART_3");
  TriggerMusicEvent("SAD5_RESTART_3");

  ScreenFadeOut(1000);
  ScriptWait(1500);
  RequestTransitionScene("MISSION_TRANSITION_CLOUDS_SCENE");
  ShowMissionCard("Brimvale", "Introduction", "Break out of the Siska Penetentary.");
  ScriptWait(5000);

  SetSceneOption(kSceneModePrologue, 0, 0);
  SetMissionUiMode(kMissionUiModeMission, 0);
  ResetPlayerForMission(player);
  SetSceneDisplayFlag(true);
  ApplyRegionByName("SISIKA");
  SetPlayerControlOn(false);

  ResetPlayerForPrologue(ped, player);
  ApplyPrisonLook();
  CreateMissionGroups();

  P.PenitentiaryCleanup = true;
  TeleportPlayer(player, kPlayerStart, kPlayerStartHeading, 0, 0, 0, 0);
  ScriptWait(1000);
  SettlePlayerTeleport();
  SetPedStartOption(ped, kStartOptionOn, 0, kStartOptionLastPrologue);

  WaitMs(5000, HoldCutSceneFrameAndSuppress);
  ReleaseTransition();
  SetRadarFlag(1);
  SetWorldDisplayFlag(false);
  ResetViewState();
  P.PrologueStage = kPrologueOpeningCut;
}

void AimCamera(Cam cam, Ped ped, Vector3 attach, Vector3 look) {
  AttachCameraToEntity(cam, ped, attach, 1);
  PointCameraAtEntity(cam, ped, look, 1);
}

void SpawnFirstGuard() {
  LoadAnimDict(kLobbyDict);
  const Hash model = HashName(kGuardModel);
  RequestModelAndWaitUnchecked(model);
  P.FirstGuard = SpawnPedAndWait(model, kFirstGuardAt, kFirstGuardHeading, 1, 1, 1, 1);
  SetUpHostilePed(P.FirstGuard, true);
  MakeGroupsHostile();
  PlayPedAnim(P.FirstGuard, kLobbyDict, "base", 1000.0f, 8.0f, -1, 1, 0.0f, 0, 0, 0, 0, 0);
  ReleaseModel(model);
  TriggerMusicEvent("GNG3_HOSTAGE");
}

// The opening cut: the flight down to the prisoner, then the first guard appears.
void RunOpeningCut(Ped ped, Player player) {
  while (IsTransitionActive()) {
    SuppressPenitentiary();
    ScriptWait(0);
  }
  BeginCutScene(kIntroCamA, kIntroCamB, 12000);
  ScreenFadeIn(500);
  WaitMs(500, HoldCutSceneFrameAndSuppress);
  ShowBanner("Brimvale");
  WaitMs(8000, HoldCutSceneFrameAndSuppress);

  AimCamera(CutScene.IntroCamA, ped, {1.0f, 1.5f, -0.5f}, {});
  AimCamera(CutScene.IntroCamB, ped, {1.0f, 2.0f, -1.0f}, {});
  BlendCutCameras(6000, 6000, 6000);
  ForcePedMotionState(ped, HashName("MotionState_Crouch_Walk"), 0, 1, 1);
  AlignPlayerHeading(player, 1.0f, 12000, GetEntityHeading(ped), 0, 0);
  WaitMs(5000, HoldCutSceneFrameAndSuppress);

  AimCamera(CutScene.IntroCamA, ped, {0.0f, -5.0f, 0.6f}, {0.0f, 0.0f, -0.1f});
  AimCamera(CutScene.IntroCamB, ped, {0.0f, -3.0f, 0.6f}, {0.0f, 0.0f, -0.1f});
  BlendCutCameras(6000, 6000, 6000);
  WaitMs(3000, ViewBehindHoldAndSuppress);

  SpawnFirstGuard();
  SetPlayerControlOn(true);
  EndCutScene(true);
  SetWorldDisplayFlag(true);
  P.PrologueStage = kPrologueTakeOutGuard;
}

// A failed attempt hands its guards and its boat back to the game and takes their blips away
// before the replay makes new ones.
void FailSpottedBy(Ped guard, Ped* watched, int32_t count) {
  MissionFailedRestart(guard, watched, count, &Campaign.ObjectiveBlip);
  if (P.Rowboat) {
    Blip boatBlip = GetBlipFromEntity(P.Rowboat);
    RemoveBlipIfExists(boatBlip);
    ReleaseEntityHandle(P.Rowboat);
  }
}

// True when a route guard spotted the player and the attempt failed.
bool RouteGuardSpotted() {
  const int32_t spotter = FirstSpotter(P.RouteGuards, kRouteGuardCount);
  if (spotter < 0) return false;
  FailSpottedBy(P.RouteGuards[spotter], P.RouteGuards, kRouteGuardCount);
  return true;
}

void RunTakeOutGuard() {
  ShowObjective("Take out the ~s~~e~Guard.~s~");
  if (SpottedCheck(P.FirstGuard)) {
    FailSpottedBy(P.FirstGuard, &P.FirstGuard, 1);
    return;
  }
  if (IsPedDown(P.FirstGuard)) P.PrologueStage = kPrologueLootGuard;
}

void RunLootGuard() {
  ShowObjective("Loot the ~s~~o~Guard.~s~");
  if (!HasPedBeenLooted(P.FirstGuard)) return;
  GiveWeaponReward(HashName("WEAPON_MELEE_KNIFE"), 1, 0, 1, 4, 1, "Knife Unlocked",
                   "weapon_melee_knife");
  P.PrologueStage = kPrologueDisposeOfGuard;
}

void SpawnRouteGuards() {
  const Hash model = HashName(kGuardModel);
  RequestModelAndWaitUnchecked(model);
  for (int32_t i = 0; i < kRouteGuardCount; ++i) {
    const GuardPlace& place = kRouteGuards[i];
    Ped& guard = P.RouteGuards[i];
    guard = SpawnPedAndWait(model, place.spawn, place.spawnHeading, 1, 1, 1, 1);
    SetUpHostilePed(guard, true);
    GiveMissionWeapon(guard, HashName("WEAPON_REPEATER_CARBINE"), 10000, 1, 0, 0, 1);
    TaskGuardPosition(guard, place.post, place.postHeading, "DEFEND");
  }
  ReleaseModel(model);
}

void RunDisposeOfGuard() {
  const int32_t carry = GetCarryState(P.FirstGuard);
  if (carry == kCarried) {
    ShowObjective("Dispose of the ~s~~e~Guard~s~ in the ~s~~o~Water.~s~");
  } else if (carry != kBeingPutDown) {
    ShowObjective("Pick up the ~s~~o~Guard.~s~");
  }
  if (!IsEntityInWater(P.FirstGuard) || carry == kCarried) return;

  ReleaseEntityHandle(P.FirstGuard);
  SetObjectiveBlip([] { return CreateNamedBlip(kPointBlipStyle, kDocks, kDocksSprite, "Docks"); });
  SpawnRouteGuards();
  ShowHelpText("Make your way to the docks, but avoid all of the guards on the way there.", 4000);
  P.PrologueStage = kPrologueGoToDocks;
}

void RunGoToDocks() {
  const Vector3 player = PlayerPosition();
  ShowObjective("Go to the ~s~~o~Docks.~s~");
  if (RouteGuardSpotted()) return;
  if (DistanceBetween(player, GetBlipCoords(Campaign.ObjectiveBlip)) >= kDocksReach) return;

  // The first guard was handed back to the game in the last stage; its number may be another
  // entity's by now, so nothing is deleted through it.
  DeleteIfExists(P.FirstGuard);
  RemoveObjectiveBlip();
  RequestModelAndWait("rowboat");
  P.Rowboat = SpawnVehicleAndWait(HashName("rowboat"), kRowboatAt, kRowboatHeading);
  AddBlipForEntity(HashName("BLIP_STYLE_OBJECTIVE"), P.Rowboat);
  ReleaseModel(HashName("rowboat"));
  P.PrologueStage = kPrologueEnterBoat;
}

void RunEnterBoat(Ped ped) {
  ShowObjective("Enter the ~s~~o~Boat.~s~");
  if (RouteGuardSpotted()) return;
  if (!IsPedInVehicle(ped, P.Rowboat, 0)) return;
  Blip boatBlip = GetBlipFromEntity(P.Rowboat);
  RemoveBlipIfExists(boatBlip);
  P.PrologueStage = kPrologueEscape;
}

void RunEscape() {
  const Vector3 player = PlayerPosition();
  // "Penetetary" on purpose: the line as the game shows it, not to be corrected.
  ShowObjective("Escape the ~s~~o~Siska Penetetary.~s~");
  if (RouteGuardSpotted()) return;
  if (DistanceBetween(player, kPenitentiaryCentre) <= kPenitentiaryRadius) return;
  PrepareMusicEvent("REWPB_ATTACKED");
  for (Ped& guard : P.RouteGuards)
    DeleteIfExists(guard);
  DeleteVehicle(&P.Rowboat);
  P.Rowboat = {};
  P.PrologueStage = kPrologueTitleCardAndHideout;
}

}  // namespace

Vector3 PlayerPosition() {
  return GetEntityCoords(PlayerPed(), true, true);
}

void SuppressPenitentiary() {
  EndGameScripts(kPenitentiaryScripts, 2);
  ResetPlayerLawState(PlayerIndex());
  ResetLawResponse();
  SetPenitentiaryLawOptionFirst(kLawSettingOff);
  SetPenitentiaryLawOptionSecond(kLawSettingOff);
  SetPenitentiaryLawOptionThird(kLawSettingOff);
  ClearAreaAround(kPenitentiaryCentre, kPenitentiaryRadius);
}

void RunPrologue() {
  if (P.PenitentiaryCleanup) SuppressPenitentiary();
  const Ped ped = PlayerPed();
  const Player player = PlayerIndex();
  switch (P.PrologueStage) {
    case kPrologueIntroduction:
      RunIntroduction(ped, player);
      break;
    case kPrologueOpeningCut:
      RunOpeningCut(ped, player);
      break;
    case kPrologueTakeOutGuard:
      RunTakeOutGuard();
      break;
    case kPrologueLootGuard:
      RunLootGuard();
      break;
    case kPrologueDisposeOfGuard:
      RunDisposeOfGuard();
      break;
    case kPrologueGoToDocks:
      RunGoToDocks();
      break;
    case kPrologueEnterBoat:
      RunEnterBoat(ped);
      break;
    case kPrologueEscape:
      RunEscape();
      break;
    case kPrologueTitleCardAndHideout:
      RunTitleCardAndHideout();
      break;
    case kPrologueAfterGunslingerScene:
      RunAfterGunslingerScene();
      break;
    case kPrologueGoToHideout:
      RunGoToHideout();
      break;
    case kPrologueSearchHideout:
      RunSearchHideout();
      break;
    case kPrologueSpawnGang:
      RunSpawnGang();
      break;
    case kPrologueEliminateGang:
      RunEliminateGang();
      break;
    case kPrologueDeliverLeader:
      RunDeliverLeader();
      break;
    case kPrologueFreeRoamHandOver:
      RunFreeRoamHandOver();
      break;
    default:
      break;  // past the end: nothing to do
  }
}

}  // namespace brimvale
