// The prologue's second half: the title card, the hideout and the gunslinger scene, the chest and
// the revolver, the gang hideout, the delivery of the leader's body and the hand-over to free
// roam (stages 8 to 15).
#include <cstdio>

#include "character/appearance.h"
#include "character/character_record.h"
#include "core/native/natives.h"
#include "missions/prologue.h"
#include "missions/prologue_stages.h"
#include "missions/toolkit.h"
#include "save/store.h"
#include "ui/screens.h"
#include "ui/toolkit.h"

namespace brimvale {
namespace {

PrologueState& P = Prologue;

constexpr Hash kPointBlipStyle = 0xED9B5A10;
constexpr Hash kProgressSavedEvent = 0xF4AE69EC;

constexpr Vector3 kTitleCamAt{3329.693f, -850.24f, 85.833f};
constexpr CameraPlace kTitleCamA{kTitleCamAt, {-13.0f, 0.0f, -13.299f}, 40.0f};
constexpr CameraPlace kTitleCamB{kTitleCamAt, {-15.0f, 0.0f, 32.773f}, 40.0f};

constexpr const char* kGunslingerModel = "cs_famousgunslinger_02";
constexpr Vector3 kGunslingerAt{3361.377f, -740.339f, 43.706f};
constexpr float kGunslingerHeading = 83.291f;
constexpr Vector3 kHorseAtHideout{-972.354f, 2187.22f, 339.63f};
constexpr float kHorseAtHideoutHeading = 34.381f;
constexpr Vector3 kHideoutArrival{-965.697f, 2177.398f, 339.853f};
constexpr float kHideoutArrivalHeading = 262.258f;
constexpr Vector3 kHideoutWalkTo{-951.943f, 2174.756f, 340.62f};
constexpr Vector3 kHideoutCamA{-987.645f, 2207.044f, 347.143f};
constexpr Vector3 kHideoutCamB{-980.777f, 2203.303f, 346.662f};
constexpr Vector3 kHideoutCamRotation{-5.0f, 0.0f, 221.623f};
constexpr Vector3 kPlayerAfterScene{-963.389f, 2180.817f, 339.959f};
constexpr float kPlayerAfterSceneHeading = 45.237f;

constexpr Vector3 kGangHideout{-2107.176f, 1842.135f, 255.475f};
constexpr float kGangHideoutReach = 50.0f;
constexpr Vector3 kGangHideoutRadiusAt{-2109.838f, 1843.945f, 255.475f};
constexpr float kGangHideoutRadius = 15.0f;

constexpr const char* kChestModel = "s_lootablepistolchest";
constexpr const char* kTableModel = "p_cratetablemil01x";
constexpr const char* kChestDict = "mech_pickup@loot@pistol_chest@table@revolver";
constexpr Vector3 kTableAt{-2107.65f, 1844.03f, 254.46f};
constexpr float kTableHeading = -132.0f;
constexpr Vector3 kChestAt{-2107.76f, 1843.37f, 255.26f};
constexpr float kChestHeading = 48.0f;
constexpr Vector3 kChestApproach{-2107.341f, 1842.992f, 255.448f};
constexpr float kChestReach = 1.0f;
constexpr const char* kSearchControl = "INPUT_MELEE_GRAPPLE_CHOKE";

constexpr const char* kGangModel = "G_M_M_UNIMOUNTAINMEN_01";
struct Place {
  Vector3 at;
  float heading;
};
// In table order: the leader first.
constexpr Place kGangMembers[kGangMemberCount] = {
    {{-2068.06f, 1825.15f, 246.267f}, 65.656f},
    {{-2041.458f, 1816.838f, 242.34f}, 70.18f},
    {{-2053.069f, 1810.656f, 243.934f}, 58.788f},
    {{-2074.745f, 1801.994f, 246.776f}, 33.829f},
};

constexpr Vector3 kFlacoPoint{-947.756f, 2181.417f, 341.718f};
constexpr float kFlacoRadius = 5.0f;
constexpr CameraPlace kPassedCamA{{-967.777f, 2179.483f, 341.352f}, {0.0f, 0.0f, 265.822f}, 30.0f};
constexpr CameraPlace kPassedCamB{{-967.777f, 2181.483f, 341.352f}, {0.0f, 0.0f, 265.822f}, 30.0f};
constexpr Vector3 kPlayerWalksOffTo{-977.436f, 2175.049f, 339.551f};

constexpr Vector3 kHorseBeforeFreeRoam{-305.047f, 788.532f, 117.74f};
constexpr Vector3 kPlayerBeforeFreeRoam{-307.424f, 777.583f, 117.703f};
constexpr Vector3 kFreeRoamArrival{-189.962f, 616.761f, 112.08f};
constexpr float kFreeRoamArrivalHeading = 48.037f;
constexpr float kFreeRoamClearRadius = 100.0f;

// The starter clothes, male then female, in the order they are put on.
constexpr const char* kStarterClothing[2][20] = {
    {"CLOTHING_ITEM_M_HAT_000_TINT_000",      "CLOTHING_ITEM_M_COAT_000_TINT_000",
     "CLOTHING_ITEM_M_SHIRT_001_TINT_001",    "CLOTHING_ITEM_M_VEST_000_TINT_000",
     "CLOTHING_ITEM_M_PANTS_000_TINT_000",    "CLOTHING_ITEM_M_BOOTS_001_TINT_001",
     "CLOTHING_ITEM_M_GLOVES_000_TINT_000",   "CLOTHING_ITEM_M_NECKTIE_000_TINT_000",
     "CLOTHING_ITEM_M_GUNBELT_001_TINT_001",  "CLOTHING_ITEM_M_SPURS_000_TINT_000",
     "CLOTHING_ITEM_M_CHAPS_000_TINT_000",    "CLOTHING_ITEM_M_CLOSECOAT_000_TINT_000",
     "CLOTHING_ITEM_M_EYEWEAR_000_TINT_000",  "CLOTHING_ITEM_M_BANDOLIER_000_TINT_000",
     "CLOTHING_ITEM_M_MASK_000_VAR_000",      "CLOTHING_ITEM_M_NECKERCHIEF_000_TINT_000",
     "CLOTHING_ITEM_M_NECKWEAR_000_TINT_000", "CLOTHING_ITEM_M_OVERALLS_000_TINT_000",
     "CLOTHING_ITEM_M_PONCHO_000_TINT_000",   "CLOTHING_ITEM_M_SUSPENDERS_000_TINT_000"},
    {"CLOTHING_ITEM_F_HAT_000_TINT_000",      "CLOTHING_ITEM_F_COAT_000_TINT_000",
     "CLOTHING_ITEM_F_SHIRT_002_TINT_001",    "CLOTHING_ITEM_F_VEST_000_TINT_000",
     "CLOTHING_ITEM_F_PANTS_000_TINT_000",    "CLOTHING_ITEM_F_BOOTS_001_TINT_001",
     "CLOTHING_ITEM_F_GLOVES_000_TINT_000",   "CLOTHING_ITEM_F_NECKTIE_000_TINT_000",
     "CLOTHING_ITEM_F_GUNBELT_001_TINT_001",  "CLOTHING_ITEM_F_SPURS_000_TINT_000",
     "CLOTHING_ITEM_F_CHAPS_000_TINT_000",    "CLOTHING_ITEM_F_CLOSECOAT_000_TINT_000",
     "CLOTHING_ITEM_F_EYEWEAR_000_TINT_000",  "CLOTHING_ITEM_F_BANDOLIER_000_TINT_000",
     "CLOTHING_ITEM_F_MASK_000_VAR_000",      "CLOTHING_ITEM_F_NECKERCHIEF_000_TINT_000",
     "CLOTHING_ITEM_F_NECKWEAR_000_TINT_000", "CLOTHING_ITEM_F_OVERALLS_000_TINT_000",
     "CLOTHING_ITEM_F_PONCHO_000_TINT_000",   "CLOTHING_ITEM_F_SUSPENDERS_000_TINT_000"},
};

void ViewBehindAndHold() {
  KeepViewBehindPlayer();
  HoldCutSceneFrame();
}

// The credit line stays fully drawn while the title fades with `alpha`. It credits the campaign's
// own team, on purpose.
void DrawTitleCard(int32_t alpha) {
  DrawText("BRIMVALE", 0.2f, 0.4f, 1.5f, 1.5f, 255, 255, 255, alpha);
  DrawText("By: Brimvale Team", 0.4f, 0.55f, 1.0f, 1.0f, 255, 255, 255, 255);
  HoldCutSceneFrame();
  ScriptWait(0);
}

void ShowTitleCard() {
  for (int32_t alpha = 0; alpha < 255; ++alpha)
    DrawTitleCard(alpha);
  const int32_t start = GameTimer();
  while (GameTimer() - start < 5000)
    DrawTitleCard(255);
  for (int32_t alpha = 255; alpha > 0; --alpha)
    DrawTitleCard(alpha);
}

void SpawnGunslinger() {
  const Hash model = HashName(kGunslingerModel);
  if (IsModelValid(model)) {
    RequestModel(model, false);
    while (!HasModelLoaded(model)) {
      HoldCutSceneFrame();
      ScriptWait(0);
    }
  }
  while (!DoesEntityExist(P.Gunslinger)) {
    P.Gunslinger = CreatePed(model, kGunslingerAt, kGunslingerHeading, 1, 1, 1, 1);
    HoldCutSceneFrame();
    ScriptWait(0);
  }
  SetPedDefaultVariation(P.Gunslinger, true);
  SetPedSpawnFlag(P.Gunslinger, kSpawnFlagMissionPed);
  SetPedBlockEvents(P.Gunslinger, true);
  GiveMissionWeapon(P.Gunslinger, HashName("weapon_revolver_cattleman_mexican"), 10000, 1, 0, 0, 1);
  ReleaseModel(model);
}

void AimHideoutCamera(Cam cam, Vector3 at) {
  SetCameraCoord(cam, at);
  SetCameraRotation(cam, kHideoutCamRotation, 2);
  SetCameraFov(cam, 30.0f);
}

void StartGunslingerScene(Ped ped) {
  // Asked for again, on purpose, where one request might seem enough: a scene the game did not
  // make would never load and would hold the cut for good.
  for (;;) {
    P.FlacoScene = CreateAnimScene("cutscene@gfh_flaco_int", 40, 0, 0, 1);
    if (P.FlacoScene) break;
    HoldCutSceneFrame();
    ScriptWait(0);
  }
  LoadAnimScene(P.FlacoScene);
  while (!IsAnimSceneLoaded(P.FlacoScene, 1, 0)) {
    HoldCutSceneFrame();
    ScriptWait(0);
  }
  while (IsAnimScenePending(P.FlacoScene, 0)) {
    HoldCutSceneFrame();
    ScriptWait(0);
  }
  SetAnimSceneEntity(P.FlacoScene, "mp_player_m_1", ped, 16);
  SetAnimSceneEntity(P.FlacoScene, "FAMOUSGUNSLINGER_02", P.Gunslinger, 16);
  SetPedSceneOption(ped, kPedSceneOptionHideoutScene, 0, kPedSceneOptionHideoutSceneBits);
  StartAnimScene(P.FlacoScene);
}

// A scene handle is cleared when it is released, so it is never released twice.
void ReleaseFlacoScene() {
  if (P.FlacoScene) ReleaseAnimScene(P.FlacoScene);
  P.FlacoScene = {};
}

// The sequence was handed to the player 500 ms before these waits: a progress of -1 from then on
// means it ended or was cut short (the player knocked over or killed), and nothing would move it
// on again.
void WaitForSequenceStep(Ped ped, int32_t step) {
  for (;;) {
    const int32_t progress = GetSequenceProgress(ped);
    if (progress >= step || progress == -1) return;
    ScriptWait(0);
  }
}

void WaitForSequenceEnd(Ped ped) {
  while (GetSequenceProgress(ped) != -1)
    ScriptWait(0);
}

void PerformChestSequence(Ped ped) {
  const Vector3 chestAt = GetEntityCoords(P.PistolChest, true, true);
  const Vector3 forward = GetEntityForwardVector(P.PistolChest, 2);
  GetAnimStartPosition(kChestDict, "enter", chestAt, forward, 0, 2);
  const float heading = GetAnimStartRotation(kChestDict, "enter", chestAt, forward, 0, 2).z;
  TaskSequence sequence{};
  OpenTaskSequence(&sequence);
  TaskGoToCoordAndFace(Ped{}, kChestApproach, heading, 0.0f);
  PlayPedAnim(Ped{}, kChestDict, "enter", 8.0f, 8.0f, -1, 0, 0.0f, 0, 0, 0, 0, 0);
  PlayPedAnim(Ped{}, kChestDict, "base", 8.0f, 8.0f, -1, 0, 0.0f, 0, 0, 0, 0, 0);
  CloseTaskSequence(sequence);
  TaskPerformSequence(ped, sequence);
  ClearTaskSequence(&sequence);
  ScriptWait(500);
}

void OpenChest(Ped ped) {
  RemoveObjectiveBlip();
  if (GetPedWeaponInHand(ped) != HashName("unarmed"))
    SetPedSceneFlag(ped, kSceneFlagOwnScene, 0, 0, 0);
  PerformChestSequence(ped);

  PlayEntityAnim(P.PistolChest, "enter_chest", kChestDict, 1.0f, 1, 0);
  ForceEntityAnimUpdate(P.PistolChest, 1);
  SetRadarFlag(0);
  WaitForSequenceStep(ped, 1);

  // Attached and pointed before the render and the blend, so the blend starts from aimed cameras.
  CreateCutCameras(kTitleCamA, kTitleCamB);
  AttachCameraToEntity(CutScene.IntroCamA, P.PistolChest, {-0.5f, 0.0f, 0.1f}, 1);
  AttachCameraToEntity(CutScene.IntroCamB, P.PistolChest, {-0.5f, 0.0f, 0.1f}, 1);
  PointCameraAtEntity(CutScene.IntroCamA, P.PistolChest, {0.0f, 0.0f, 0.0f}, 1);
  PointCameraAtEntity(CutScene.IntroCamB, ped, {0.0f, 0.0f, 0.3f}, 1);
  RenderCutCameras();
  BlendCutCameras(9000, 9000, 9000);
  WaitForSequenceStep(ped, 2);

  GiveMissionWeapon(ped, HashName("WEAPON_REVOLVER_CATTLEMAN"), 10000, 1, 0, 0, 1);
  SetEntityHeading(P.PistolChest, kChestHeading);
  PlayEntityAnim(P.PistolChest, "base_chest", kChestDict, 1.0f, 0, 1);
  ForceEntityAnimUpdate(P.PistolChest, 1);
  WaitForSequenceEnd(ped);

  AnnounceWeaponReward("Cattleman Revolver Unlocked", "weapon_revolver_cattleman");
  ReleaseEntityHandle(P.ChestTable);
  ReleaseEntityHandle(P.PistolChest);
  EndCutScene(false);
  SetRadarFlag(1);
}

void ShowLeaderKilled() {
  char text[kMaxComposedText];
  std::snprintf(text, sizeof text, "~s~~p~%s~s~ Killed the ~s~~e~Gang Leader.~s~",
                GetPlayerName(PlayerIndex()));
  ShowHelpText(text, 2000);
}

void PutOnStarterClothing(Ped ped, int32_t gender) {
  for (const char* item : kStarterClothing[gender])
    ApplyShopItemToPed(ped, HashName(item), 1, 1, 0);
}

void ApplyStarterLook() {
  ApplyMissionLook(
      Character.Gender == 1 ? "mp_uppertorso_fr1_000_o_b" : "mp_uppertorso_mr1_000_o_b",
      PutOnStarterClothing);
}

void SetDownInFreeRoam(Ped ped, Player player, Ped mount) {
  HoldTransitionFlag(1);
  RenderScriptCameras(false, 0, 0, 0, 0, 0);
  SetEntityCoords(mount, kHorseBeforeFreeRoam, 0, 0, 0, 1);
  SetEntityCoords(ped, kPlayerBeforeFreeRoam, 0, 0, 0, 1);
  ScriptWait(3000);
  ClearAreaAround(kFreeRoamArrival, kFreeRoamClearRadius);
  SetPlayerControlOn(false);
  TeleportPlayer(player, kFreeRoamArrival, kFreeRoamArrivalHeading, 0, 0, 0, 0);
  ScriptWait(1000);
  SettlePlayerTeleport();
  SetCurrentPedWeapon(ped, HashName("WEAPON_REVOLVER_CATTLEMAN"), 1, 0, 0, 0);
}

void PlayFewDaysLater(Ped ped) {
  // Attached before the render and the blend, as at the chest, so the blend starts from cameras
  // already on the player; these two are not pointed.
  CreateCutCameras({kTitleCamAt, {-13.0f, 0.0f, kFreeRoamArrivalHeading}, 40.0f},
                   {kTitleCamAt, {-15.0f, 0.0f, kFreeRoamArrivalHeading}, 40.0f});
  AttachCameraToEntity(CutScene.IntroCamA, ped, {0.8f, -0.5f, -0.1f}, 1);
  AttachCameraToEntity(CutScene.IntroCamB, ped, {0.5f, -0.5f, -0.1f}, 1);
  RenderCutCameras();
  BlendCutCameras(12000, 12000, 12000);
  StartScreenEffect("TITLE_GEN_FEWDAYSLATER");
  TriggerMusicEvent("MP_CELEB_SCREEN_MUSIC");
  ScreenFadeIn(1000);
  WaitMs(6000, HoldCutSceneFrame);
  SetPedSceneFlag(ped, kSceneFlagOwnScene, 0, 0, 0);
  WaitMs(6000, ViewBehindAndHold);
}

}  // namespace

void RunTitleCardAndHideout() {
  const Ped ped = PlayerPed();
  const Player player = PlayerIndex();
  SetWorldDisplayFlag(false);
  BeginCutScene(kTitleCamA, kTitleCamB, 20000);
  WaitMs(5000, HoldCutSceneFrame);
  if (!TriggerMusicEvent("GNG3_RESTART_7")) TriggerMusicEvent("GNG3_RESTART_7");
  TriggerMusicEvent("REWPB_ATTACKED");
  ShowTitleCard();

  SpawnGunslinger();
  SetEntityCoordsAndHeading(PlayerMount(player), kHorseAtHideout, kHorseAtHideoutHeading);
  PreparePedForScene(ped, 1, 1);
  TeleportPlayer(player, kHideoutArrival, kHideoutArrivalHeading, 0, 0, 0, 0);
  WaitMs(1000, HoldCutSceneFrame);
  SettlePlayerTeleport();
  TaskWalkToCoord(ped, kHideoutWalkTo, 1.0f, -1, 0, 0);
  P.PenitentiaryCleanup = false;

  AimHideoutCamera(CutScene.IntroCamA, kHideoutCamA);
  AimHideoutCamera(CutScene.IntroCamB, kHideoutCamB);
  BlendCutCameras(20000, 20000, 20000);
  ShowBanner("The Hideout");
  WaitMs(7000, HoldCutSceneFrame);

  StartGunslingerScene(ped);
  TriggerMusicEvent("GNG3_SNIPE_GUARDS");
  EndCutScene(false);
  P.PrologueStage = kPrologueAfterGunslingerScene;
}

void RunAfterGunslingerScene() {
  if (!HasAnimSceneEntityFinished(P.FlacoScene, "mp_player_m_1")) return;
  const Ped ped = PlayerPed();
  const Player player = PlayerIndex();
  ScreenFadeOut(0);
  SetEntityCoordsAndHeading(PlayerMount(player), kHorseAtHideout, kHorseAtHideoutHeading);
  SetEntityCoordsAndHeading(ped, kPlayerAfterScene, kPlayerAfterSceneHeading);
  ForcePedMotionState(ped, HashName("MotionState_Walk"), 0, 1, 1);
  AlignPlayerHeading(player, 1.0f, 12000, GetEntityHeading(ped), 0, 0);
  ScreenFadeIn(1000);
  SetWorldDisplayFlag(true);
  DeleteIfExists(P.Gunslinger);
  ReleaseFlacoScene();
  TriggerMusicEvent("GNG3_HOSTAGE");
  SetObjectiveBlip([] { return AddBlipForCoord(kPointBlipStyle, kGangHideout); });
  BeginGpsRoute(kGangHideout);
  P.PrologueStage = kPrologueGoToHideout;
}

void RunGoToHideout() {
  ShowObjective("Go to the ~s~~o~Hideout.~s~");
  if (DistanceBetween(PlayerPosition(), kGangHideout) >= kGangHideoutReach) return;
  RemoveObjectiveBlip();
  EndGpsRoute();
  SetObjectiveBlip(
      [] { return CreateRadiusBlip(kPointBlipStyle, kGangHideoutRadiusAt, kGangHideoutRadius); });
  RequestModelAndWait(kChestModel);
  RequestModelAndWait(kTableModel);
  LoadAnimDict(kChestDict);
  // Each asked for again until it is there, on purpose: a chest the game failed to make would
  // leave nothing to search.
  P.ChestTable = SpawnObjectAndWait(HashName(kTableModel), kTableAt);
  P.PistolChest = SpawnObjectAndWait(HashName(kChestModel), kChestAt);
  SetEntityHeading(P.ChestTable, kTableHeading);
  SetEntityHeading(P.PistolChest, kChestHeading);
  FreezeEntity(P.PistolChest, true);
  ReleaseModelIfValid(kChestModel);
  ReleaseModelIfValid(kTableModel);
  P.PrologueStage = kPrologueSearchHideout;
}

void RunSearchHideout() {
  ShowObjective("Search the ~s~~o~Hideout.~s~");
  const Vector3 chest = GetEntityCoords(P.PistolChest, true, true);
  if (DistanceBetween(PlayerPosition(), chest) >= kChestReach) return;
  ShowHelpText("Press ~INPUT_MELEE_GRAPPLE_CHOKE~ to search the chest.", 1000);
  if (!ControlJustPressed(kMenuPad, HashName(kSearchControl))) return;
  OpenChest(PlayerPed());
  P.PrologueStage = kPrologueSpawnGang;
}

void RunSpawnGang() {
  LoadTextureDict("BLIPS_MP");
  RequestModelAndWait(kGangModel);
  const Hash model = HashName(kGangModel);
  for (int32_t i = 0; i < kGangMemberCount; ++i) {
    const Place& place = kGangMembers[i];
    Ped& member = P.GangMembers[i];
    member = SpawnPedAndWait(model, place.at, place.heading, 1, 1, 1, 1);
    const Blip blip = SetUpHostilePed(member, true);
    GiveMissionWeapon(member, HashName("WEAPON_REVOLVER_CATTLEMAN"), 10000, 1, 0, 0, 1);
    GiveMissionWeapon(member, HashName("WEAPON_REPEATER_CARBINE"), 10000, 1, 0, 0, 1);
    SetPedLootable(member, 0);
    if (i == 0) {
      SetBlipSprite(blip, HashName("blip_ambient_hunter"), 1);
      PreparePedForCombat(member, 1, 1);
    }
  }
  ReleaseModel(model);
  MakeGroupsHostile();
  for (const Ped member : P.GangMembers) {
    ClearPedTasks(member, 1, 1);
    SetPedSightRange(member, 500.0f);
    SetPedCombatFlag(member, kCombatFlagHideoutGang);
    SetPedCombatLevel(member, 1);
    SetPedAccuracy(member, 100);
  }
  TriggerMusicEvent("GNG3_OVER_BRIDGE");
  P.PrologueStage = kPrologueEliminateGang;
}

void RunEliminateGang() {
  const Ped leader = P.GangMembers[0];
  ShowObjective("Eliminate the ~s~~e~Gang Members.~s~");
  if (!P.LeaderKilledShown && IsPedDown(leader)) {
    ShowLeaderKilled();
    P.LeaderKilledShown = true;
  }
  for (const Ped member : P.GangMembers) {
    if (!IsPedDeadOrDying(member, 1)) return;
  }
  P.LeaderKilledShown = false;
  SetObjectiveBlip(
      [] { return AddBlipForRadius(HashName("BLIP_STYLE_OBJECTIVE"), kFlacoPoint, kFlacoRadius); });
  const Vector3 body = GetEntityCoords(leader, true, true);
  P.LeaderBlip = AddBlipForCoord(HashName("BLIP_STYLE_ENEMY"), body);
  SetBlipSprite(P.LeaderBlip, HashName("blip_mp_bounty_dead"), 1);
  SetBlipName(P.LeaderBlip, CreateVarString(kVarStringPlain, "PLAYER_STRING", "Gang Leader"));
  for (int32_t i = 1; i < kGangMemberCount; ++i)
    ReleaseEntityHandle(P.GangMembers[i]);
  P.PrologueStage = kPrologueDeliverLeader;
}

void RunDeliverLeader() {
  Ped& leader = P.GangMembers[0];
  const Vector3 flaco = GetBlipCoords(Campaign.ObjectiveBlip);
  const Vector3 body = GetEntityCoords(leader, true, true);
  if (DoesBlipExist(P.LeaderBlip)) SetBlipCoords(P.LeaderBlip, body);
  // "Leaders" without an apostrophe on purpose: the line as the game shows it.
  ShowObjective("Deliver the ~s~~e~Gang Leaders Body~s~ to ~s~~o~Flaco.~s~");
  if (DistanceBetween(body, flaco) >= kFlacoRadius || GetCarryState(leader) == kCarried) return;

  TriggerMusicEvent("MC_MUSIC_STOP");
  WaitMs(1500, HoldCutSceneFrame);
  PlayHonorSound();
  ReleaseEntityHandle(leader);
  RemoveObjectiveBlip();
  RemoveBlipIfExists(P.LeaderBlip);
  SetWorldDisplayFlag(false);
  BeginCutScene(kPassedCamA, kPassedCamB, 20000);
  ShowResultScreen("MISSION PASSED", "Gang Hideout Cleared", 4000);
  AddCash(2000);
  WaitMs(1500, HoldCutSceneFrame);
  TaskWalkToCoord(PlayerPed(), kPlayerWalksOffTo, 1.0f, -1, 0, 0);
  P.PrologueStage = kPrologueFreeRoamHandOver;
}

void RunFreeRoamHandOver() {
  const Ped ped = PlayerPed();
  const Player player = PlayerIndex();
  const Ped mount = PlayerMount(player);
  WaitMs(4000, HoldCutSceneFrame);
  ScreenFadeOut(4000);
  WaitMs(4000, HoldCutSceneFrame);

  EndMission();
  SetMissionAudioFlags(false);
  RemoveMissionGroups();
  EndCutScene(false);
  SetPedCarryFlag(ped, kCarryFlagMissionEnd, 1);
  ApplyStarterLook();
  SetDownInFreeRoam(ped, player, mount);
  PlayFewDaysLater(ped);

  // The cameras go with the eased hand-back, so none is left behind.
  EndCutScene(true);
  AlignPlayerHeading(player, 1.0f, 4000, GetEntityHeading(ped), 0, 0);
  SetPlayerControlOn(true);
  SetRadarFlag(1);
  SetWorldDisplayFlag(true);
  ClearPedTasks(ped, 1, 1);
  ReleaseFlacoScene();

  P.PrologueStage = kPrologueIntroduction;
  Campaign.StoryProgress = 1;
  WriteInt("Story", "Progress", 1);
  if (!TriggerAudioEvent(kProgressSavedEvent)) return;
  ShowHelpText("Progress Saved", 7000);
  ScriptWait(7000);
  ShowHelpText(
      "Welcome to Freeroam, in freeroam you can do various activites. To proceed with the Brimvale "
      "Story, go to the yellow blip in valetine.",
      10000);
  ShowRewardToast("Story Mission Complete", "Prologue", "hud_toasts",
                  "toast_gang_take_medal_no_award", 5000);
}

}  // namespace brimvale
