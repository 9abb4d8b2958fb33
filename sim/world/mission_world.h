// What the missions read back from the game about bodies and the player's doings: looting,
// water, vehicles and who sits in them, tasks and task sequences that run with
// time, animation scenes, objects' animations, the law and the radar.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/native/invoke.h"

namespace brimvale::sim {

// Open water: an entity whose position lies inside one of these circles is in the water.
struct WaterArea {
  Vector3 centre{};
  float radius = 0.0f;
};

enum class TaskKind { None, GuardPosition, WalkTo, GoToAndFace, PlayAnim };

struct SimTask {
  TaskKind kind = TaskKind::None;
  Vector3 target{};
  float heading = 0.0f;
  float speed = 0.0f;  // units per second while moving
  std::string guardMode;
  std::string dict, clip;
  int32_t durationMs = -1;  // -1: the clip's own length
};

// A task sequence as the script builds it: tasks given to ped 0 while it is open are its steps.
struct SimSequence {
  std::vector<SimTask> steps;
  bool open = true;
};

// What the game keeps about a mission ped or object beyond its place in the world.
struct MissionEntity {
  // Bodies.
  bool looted = false;
  bool lootable = true;
  // Tasks: a single task, or a sequence and the step it is on (-1 when none runs).
  SimTask task;
  std::vector<SimTask> sequence;
  int32_t sequenceStep = -1;
  double stepStartedMs = 0.0;
  Vector3 lastTaskPosition{};  // where the task last put the ped; a move from elsewhere is felt
  // Combat set-up beyond the train world's.
  float sightRange = 0.0f;
  int32_t accuracy = -1;
  std::map<int32_t, int32_t> carryFlags;  // flag -> value
  std::vector<int32_t> sceneOptions;
  // Objects: the last entity animation and how often it was forced to update.
  std::string animClip, animDict;
  int32_t animUpdates = 0;
  // Vehicles: how far they have moved with the player aboard.
  float distanceTravelled = 0.0f;
};

struct SimAnimScene {
  std::string dict;
  int32_t loadFramesLeft = -1;  // -1: not asked to load
  bool loaded = false;
  int32_t pendingFramesLeft = 0;            // after loading, the scene is pending for a few frames
  std::map<std::string, int32_t> entities;  // scene entity name -> entity
  bool started = false;
  double startedMs = 0.0;
};

struct LawWorld {
  int32_t playerStateResets = 0;
  int32_t responseResets = 0;
  int32_t options[3] = {-1, -1, -1};  // A, B, C
};

struct MissionWorld {
  std::map<int32_t, MissionEntity> entities;  // by entity handle, made on first touch
  std::vector<WaterArea> water = {
      {{3400.0f, -800.0f, 40.0f}, 10.0f},  // the shore below the first guard's post
      {{3262.0f, -720.0f, 40.0f}, 15.0f},  // the bay at the penitentiary's docks
  };
  int32_t playerVehicle = 0;  // the vehicle the player sits in, 0 when none

  int32_t nextSequence = 1;
  std::map<int32_t, SimSequence> sequences;
  int32_t openSequence = 0;
  int32_t clipLengthMs = 1500;  // how long a clip plays in a sequence when not told otherwise

  int32_t nextAnimScene = 90001;
  std::map<int32_t, SimAnimScene> animScenes;
  int32_t animSceneLoadFrames = 5;
  int32_t animScenePendingFrames = 3;
  int32_t animSceneLengthMs = 12000;
  int32_t staleSceneReleases = 0;  // releases of a scene that was already gone

  LawWorld law;
  bool radarShown = true;
  std::string region;
  int32_t missionResets = 0;

  MissionEntity& Of(int32_t handle) { return entities[handle]; }
  const MissionEntity* Find(int32_t handle) const {
    auto it = entities.find(handle);
    return it == entities.end() ? nullptr : &it->second;
  }
};

}  // namespace brimvale::sim
