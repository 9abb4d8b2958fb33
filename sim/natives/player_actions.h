// What a player does in the game world beyond walking: knocking peds down, killing, looting,
// picking up and putting down bodies, getting into vehicles and being knocked over. Each is the
// game's own answer to the player's input; it changes the world as the game would and reports
// whether the game allowed it.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"
#include "hook/host.h"

namespace brimvale::sim {

class SimHost;

// Within this distance the player can reach a ped, a body or a vehicle.
inline constexpr float kReach = 3.0f;

bool KnockDown(SimHost& host, int32_t ped);  // knocked out, not dead
bool Kill(SimHost& host, int32_t ped);
// A downed, lootable ped in reach that has not been looted yet.
bool Loot(SimHost& host, int32_t ped);
// A downed ped (or any object) in reach; the player carries one thing at a time.
bool PickUp(SimHost& host, int32_t entity);
// The carried entity is laid down where the player stands; it is being put down (and cannot be
// picked up again) for the second the game's animation lasts.
bool PutDown(SimHost& host);
bool EnterVehicle(SimHost& host, int32_t vehicle);
void LeaveVehicle(SimHost& host);
// Thrown to the ground: whatever the player was doing (a task, a sequence, a carry) ends.
void KnockOverPlayer(SimHost& host);
// The player takes a weapon he holds into his hands.
bool DrawWeapon(SimHost& host, const char* weapon);

// The hands of the scripted player on the game beyond its controls: a hold prompt's control held
// down, money in the purse for a shop, the player's own death, a ped that sees him, a crime the
// law sees.
void HoldControl(SimHost& host, const char* control, bool down);
void SetMoney(SimHost& host, int32_t cents);
void KillPlayer(SimHost& host);
void LetPedSeePlayer(SimHost& host, int32_t ped);
void CommitCrime(SimHost& host, Vector3 at);

// Gives the input again as the player gave it (a replay of a recording).
void ApplyPlayerInput(SimHost& host, const PlayerInput& input);

// The nearest ped of this model to a point, or 0.
int32_t NearestPedOfModel(SimHost& host, const char* model, Vector3 near);
// The entity a blip follows, or 0.
int32_t EntityOfBlip(SimHost& host, int32_t blip);

}  // namespace brimvale::sim
