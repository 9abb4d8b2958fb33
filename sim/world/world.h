// The simulated game world that the natives read and change.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/native/invoke.h"
#include "world/blip_world.h"
#include "world/camera_world.h"
#include "world/look_world.h"
#include "world/mission_world.h"
#include "world/player_world.h"
#include "world/scene_world.h"
#include "world/shop_world.h"
#include "world/train_world.h"
#include "world/ui_world.h"

namespace brimvale::sim {

enum class EntityKind { Ped, Vehicle, Object };

struct SimEntity {
  int32_t handle = 0;
  EntityKind kind = EntityKind::Ped;
  Hash model = 0;
  Vector3 position{};
  float heading = 0.0f;
  bool dead = false;
  bool missionOwned = false;  // created by the plugin and not yet released
};

struct ModelState {
  bool valid = true;
  bool pedKind = false;
  int framesToLoad = 0;  // frames between the first request and the model being loaded
  int framesLeft = -1;   // -1: not requested
  bool loaded = false;
};

struct PlayerState {
  int32_t index = 0;  // the player identifier
  int32_t ped = 0;    // handle of the player's ped
  bool occupied = false;
  bool dead = false;
  // Whether the game's player-state refresh takes the model from the script globals (a test can
  // turn it off to make the switch through the globals fail).
  bool refreshUsesGlobals = true;
  // A game that ignores the model globals once: this many refreshes that would have changed the
  // player's model leave it as it is (two fail one switch through the globals).
  int32_t refreshesIgnoringGlobals = 0;
};

struct World {
  int32_t nextHandle = 100;
  std::map<int32_t, SimEntity> entities;
  PlayerState player;
  PlayerWorld life;  // the player's life, the game's random numbers, free-roam settings
  std::map<Hash, ModelState> models;
  std::map<int32_t, std::vector<uint64_t>> globals;
  std::set<std::pair<int32_t, Hash>> justPressed;  // (pad, control) pressed this frame

  UiWorld ui;
  BlipWorld blips;
  LookWorld look;
  SceneWorld scene;
  CameraWorld cameras;
  TrainWorld trains;
  ShopWorld shop;
  MissionWorld mission;

  SimEntity* Find(int32_t handle) {
    auto it = entities.find(handle);
    return it == entities.end() ? nullptr : &it->second;
  }
  SimEntity& PlayerEntity() { return entities.at(player.ped); }
  // A ped dies where it stands; the player's death is what the game's death handling waits for.
  void Kill(int32_t handle, int64_t frame) {
    SimEntity* e = Find(handle);
    if (!e || e->dead) return;
    e->dead = true;
    if (handle == player.ped) {
      player.dead = true;
      ++life.deaths;
      life.diedAtFrame = frame;
    }
  }
  // A crime the player commits in view of the law: wanted, and seen here.
  void CommitCrime(Vector3 at) {
    if (life.wantedLevel < 1) life.wantedLevel = 1;
    trains.lastSeen = at;
  }
  int32_t Spawn(EntityKind kind, Hash model, Vector3 at, float heading) {
    const int32_t handle = nextHandle++;
    entities[handle] = SimEntity{handle, kind, model, at, heading};
    return handle;
  }
};

}  // namespace brimvale::sim
