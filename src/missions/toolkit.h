// What the missions share: blocking waits with a per-frame action, load loops, spawned mission
// peds, the two relationship groups, blips, notices, rewards, cut-scene cameras, music, the
// mission start and end settings, GPS routes, area clearing, ending game scripts, detection and
// the failure that restarts the prologue.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"
#include "core/native/waits.h"
#include "ui/screens.h"
#include "ui/view.h"

namespace brimvale {

// GetCarryState of an entity the player is carrying.
inline constexpr int32_t kCarried = 5;

// Per-frame actions for WaitMs: the cut-scene hold, and the hold with the penitentiary kept quiet.
void HoldCutSceneFrame();
void HoldCutSceneFrameAndSuppress();

// Creation repeated each frame until the game reports the entity.
Ped SpawnPedAndWait(Hash model, Vector3 at, float heading, int32_t f1, int32_t f2, int32_t f3,
                    int32_t f4);
Vehicle SpawnVehicleAndWait(Hash model, Vector3 at, float heading);
Object SpawnObjectAndWait(Hash model, Vector3 at);
// Variation, spawn flag, enemy group, blocked events, enemy blip; returns the blip.
Blip SetUpHostilePed(Ped ped, bool blockEvents);
void GiveMissionWeapon(Ped ped, Hash weapon, int32_t ammo, int32_t a, int32_t b, int32_t c,
                       int32_t d);
// Entities are deleted only when the game still reports them; both calls zero the handle.
void DeleteIfExists(Entity& entity);
void DeleteIfExists(Ped& ped);
void DeleteIfExists(Vehicle& vehicle);
void DeleteIfExists(Object& object);
void ReleaseEntityHandle(Entity& entity);
void ReleaseEntityHandle(Ped& ped);
void ReleaseEntityHandle(Vehicle& vehicle);
void ReleaseEntityHandle(Object& object);

// "PLAYER" and "CIVMALE": the missions never run at once, so they share one pair.
struct MissionGroupsState {
  RelGroup PlayerGroup{};
  RelGroup EnemyGroup{};
};
extern MissionGroupsState MissionGroups;
void CreateMissionGroups();
void MakeGroupsHostile();  // once the enemies exist
void RemoveMissionGroups();

void RemoveObjectiveBlip();
// The old objective blip is removed before `create` makes the new one, so the map never shows
// two objective points, not even for a frame.
template <typename Create>
void SetObjectiveBlip(Create create) {
  RemoveObjectiveBlip();
  Campaign.ObjectiveBlip = create();
}

// The game's mission intro card: a heading, a title and a description.
void ShowMissionCard(const char* heading, const char* title, const char* description);
// Gives the player the weapon (ammo and flags as for mission peds), shows "New Weapon:" with the
// subtitle and the inventory texture, and plays the reward sound.
void GiveWeaponReward(Hash weapon, int32_t ammo, int32_t a, int32_t b, int32_t c, int32_t d,
                      const char* subtitle, const char* inventoryTexture);
// "New Weapon:" with the subtitle and the inventory texture, and the reward sound.
void AnnounceWeaponReward(const char* subtitle, const char* inventoryTexture);
void PlayHonorSound();
void AddCash(int32_t cents);

// Cut scenes blend between two scripted cameras.
struct CutSceneState {
  Cam IntroCamA{};
  Cam IntroCamB{};
};
extern CutSceneState CutScene;
// Creates A and B (destroying any pair still held, so no cut leaks cameras).
void CreateCutCameras(CameraPlace a, CameraPlace b);
// Renders the script cameras with A active.
void RenderCutCameras();
// CreateCutCameras, then RenderCutCameras.
void ShowCutCameras(CameraPlace a, CameraPlace b);
// ShowCutCameras, then a blend from A to B over ms.
void BeginCutScene(CameraPlace a, CameraPlace b, int32_t ms);
void BlendCutCameras(int32_t t1, int32_t t2, int32_t t3);  // from A to B
// Destroys both cameras; eased hands back over 2000 ms.
void EndCutScene(bool eased);
void KeepViewBehindPlayer();

void TriggerMusicUntilAccepted(const char* name);
// kSceneModePrologue or kSceneModeTrainRobbery.
void BeginMission(int32_t mode);
void EndMission();
void SetPlayerControlOn(bool on);
void WaitOutTransition(void (*perFrame)() = nullptr);
void RequestTransitionSceneAndWait(const char* name);

// Straight-line distance in three dimensions, worked out here rather than asked of the game.
float DistanceBetween(Vector3 a, Vector3 b);

void BeginGpsRoute(Vector3 to);
void EndGpsRoute();
void ClearAreaAround(Vector3 centre, float radius);
// Terminates every running game script whose name hash matches one of the names.
void EndGameScripts(const char* const* names, int32_t count);

// Whether the guard has detected the player; a downed guard never does.
bool SpottedCheck(Ped guard);
// The index of the first guard that detects the player, or -1.
int32_t FirstSpotter(const Ped* guards, int32_t count);
// The guard attacks, "MISSION FAILED" shows for 5000 ms with the penitentiary kept quiet, the
// watched guards are handed back, the stage's blip (if any) removed, and the prologue restarts.
void MissionFailedRestart(Ped guard, Ped* watchedGuards, int32_t count, Blip* stageBlip);

}  // namespace brimvale
