#include "missions/toolkit.h"

#include <cmath>

#include "core/native/hook.h"
#include "core/native/natives.h"
#include "missions/prologue.h"
#include "ui/screens.h"
#include "ui/toolkit.h"

namespace brimvale {

MissionGroupsState MissionGroups;
CutSceneState CutScene;

namespace {

constexpr Hash kMissionWeaponSource = 0x2CD419DC;
constexpr Hash kGpsRouteStyle = 0x96085F9C;

}  // namespace

float DistanceBetween(Vector3 a, Vector3 b) {
  const float dx = a.x - b.x;
  const float dy = a.y - b.y;
  const float dz = a.z - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void HoldCutSceneFrame() {
  HoldFrame(-1, -1, 0, 17, 1, 0);
}

void HoldCutSceneFrameAndSuppress() {
  HoldCutSceneFrame();
  SuppressPenitentiary();
}

Ped SpawnPedAndWait(Hash model, Vector3 at, float heading, int32_t f1, int32_t f2, int32_t f3,
                    int32_t f4) {
  Ped ped{};
  while (!DoesEntityExist(ped)) {
    ped = CreatePed(model, at, heading, f1, f2, f3, f4);
    ScriptWait(0);
  }
  return ped;
}

Vehicle SpawnVehicleAndWait(Hash model, Vector3 at, float heading) {
  Vehicle vehicle{};
  while (!DoesEntityExist(vehicle)) {
    vehicle = CreateVehicle(model, at, heading, 1, 1, 1, 1);
    ScriptWait(0);
  }
  return vehicle;
}

Object SpawnObjectAndWait(Hash model, Vector3 at) {
  Object object{};
  while (!DoesEntityExist(object)) {
    object = CreateObjectNoOffset(model, at, 0, 0, 0);
    ScriptWait(0);
  }
  return object;
}

Blip SetUpHostilePed(Ped ped, bool blockEvents) {
  SetPedDefaultVariation(ped, true);
  SetPedSpawnFlag(ped, kSpawnFlagMissionPed);
  SetPedRelationshipGroup(ped, MissionGroups.EnemyGroup);
  SetPedBlockEvents(ped, blockEvents);
  return AddBlipForEntity(HashName("BLIP_STYLE_ENEMY"), ped);
}

void GiveMissionWeapon(Ped ped, Hash weapon, int32_t ammo, int32_t a, int32_t b, int32_t c,
                       int32_t d) {
  GiveWeaponToPed(ped, weapon, ammo, a, b, c, 0, 0.5f, 1.0f, kMissionWeaponSource, d, 0, 0);
}

void DeleteIfExists(Entity& entity) {
  if (DoesEntityExist(entity)) DeleteEntity(&entity);
  entity = {};
}
void DeleteIfExists(Ped& ped) {
  DeleteIfExists(static_cast<Entity&>(ped));
}
void DeleteIfExists(Vehicle& vehicle) {
  DeleteIfExists(static_cast<Entity&>(vehicle));
}
void DeleteIfExists(Object& object) {
  DeleteIfExists(static_cast<Entity&>(object));
}

void ReleaseEntityHandle(Entity& entity) {
  if (entity) ReleaseEntity(&entity);
  entity = {};
}
void ReleaseEntityHandle(Ped& ped) {
  ReleaseEntityHandle(static_cast<Entity&>(ped));
}
void ReleaseEntityHandle(Vehicle& vehicle) {
  ReleaseEntityHandle(static_cast<Entity&>(vehicle));
}
void ReleaseEntityHandle(Object& object) {
  ReleaseEntityHandle(static_cast<Entity&>(object));
}

void CreateMissionGroups() {
  AddRelationshipGroup("PLAYER", &MissionGroups.PlayerGroup);
  const Ped player = PlayerPed();
  if (GetPedRelationshipGroup(player) != MissionGroups.PlayerGroup) {
    SetPedRelationshipGroup(player, MissionGroups.PlayerGroup);
  }
  AddRelationshipGroup("CIVMALE", &MissionGroups.EnemyGroup);
}

void MakeGroupsHostile() {
  SetRelationshipBetweenGroups(6, MissionGroups.PlayerGroup, MissionGroups.EnemyGroup);
  SetRelationshipBetweenGroups(6, MissionGroups.EnemyGroup, MissionGroups.PlayerGroup);
}

void RemoveMissionGroups() {
  RemoveRelationshipGroup(MissionGroups.PlayerGroup);
  RemoveRelationshipGroup(MissionGroups.EnemyGroup);
  MissionGroups = {};
}

void RemoveObjectiveBlip() {
  RemoveBlipIfExists(Campaign.ObjectiveBlip);
}

void ShowMissionCard(const char* heading, const char* title, const char* description) {
  ShowMissionIntroCard(0, 0, 0, heading, title, description);
}

void GiveWeaponReward(Hash weapon, int32_t ammo, int32_t a, int32_t b, int32_t c, int32_t d,
                      const char* subtitle, const char* inventoryTexture) {
  GiveMissionWeapon(PlayerPed(), weapon, ammo, a, b, c, d);
  AnnounceWeaponReward(subtitle, inventoryTexture);
}

void AnnounceWeaponReward(const char* subtitle, const char* inventoryTexture) {
  ShowRewardToast("New Weapon:", subtitle, "inventory_items", inventoryTexture, 2000);
  PlayFrontendSound("REWARD_NEW_GUN", "HUD_REWARD_SOUNDSET", 1, 0);
}

void PlayHonorSound() {
  PlayFrontendSound("Honor_Increase_Small", "Honor_Display_Sounds", 0, 0);
}

void AddCash(int32_t cents) {
  AddPlayerCash(cents, kMissionWeaponSource);
}

void CreateCutCameras(CameraPlace a, CameraPlace b) {
  // A cut that starts over an unfinished one must not leak its cameras.
  if (CutScene.IntroCamA || CutScene.IntroCamB) EndCutScene(false);
  CutScene.IntroCamA = CreateCutCamera(a);
  CutScene.IntroCamB = CreateCutCamera(b);
}

void RenderCutCameras() {
  RenderScriptCameras(true, 0, 0, 0, 0, 0);
  SetCameraActive(CutScene.IntroCamA, true);
}

void ShowCutCameras(CameraPlace a, CameraPlace b) {
  CreateCutCameras(a, b);
  RenderCutCameras();
}

void BeginCutScene(CameraPlace a, CameraPlace b, int32_t ms) {
  ShowCutCameras(a, b);
  BlendCutCameras(ms, ms, ms);
}

void BlendCutCameras(int32_t t1, int32_t t2, int32_t t3) {
  InterpolateCameras(CutScene.IntroCamB, CutScene.IntroCamA, t1, t2, t3);
}

void EndCutScene(bool eased) {
  if (CutScene.IntroCamA) DestroyCamera(CutScene.IntroCamA, 1);
  if (CutScene.IntroCamB) DestroyCamera(CutScene.IntroCamB, 1);
  CutScene = {};
  if (eased) {
    RenderScriptCameras(false, 1, 2000, 0, 0, 0);
  } else {
    RenderScriptCameras(false, 0, 0, 0, 0, 0);
  }
}

void KeepViewBehindPlayer() {
  SetGameplayCameraRelativeHeading(0.0f, 1.0f);
}

void TriggerMusicUntilAccepted(const char* name) {
  while (!TriggerMusicEvent(name))
    ScriptWait(0);
}

void BeginMission(int32_t mode) {
  SetSceneOption(mode, 0, 0);
  SetMissionUiMode(kMissionUiModeMission, 0);
  SetSceneDisplayFlag(true);
}

void EndMission() {
  SetSceneOption(kSceneModeClosing, 0, 0);
  SetMissionUiMode(kMissionUiModeFreeRoam, 0);
  SetSceneDisplayFlag(false);
}

void SetPlayerControlOn(bool on) {
  SetPlayerControl(PlayerIndex(), on, 0, 0);
}

void WaitOutTransition(void (*perFrame)()) {
  ReleaseTransition();
  while (IsTransitionActive()) {
    if (perFrame) perFrame();
    ScriptWait(0);
  }
}

void RequestTransitionSceneAndWait(const char* name) {
  RequestTransitionScene(name);
  while (!HasTransitionSceneLoaded(name)) {
    ScriptWait(0);
    RequestTransitionScene(name);
  }
}

void BeginGpsRoute(Vector3 to) {
  GpsRouteBegin(kGpsRouteStyle, 1, 0);
  GpsRouteAddPoint(to, 0);
  GpsRouteShow(true);
}

void EndGpsRoute() {
  GpsRouteShow(false);
}

void ClearAreaAround(Vector3 centre, float radius) {
  ClearArea(centre, radius, kClearAreaBroadFlags);
  ClearArea(centre, radius, kClearAreaBit21);
  ClearAreaOfAmbient(centre, radius);
}

void EndGameScripts(const char* const* names, int32_t count) {
  BeginThreadScan();
  for (int32_t id = NextThread(); id > 0; id = NextThread()) {
    const Hash running = ThreadNameHash(id);
    for (int32_t i = 0; i < count; ++i) {
      if (running == HashName(names[i])) {
        TerminateThread(id);
        break;  // a thread ends once, however many names match it
      }
    }
  }
}

bool SpottedCheck(Ped guard) {
  const Ped player = PlayerPed();
  return PedPerceivesPed(guard, player, -1.0f, 10.0f, -1.0f, -1.0f) &&
         HasClearLineOfSight(guard, player, 17) && PedNoticesPed(guard, player, 1, 0) == 1 &&
         !IsPedDown(guard);
}

int32_t FirstSpotter(const Ped* guards, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    if (SpottedCheck(guards[i])) return i;
  }
  return -1;
}

void MissionFailedRestart(Ped guard, Ped* watchedGuards, int32_t count, Blip* stageBlip) {
  TriggerMusicEvent("MC_MUSIC_STOP");
  ClearPedTasks(guard, 1, 1);
  TaskCombatPed(guard, PlayerPed(), 0x2000000, 16);
  KeepPedTask(guard, 1);
  SetPedBlockEvents(guard, true);
  ShowResultScreen("MISSION FAILED", "You were spotted.", 3000);
  WaitMs(5000, SuppressPenitentiary);
  for (int32_t i = 0; i < count; ++i)
    ReleaseEntityHandle(watchedGuards[i]);
  if (stageBlip) RemoveBlipIfExists(*stageBlip);
  Prologue.PrologueStage = kPrologueIntroduction;
}

}  // namespace brimvale
