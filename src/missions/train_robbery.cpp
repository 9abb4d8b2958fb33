#include "missions/train_robbery.h"

#include <initializer_list>

#include "character/appearance.h"
#include "character/character_record.h"
#include "character/outfit.h"
#include "core/native/hook.h"
#include "core/native/natives.h"
#include "missions/toolkit.h"
#include "progression/progression.h"
#include "ui/screens.h"
#include "ui/toolkit.h"

namespace brimvale {

TrainRobberyState TrainRobbery;

namespace {

constexpr Vector3 kRobberyStart{1523.26f, 449.16f, 90.362f};
constexpr float kStartPromptRange = 1.0f;
constexpr float kStartAreaRadius = 300.0f;
constexpr Vector3 kIntroHorse{1583.189f, 398.875f, 99.361f};
constexpr float kIntroHorseHeading = 31.441f;
constexpr CameraPlace kIntroCamA{{1580.093f, 400.952f, 99.495f}, {-5.0f, 0.0f, 42.525f}, 20.0f};
constexpr CameraPlace kIntroCamB{{1580.093f, 400.952f, 99.495f}, {10.0f, 0.0f, 237.285f}, 30.0f};
constexpr Vector3 kTrainStart{1506.847f, 331.944f, 91.112f};
constexpr Hash kTrainConfiguration = 0x10461E19;
constexpr float kTrainSpeed = 10.0f;
constexpr Vector3 kMoneyBagAt{1495.789f, 318.658f, 91.405f};
constexpr Hash kMoneyBagConfig = 0x80619DC4;
constexpr Vector3 kSafeZone{1178.211f, -109.881f, 95.127f};
constexpr Vector3 kSafeZoneRoute{1178.211f, -109.881f, 96.127f};
constexpr float kSafeZoneRange = 2.0f;
constexpr CameraPlace kPassedCamA{{1163.968f, -106.75f, 96.578f}, {0.0f, 0.0f, 261.419f}, 30.0f};
constexpr CameraPlace kPassedCamB{{1165.968f, -106.75f, 96.578f}, {0.0f, 0.0f, 261.419f}, 30.0f};
constexpr Vector3 kWalkOffTo{1206.156f, -102.189f, 97.13f};
constexpr Vector3 kHorseAfter{1213.146f, -97.589f, 97.619f};
constexpr Vector3 kPlayerAfter{1215.899f, -100.251f, 97.968f};
constexpr Hash kProgressSavedEvent = 0xF4AE69EC;
// Every index the game may hold a train under.
constexpr int32_t kTrainSlots = 5000;

constexpr const char* kMoneyBagModel = "s_mp_moneybag02x";
constexpr const char* kGuardModel = "S_M_M_UniTrainGuards_01";
constexpr const char* kBlipTextures = "BLIPS_MP";
constexpr const char* kScoreTextures = "scoretimer_meter";
// The score indicator at the top of the screen and the bag's icon inside it.
constexpr ScreenRect kScoreTimer{0.5f, 0.1f, 0.06f, 0.08f};
constexpr ScreenRect kScoreBagIcon{0.5f, 0.1f, 0.03f, 0.04f};

struct GuardPost {
  Vector3 at;
  float heading;
};
constexpr GuardPost kGuardPosts[kTrainGuardCount] = {
    {{1441.316f, 223.122f, 92.311f}, 147.789f}, {{1449.634f, 234.119f, 92.203f}, 64.291f},
    {{1482.543f, 300.46f, 91.642f}, 60.393f},   {{1485.102f, 307.694f, 91.548f}, 149.197f},
    {{1496.258f, 321.216f, 91.387f}, 137.625f}, {{1474.247f, 286.676f, 95.278f}, 152.835f},
    {{1458.118f, 252.829f, 95.618f}, 157.562f},
};

// The money bag's object flags, set in this order when it is made.
struct ObjectFlagSetting {
  int32_t id;
  bool on;
};
constexpr ObjectFlagSetting kMoneyBagFlags[] = {
    {4, true}, {14, true}, {10, true}, {19, false}, {37, false}};

// Loaded before the train is made and released after; the make-up itself is the game's.
// clang-format off
constexpr const char* kTrainModelList[] = {
    "CART01", "CART02", "CART03", "CART04", "CART05", "CART06", "CART07", "CART08", "caboose01x",
    "northpassenger01x", "NORTHSTEAMER01X", "PRIVATECOALCAR01X", "PRIVATESTEAMER01X",
    "PRIVATEDINING01X", "midlandboxcar05x", "privateflatcar01x", "privateboxcar04x",
    "privatebaggage01X", "privatepassenger01x", "northflatcar01x", "northcoalcar01x",
    "northpassenger03x", "privateboxcar02x", "armoredcar03x", "privateopensleeper02x",
    "WINTERSTEAMER", "wintercoalcar", "privateboxcar01x", "privateobservationcar",
    "privatearmoured",
};
// clang-format on

constexpr const char* kTrainServiceScripts[] = {"train_summon", "trainrobbery_ambient",
                                                "train_annesburg", "shop_train_station"};

// What every pass reads before the stage switch.
struct RobberyFrame {
  Player player;
  Ped ped;
  Ped horse;
  Vector3 position;
};

void DeleteStartPrompt() {
  Prompt& prompt = TrainRobbery.RobberyStartPrompt;
  if (prompt && PromptIsValid(prompt)) {
    PromptSetEnabled(prompt, false);
    PromptSetVisible(prompt, false);
    PromptDelete(prompt);
  }
  prompt = {};
}

void RegisterStartPrompt() {
  const Prompt prompt = PromptRegisterBegin();
  PromptSetControlAction(prompt, HashName("INPUT_INTERACT_LOCKON_POS"));
  PromptSetText(prompt, CreateVarString(kVarStringPlain, "LITERAL_STRING", "Start Train Robbery"));
  PromptSetHoldMode(prompt, 1);
  PromptRegisterEnd(prompt);
  PromptSetEnabled(prompt, true);
  PromptSetVisible(prompt, true);
  TrainRobbery.RobberyStartPrompt = prompt;
}

void SetTrainSpeeds(float speed) {
  const Vehicle train = TrainRobbery.RobberyTrain;
  SetTrainSpeed(train, speed);
  SetTrainTargetSpeed(train, speed);
  SetTrainSpeedLimit(train, speed);
}

void WaitWhileBlending() {
  while (IsCameraInterpolating(CutScene.IntroCamB)) {
    HoldCutSceneFrame();
    ScriptWait(0);
  }
}

void AimCutCamera(Cam cam, Entity on, Vector3 attach, Vector3 point, float fov) {
  AttachCameraToEntity(cam, on, attach, 1);
  PointCameraAtEntity(cam, on, point, 1);
  SetCameraFov(cam, fov);
}

void ShowAimedCameras() {
  RenderScriptCameras(true, 0, 0, 0, 0, 0);
  SetCameraActive(CutScene.IntroCamA, true);
}

// The weapon of the group in hand, if the player has a usable one; whether one was found.
bool TakeWeaponOfGroup(Ped ped, int32_t group, Hash& weapon) {
  Hash found = 0;
  if (!FindPedWeaponOfGroup(ped, &found, 1, group, 1)) return false;
  weapon = found;
  if (IsWeaponUsable(found)) SetCurrentPedWeapon(ped, found, 0, 0, 0, 0);
  return true;
}

// A revolver, then a long arm, in hand; the last one found is loaded to one below its capacity.
// Nothing is written for a weapon that was not found or whose capacity leaves nothing to load.
void ReadyPlayerWeapon(Ped ped) {
  Hash weapon = 0;
  bool found = TakeWeaponOfGroup(ped, 2, weapon);
  found = TakeWeaponOfGroup(ped, 10, weapon) || found;
  if (found) {
    const int32_t rounds = GetWeaponCapacity(ped, weapon, 0) - 1;
    if (rounds >= 0) SetWeaponAmmoCount(ped, weapon, rounds);
  }
  RefreshPedWeapon(ped);
}

void AlertGuards(Ped player) {
  for (const Ped guard : TrainRobbery.TrainGuards) {
    TaskCombatPed(guard, player, 0, 0);
    KeepPedTask(guard, 1);
  }
}

// The mission is set up behind the transition scene: the area, the start point and the tracks.
void PrepareRobberyStart(const RobberyFrame& f) {
  Screens.TrainRobberyActive = true;
  SetPlayerControlOn(false);
  SetPedSceneFlag(f.ped, kSceneFlagNone, 0, 0, kSceneFlagLastRobberyStart);
  RequestTransitionSceneAndWait("MISSION_TRANSITION_CLOUDS_SCENE");

  ClearAreaAround(kRobberyStart, kStartAreaRadius);
  SetBlipStyle(TrainRobbery.RobberyStartBlip, HashName("BLIP_STYLE_MISSION_HIDDEN"));
  DeleteStartPrompt();
  SetMissionAudioFlags(true);

  SetTrainWorldFlag(0);
  ResetTrainWorld();
  FreezeTrainWorld();
  SetNamedTrackOption(HashName("TRAIN_AMB_BOX01"), kTrackOptionSet);
  SetNamedTrackOption(HashName("LEVDES_CMPTRAINROB_2"), kTrackOptionCleared);
  SetSceneDisplayFlag(true);
}

void ShowRobberyCard() {
  ScreenFadeOut(1000);
  WaitMs(1000);
  SetSceneOption(kSceneModeTrainRobbery, 0, 0);
  SetMissionUiMode(kMissionUiModeMission, 0);
  ShowMissionCard("Train Robbery", "The 10,000 Mile Robbery",
                  "There's a train that will be coming down to the emerald ranch station, it "
                  "won't stop so you need to jump on and grab a big satchel bag of cash.");
  WaitMs(8000);
  WaitOutTransition();
}

void PlaceRiderForIntro(const RobberyFrame& f) {
  PreparePedForScene(f.horse, 1, 1);
  PreparePedForScene(f.ped, 1, 1);
  SetPedOnMount(f.ped, f.horse, -1, 1);
  PlaceEntityWithHeading(f.horse, kIntroHorse, kIntroHorseHeading, 1, 1);
  KeepViewBehindPlayer();
  RefreshPlayerState();
  SetWorldDisplayFlag(false);
  ShowCutCameras(kIntroCamA, kIntroCamB);
  ResetViewState();
}

void MakeGuardedTrain() {
  SpawnRobberyTrain(kTrainStart);
  SetTrainSpeeds(0.0f);
  SpawnTrainLoot();
  SetTrainSpeeds(kTrainSpeed);
  const Ped driver = GetVehicleSeatPed(TrainRobbery.RobberyTrain, -1);
  SetPedBlockEvents(driver, true);
  KeepPedTask(driver, 1);
}

// The fade-in on the rider, the blend past the train and the cut onto the armed player.
void RunIntroCuts(const RobberyFrame& f) {
  ScreenFadeIn(500);
  WaitMs(1000, HoldCutSceneFrame);
  TriggerMusicEvent("TRN4_JUMP_BACK_TO_TRAIN");
  BlendCutCameras(10000, 15000, 30000);
  ApplyOutfit();
  WaitWhileBlending();

  AimCutCamera(CutScene.IntroCamA, f.ped, {0.0f, 2.0f, 0.6f}, {0.0f, 0.0f, 0.7f}, 35.0f);
  AimCutCamera(CutScene.IntroCamB, f.ped, {0.0f, 1.0f, 0.7f}, {0.0f, 0.0f, 0.8f}, 30.0f);
  ShowAimedCameras();
  BlendCutCameras(3000, 3000, 3000);
  ReadyPlayerWeapon(f.ped);
  WaitWhileBlending();
}

// The slow-motion cut past the horse, the banners and the hand-back of control.
void RunHorseCutAndHandOver(const RobberyFrame& f) {
  SetTimeScale(0.2f);
  AimCutCamera(CutScene.IntroCamA, f.horse, {3.0f, 1.0f, -0.5f}, {0.0f, 0.0f, 0.6f}, 30.0f);
  AimCutCamera(CutScene.IntroCamB, f.horse, {3.0f, 3.0f, -0.5f}, {0.0f, 0.0f, 0.6f}, 35.0f);
  ShowAimedCameras();
  BlendCutCameras(7000, 10000, 3000);
  SetMountMotion(f.horse, kMountMotionRobberyCut);
  SetMountOption(f.horse, kMountOptionRobberyCut, 0, 0);
  ShowResultScreen("TRAIN ROBBERY", "The 10,000 MILE ROBBERY", 3000);
  ShowBanner("POTENTIAL TAKE: $100");
  WaitMs(2000);

  SetTimeScale(1.0f);
  for (const Cam cam : {CutScene.IntroCamA, CutScene.IntroCamB})
    AimCutCamera(cam, f.ped, {-3.0f, -6.0f, 0.7f}, {-1.0f, 0.0f, 0.8f}, 30.0f);
  RenderScriptCameras(false, 1, 2000, 0, 0, 0);
  AlignPlayerHeading(f.player, 2.0f, 7000, GetEntityHeading(f.ped), 0, 0);
  TriggerMusicEvent("TRN4_START_CS");
  TriggerMusicEvent("TRN4_GATLING_1");
  WaitWhileBlending();
  SetPlayerControlOn(true);
  SetWorldDisplayFlag(true);
  TrainRobbery.TrainRobberyStage = kRobberyBoardTrain;
}

// The blocking introduction: the scene, the train and its guards, the cameras and the banners.
void StartTrainRobbery(const RobberyFrame& f) {
  PrepareRobberyStart(f);
  ShowRobberyCard();
  PlaceRiderForIntro(f);
  MakeGuardedTrain();
  RunIntroCuts(f);
  RunHorseCutAndHandOver(f);
}

void OfferRobbery(const RobberyFrame& f) {
  Blip& startBlip = TrainRobbery.RobberyStartBlip;
  if (!DoesBlipExist(startBlip)) {
    startBlip = CreateNamedBlip(HashName("BLIP_STYLE_SHOP"), kRobberyStart,
                                HashName("blip_ambient_train"), "The 10,000 Mile Robbery");
    return;
  }
  if (Screens.TrainRobberyActive) return;
  SetBlipStyle(startBlip, HashName("BLIP_STYLE_SHOP"));
  if (DistanceBetween(f.position, kRobberyStart) >= kStartPromptRange) {
    DeleteStartPrompt();
    return;
  }
  const Prompt prompt = TrainRobbery.RobberyStartPrompt;
  if (!prompt || !PromptIsValid(prompt)) {
    RegisterStartPrompt();
    return;
  }
  if (PromptHasHoldCompleted(prompt, 0)) StartTrainRobbery(f);
}

void BoardTrain(const RobberyFrame& f) {
  ShowObjective("Get onto the ~s~~o~Train.~s~");
  if (!TrainRobbery.TrainGuardsAlerted) {
    for (const Ped guard : TrainRobbery.TrainGuards) {
      if (PedSensesPed(guard, f.ped)) {
        AlertGuards(f.ped);
        TrainRobbery.TrainGuardsAlerted = true;
        break;
      }
    }
  }
  if (!IsPlayerOnTrain(f.player)) return;
  TriggerMusicEvent("TRN4_JUMP");
  TrainRobbery.TrainGuardsAlerted = false;
  AlertGuards(f.ped);
  SetBlipStyle(GetBlipFromEntity(TrainRobbery.RobberyTrain), HashName("BLIP_STYLE_FETCH_TRAIN"));
  TrainRobbery.TrainRobberyStage = kRobberyStealBag;
}

bool CarryingBag(Ped ped) {
  const Object bag = TrainRobbery.MoneyBag;
  return GetCarryState(bag) == kCarried && GetCarriedEntity(ped).id == bag.id;
}

void StealMoneyBag(const RobberyFrame& f) {
  ShowObjective("Steal the ~s~~o~Money Bag.~s~");
  ReportTrainRobbery();
  if (!CarryingBag(f.ped)) return;
  TriggerMusicEvent("TRN4_DYNAMITE");
  Blip trainBlip = GetBlipFromEntity(TrainRobbery.RobberyTrain);
  RemoveBlipIfExists(trainBlip);
  SetBlipStyle(GetBlipFromEntity(TrainRobbery.MoneyBag), HashName("BLIP_STYLE_DEBUG_BLUE"));
  TrainRobbery.TrainRobberyStage = kRobberyEscapeLaw;
}

// Escaping the law and the way to the safe zone send the player back for the bag whenever it is
// not carried.
void ShowBagObjective(const char* carriedObjective) {
  const Object bag = TrainRobbery.MoneyBag;
  const bool carried = GetCarryState(bag) == kCarried;
  ShowObjective(carried ? carriedObjective : "Grab the ~s~~o~Money Bag.~s~");
  SetBlipStyle(GetBlipFromEntity(bag),
               HashName(carried ? "BLIP_STYLE_DEBUG_BLUE" : "BLIP_STYLE_CREATOR_DEFAULT"));
}

void EscapeLaw(const RobberyFrame& f) {
  ShowBagObjective("Escape the ~s~~e~Law.~s~");
  if (GetPlayerWantedLevel(f.player) > 0) return;
  TriggerMusicEvent("TRN4_BOARD_TRAIN");
  SetObjectiveBlip([] {
    const Blip safeZone = CreateCoordBlip(HashName("BLIP_STYLE_OBJECTIVE"), kSafeZone);
    SetBlipSprite(safeZone, 0, 1);
    SetBlipName(safeZone, CreateVarString(kVarStringPlain, "PLAYER_STRING", "Safe Zone"));
    return safeZone;
  });
  BeginGpsRoute(kSafeZoneRoute);
  TrainRobbery.TrainRobberyStage = kRobberyToSafeZone;
}

// The blocking pass at the safe zone: the bag is set down, the passed scene and the cash.
void PassRobbery(const RobberyFrame& f) {
  SetPlayerControlOn(false);
  TaskPlaceCarriedEntity(f.ped, TrainRobbery.MoneyBag, f.position, 1.0f, 0);
  TriggerMusicEvent("MC_MUSIC_STOP");
  WaitMs(1500, HoldCutSceneFrame);
  PlayHonorSound();
  RemoveBlipIfExists(Campaign.ObjectiveBlip);
  SetWorldDisplayFlag(false);
  BeginCutScene(kPassedCamA, kPassedCamB, 20000);
  ShowResultScreen("MISSION PASSED", "Train Robbed", 4000);
  AddCash(RandomIntInRange(7500, 10000));
  WaitMs(1500, HoldCutSceneFrame);
  TaskWalkToCoord(f.ped, kWalkOffTo, 1.0f, -1, 0, 0);
  TrainRobbery.TrainRobberyStage = kRobberyWrapUp;
}

void DeliverBag(const RobberyFrame& f) {
  ShowBagObjective("Deliver the Bag to the ~s~~o~Safe Zone.~s~");
  // Arriving without the bag passes as well.
  if (DistanceBetween(f.position, GetBlipCoords(Campaign.ObjectiveBlip)) < kSafeZoneRange) {
    PassRobbery(f);
    return;
  }
  if (GetPlayerWantedLevel(f.player) <= 0) return;
  TriggerMusicEvent("TRN4_GATLING_1");
  RemoveBlipIfExists(Campaign.ObjectiveBlip);
  EndGpsRoute();
  TrainRobbery.TrainRobberyStage = kRobberyEscapeLaw;
}

void DeleteRobberyEntities() {
  for (Ped& guard : TrainRobbery.TrainGuards)
    DeleteIfExists(guard);
  // The game may already have taken the train away; a stale number may be someone else's.
  if (DoesEntityExist(TrainRobbery.RobberyTrain)) DeleteTrain(&TrainRobbery.RobberyTrain);
  TrainRobbery.RobberyTrain = {};
  DeleteIfExists(TrainRobbery.MoneyBag);
}

// One blocking pass behind a fade: everything of the robbery goes, the player is put down near
// the safe zone in the saved look and gets the experience.
void WrapUpRobbery(const RobberyFrame& f) {
  WaitMs(4000, HoldCutSceneFrame);
  ScreenFadeOut(4000);
  WaitMs(4000, HoldCutSceneFrame);

  Screens.TrainRobberyActive = false;
  SetMissionAudioFlags(false);
  EndMission();
  RemoveMissionGroups();
  EndCutScene(false);
  EndGpsRoute();
  DeleteRobberyEntities();

  HoldTransitionFlag(1);
  RenderScriptCameras(false, 0, 0, 0, 0, 0);
  SetEntityCoords(f.horse, kHorseAfter, 0, 0, 0, 1);
  SetEntityCoords(f.ped, kPlayerAfter, 0, 0, 0, 1);
  ScriptWait(3000);

  ApplyCharacterAppearance();
  AlignPlayerHeading(f.player, 1.0f, 1000, GetEntityHeading(f.ped), 0, 0);
  KeepViewBehindPlayer();
  SetPlayerControlOn(true);
  AddXP(RandomIntInRange(75, 200));

  SetRadarFlag(1);
  SetWorldDisplayFlag(true);
  SetPlayerControlOn(true);
  ClearPedTasks(f.ped, 1, 1);
  TriggerMusicEvent("MP_CELEB_SCREEN_MUSIC");
  ScreenFadeIn(1000);
  if (TriggerAudioEvent(kProgressSavedEvent)) ShowHelpText("Progress Saved", 7000);
  TrainRobbery.TrainGuardsAlerted = false;
  TrainRobbery.TrainRobberyStage = kRobberyAvailable;
}

}  // namespace

void SpawnRobberyTrain(Vector3 at) {
  for (const char* model : kTrainModelList)
    RequestModelAndWait(model);
  // Asked for again until it is there, on purpose: a train the game did not make would leave
  // nothing to board.
  Vehicle train{};
  for (;;) {
    train = CreateMissionTrain(kTrainConfiguration, at, 0, 0, 1, 1);
    if (DoesEntityExist(train)) break;
    ScriptWait(0);
  }
  TrainRobbery.RobberyTrain = train;
  // The train is ready once its state reads the same on two frames running.
  int32_t state = ReadTrainState(train);
  for (;;) {
    ScriptWait(0);
    const int32_t next = ReadTrainState(train);
    if (next == state) break;
    state = next;
  }
  SetTrainSpeeds(kTrainSpeed);
  SetTrainStopFlag(train, 0);
  const Blip blip = AddBlipForEntity(HashName("BLIP_STYLE_LOOT_OBJECTIVE"), train);
  SetBlipSprite(blip, HashName("blip_ambient_train"), 1);
  SetBlipName(blip, CreateVarString(kVarStringPlain, "PLAYER_STRING", "Train"));
  for (const char* model : kTrainModelList)
    ReleaseModelIfValid(model);
}

void SpawnTrainLoot() {
  RequestTextureDict(kBlipTextures, true);
  ScriptWait(500);
  RequestModelAndWait(kMoneyBagModel);
  // Likewise the bag: without it there is nothing to steal.
  Object bag{};
  for (;;) {
    bag = CreateObject(HashName(kMoneyBagModel), kMoneyBagAt, 1, 1, 1, 0, 0, 0);
    if (DoesEntityExist(bag)) break;
    ScriptWait(0);
  }
  TrainRobbery.MoneyBag = bag;
  for (const ObjectFlagSetting& flag : kMoneyBagFlags)
    SetObjectFlag(bag, flag.id, flag.on);
  SetObjectOption(bag, kObjectOptionMoneyBag);
  SetObjectConfig(bag, kMoneyBagConfig, 0, 0, 0);
  EnableObjectInteraction(bag, 1, 1);
  const Blip blip = AddBlipForEntity(HashName("BLIP_STYLE_LOOT_OBJECTIVE"), bag);
  SetBlipSprite(blip, HashName("blip_ambient_delivery"), 1);
  SetBlipName(blip, CreateVarString(kVarStringPlain, "PLAYER_STRING", "Money Bag"));

  CreateMissionGroups();
  const Hash guardModel = HashName(kGuardModel);
  RequestModelAndWaitUnchecked(guardModel);
  // One creation each: a guard the game refuses stays 0, and every call on 0 is harmless.
  for (int i = 0; i < kTrainGuardCount; ++i) {
    const GuardPost& post = kGuardPosts[i];
    TrainRobbery.TrainGuards[i] = CreatePed(guardModel, post.at, post.heading, 0, 0, 0, 0);
  }
  for (const Ped guard : TrainRobbery.TrainGuards) {
    PreparePedForCombat(guard, 1, 1);
    SetUpHostilePed(guard, false);
    SetPedCombatStyle(guard, kCombatStyleTrainGuard);
    SetPedCombatOption(guard, kCombatOptionTrainGuard);
    SetPedCombatFlag(guard, kCombatFlagTrainGuard);
    SetPedCombatLevel(guard, RandomIntInRange(0, 3));
    GiveMissionWeapon(guard, HashName("WEAPON_REPEATER_CARBINE"), 10000, 1, 0, 0, 0);
    GiveMissionWeapon(guard, HashName("WEAPON_REVOLVER_CATTLEMAN"), 10000, 1, 0, 2, 0);
  }
  MakeGroupsHostile();
  ReleaseModel(guardModel);
  ReleaseModelIfValid(kMoneyBagModel);
}

void ReportTrainRobbery() {
  SetSceneDisplayFlag(false);
  SetLawFlagBeforeCrimeReport(kLawSettingOff);
  ReportCrime(GetLawContext(), HashName("CRIME_TRAIN_ROBBERY"), 0, 0, 0);
  if (!IsLawResponding(PlayerIndex())) {
    const Vector3 at = GetEntityOffsetPosition(PlayerPed(), {0.0f, 0.0f, 0.0f});
    DispatchLawToCoord(at, HashName("LAW_CUSTOM_TRAIN_ROBBERY"));
  }
  SetLawFlagAfterCrimeReport(kLawSettingOff);
  SetLawFlagEndingCrimeReport(kLawSettingOff);
}

void SuppressTrainServices() {
  EndGameScripts(kTrainServiceScripts, static_cast<int32_t>(sizeof kTrainServiceScripts /
                                                            sizeof kTrainServiceScripts[0]));
  SetTrainWorldFlag(0);
  ResetTrainWorld();
  const Vehicle ours = TrainRobbery.RobberyTrain;
  for (int32_t index = 0; index < kTrainSlots; ++index) {
    Vehicle train = GetTrainAtIndex(index);
    // The robbery's own train is listed with the others; deleting it would end the mission.
    if (ours && train == ours) continue;
    DeleteTrain(&train);
    DiscardTrain(&train);
  }
}

void DrawScoreTimer() {
  // The toolkit's wait loop: nothing is drawn from the dictionary before it has loaded.
  LoadTextureDict(kScoreTextures);
  if (TrainRobbery.TrainRobberyStage >= kRobberyStealBag) {
    DrawScreenSprite(kScoreTextures, "score_timer_ink_bg", kScoreTimer, {0, 0, 0, 255});
    DrawScreenSprite(kScoreTextures, "circle_score_timer_bg", kScoreTimer, {0, 0, 0, 255});
  }
  const Object bag = TrainRobbery.MoneyBag;
  if (!DoesEntityExist(bag)) return;
  const Colour carried{20, 150, 186, 255};
  DrawScreenSprite(kBlipTextures, "blip_ambient_delivery", kScoreBagIcon,
                   GetCarryState(bag) == kCarried ? carried : kWhite);
}

void RunTrainRobbery() {
  RobberyFrame f{};
  f.player = PlayerIndex();
  f.ped = PlayerPed();
  f.horse = PlayerMount(f.player);
  f.position = GetEntityCoords(f.ped, true, true);

  if (Screens.TrainRobberyActive) {
    if (DoesBlipExist(TrainRobbery.RobberyStartBlip)) {
      SetBlipStyle(TrainRobbery.RobberyStartBlip, HashName("BLIP_STYLE_MISSION_HIDDEN"));
    }
    DeleteStartPrompt();
    SuppressTrainServices();
    DrawScoreTimer();
  }

  switch (TrainRobbery.TrainRobberyStage) {
    case kRobberyAvailable:
      OfferRobbery(f);
      break;
    case kRobberyBoardTrain:
      BoardTrain(f);
      break;
    case kRobberyStealBag:
      StealMoneyBag(f);
      break;
    case kRobberyEscapeLaw:
      EscapeLaw(f);
      break;
    case kRobberyToSafeZone:
      DeliverBag(f);
      break;
    case kRobberyWrapUp:
      WrapUpRobbery(f);
      break;
    default:
      break;
  }
}

}  // namespace brimvale
