// Bodies, carrying and water, vehicles and seats, objects, tasks and task sequences, animation
// scenes, the law and the radar; and the player's actions that change them.
#include <cmath>

#include "hook/host.h"
#include "natives/player_actions.h"

namespace brimvale::sim {
namespace {

// The mission models the game knows, and whether each is a ped.
struct KnownModel {
  const char* name;
  bool ped;
};
constexpr KnownModel kMissionModels[] = {
    {"S_M_M_SKPGUARD_01", true},       {"cs_famousgunslinger_02", true},
    {"G_M_M_UNIMOUNTAINMEN_01", true}, {"rowboat", false},
    {"s_lootablepistolchest", false},  {"p_cratetablemil01x", false},
};

// The game's scripts that run when a session starts, in the order a thread scan finds them.
constexpr const char* kGameScripts[] = {
    "main",         "sisikapenitentiary",   "region_law_patrol_creator", "ambient_guards",
    "train_summon", "trainrobbery_ambient", "train_annesburg",           "shop_train_station",
    "player_horse",
};

float Distance(Vector3 a, Vector3 b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

float FlatDistance(Vector3 a, Vector3 b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
}

bool Same(Vector3 a, Vector3 b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

SimEntity* Kind(SimHost& h, int32_t handle, EntityKind kind) {
  SimEntity* e = h.world.Find(handle);
  return e && e->kind == kind ? e : nullptr;
}

// Mission state of an entity that exists; null otherwise.
MissionEntity* StateOf(SimHost& h, int32_t handle) {
  return h.world.Find(handle) ? &h.world.mission.Of(handle) : nullptr;
}

bool Down(SimHost& h, int32_t ped) {
  const SimEntity* e = Kind(h, ped, EntityKind::Ped);
  if (!e) return false;
  auto it = h.world.scene.peds.find(ped);
  return e->dead || (it != h.world.scene.peds.end() && it->second.down);
}

bool InReach(SimHost& h, int32_t handle) {
  const SimEntity* e = h.world.Find(handle);
  return e && Distance(e->position, h.PlayerPosition()) <= kReach;
}

bool InWater(const World& w, Vector3 at) {
  for (const WaterArea& area : w.mission.water) {
    if (FlatDistance(area.centre, at) <= area.radius) return true;
  }
  return false;
}

// Moves the entity towards the target at the task's speed; true once it is there.
bool StepTowards(SimHost& h, SimEntity& e, Vector3 target, float speed) {
  const float step = speed * static_cast<float>(h.config.frameMs / 1000.0);
  const float left = Distance(e.position, target);
  if (left <= step || left < 0.05f) {
    e.position = target;
    return true;
  }
  const float f = step / left;
  e.position = {e.position.x + (target.x - e.position.x) * f,
                e.position.y + (target.y - e.position.y) * f,
                e.position.z + (target.z - e.position.z) * f};
  return false;
}

constexpr float kWalkSpeed = 1.4f;

SimTask MoveTask(TaskKind kind, Vector3 target, float heading, float speed) {
  SimTask task;
  task.kind = kind;
  task.target = target;
  task.heading = heading;
  task.speed = speed;
  return task;
}

// Tasks given to ped 0 while a sequence is open become its steps; true when that happened.
bool AddStep(World& w, int32_t ped, const SimTask& task) {
  if (ped != 0 || w.mission.openSequence == 0) return false;
  w.mission.sequences[w.mission.openSequence].steps.push_back(task);
  return true;
}

void GiveTask(SimHost& h, int32_t ped, const SimTask& task) {
  if (AddStep(h.world, ped, task)) return;
  SimEntity* e = Kind(h, ped, EntityKind::Ped);
  if (!e) return;
  MissionEntity& m = h.world.mission.Of(ped);
  m.task = task;
  m.sequence.clear();
  m.sequenceStep = -1;
  m.lastTaskPosition = e->position;
}

void RegisterLawAndWorld(SimHost& host) {
  host.On(ResetPlayerLawState, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == h.world.player.index) ++h.world.mission.law.playerStateResets;
  });
  host.On(ResetLawResponse,
          [](SimHost& h, const NativeCall&) { ++h.world.mission.law.responseResets; });
  host.On(SetPenitentiaryLawOptionFirst,
          [](SimHost& h, const NativeCall& c) { h.world.mission.law.options[0] = c.Int(0); });
  host.On(SetPenitentiaryLawOptionSecond,
          [](SimHost& h, const NativeCall& c) { h.world.mission.law.options[1] = c.Int(0); });
  host.On(SetPenitentiaryLawOptionThird,
          [](SimHost& h, const NativeCall& c) { h.world.mission.law.options[2] = c.Int(0); });
  host.On(ResetPlayerForMission, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == h.world.player.index) ++h.world.mission.missionResets;
  });
  host.On(ApplyRegionByName,
          [](SimHost& h, const NativeCall& c) { h.world.mission.region = c.Str(0); });
}

void RegisterPedSetUp(SimHost& host) {
  host.On(SetPedCarryFlag, [](SimHost& h, const NativeCall& c) {
    if (MissionEntity* m = StateOf(h, c.Int(0))) m->carryFlags[c.Int(1)] = c.Int(2);
  });
  host.On(SetPedSceneOption, [](SimHost& h, const NativeCall& c) {
    if (MissionEntity* m = StateOf(h, c.Int(0))) m->sceneOptions.push_back(c.Int(3));
  });
  host.On(GetPedWeaponInHand, [](SimHost& h, const NativeCall& c) {
    const auto& inHand = h.world.trains.currentWeapon;
    auto it = inHand.find(c.Int(0));
    const bool holds = h.world.Find(c.Int(0)) && it != inHand.end() && it->second != 0;
    c.ReturnUInt(holds ? it->second : GameHash("unarmed"));
  });
  host.On(SetPedSightRange, [](SimHost& h, const NativeCall& c) {
    if (MissionEntity* m = StateOf(h, c.Int(0))) m->sightRange = c.Float(1);
  });
  host.On(SetPedAccuracy, [](SimHost& h, const NativeCall& c) {
    if (MissionEntity* m = StateOf(h, c.Int(0))) m->accuracy = c.Int(1);
  });
}

void RegisterBodies(SimHost& host) {
  host.On(HasPedBeenLooted, [](SimHost& h, const NativeCall& c) {
    const MissionEntity* m = h.world.Find(c.Int(0)) ? h.world.mission.Find(c.Int(0)) : nullptr;
    c.ReturnBool(m && m->looted);
  });
  host.On(SetPedLootable, [](SimHost& h, const NativeCall& c) {
    if (MissionEntity* m = StateOf(h, c.Int(0))) m->lootable = c.Int(1) != 0;
  });
  host.On(IsEntityInWater, [](SimHost& h, const NativeCall& c) {
    const SimEntity* e = h.world.Find(c.Int(0));
    c.ReturnBool(e && InWater(h.world, e->position));
  });
  host.On(IsPedDeadOrDying, [](SimHost& h, const NativeCall& c) {
    const SimEntity* e = Kind(h, c.Int(0), EntityKind::Ped);
    c.ReturnBool(e && e->dead);
  });
}

void RegisterPlacesAndObjects(SimHost& host) {
  host.On(SetEntityCoordsAndHeading, [](SimHost& h, const NativeCall& c) {
    if (SimEntity* e = h.world.Find(c.Int(0))) {
      e->position = c.Vec(1);
      e->heading = c.Float(4);
    }
  });
  host.On(SetEntityHeading, [](SimHost& h, const NativeCall& c) {
    if (SimEntity* e = h.world.Find(c.Int(0))) e->heading = c.Float(1);
  });
  host.On(IsPedInVehicle, [](SimHost& h, const NativeCall& c) {
    const World& w = h.world;
    c.ReturnBool(c.Int(0) == w.player.ped && c.Int(1) != 0 && w.mission.playerVehicle == c.Int(1));
  });
  // Whoever sits in a deleted vehicle is left standing where it was.
  host.On(DeleteVehicle, [](SimHost& h, const NativeCall& c) {
    Vehicle* handle = c.Ptr<Vehicle>(0);
    if (!handle) return;
    if (Kind(h, handle->id, EntityKind::Vehicle)) {
      if (h.world.mission.playerVehicle == handle->id) h.world.mission.playerVehicle = 0;
      h.world.entities.erase(handle->id);
      h.world.scene.deleted.push_back(handle->id);
    }
    handle->id = 0;
  });
  host.On(CreateObjectNoOffset, [](SimHost& h, const NativeCall& c) {
    World& w = h.world;
    auto model = w.models.find(c.UInt(0));
    if (model == w.models.end() || !model->second.loaded) return c.ReturnInt(0);
    const int32_t handle = w.Spawn(EntityKind::Object, c.UInt(0), c.Vec(1), 0.0f);
    w.entities[handle].missionOwned = true;
    c.ReturnInt(handle);
  });
  host.On(PlayEntityAnim, [](SimHost& h, const NativeCall& c) {
    if (!h.world.cameras.AnimDictLoaded(c.Str(2))) return;
    if (MissionEntity* m = StateOf(h, c.Int(0))) {
      m->animClip = c.Str(1);
      m->animDict = c.Str(2);
    }
  });
  host.On(ForceEntityAnimUpdate, [](SimHost& h, const NativeCall& c) {
    if (MissionEntity* m = StateOf(h, c.Int(0))) ++m->animUpdates;
  });
  // A clip starts in front of the entity, facing it.
  host.On(GetAnimStartPosition, [](SimHost&, const NativeCall& c) {
    const Vector3 at = c.Vec(2);
    const Vector3 forward = c.Vec(5);
    c.ReturnVector({at.x + forward.x * 0.7f, at.y + forward.y * 0.7f, at.z});
  });
  host.On(GetAnimStartRotation, [](SimHost&, const NativeCall& c) {
    const Vector3 forward = c.Vec(5);
    const float facing = std::atan2(-forward.x, forward.y) * 180.0f / 3.14159265f;
    c.ReturnVector({0.0f, 0.0f, std::fmod(facing + 360.0f, 360.0f) - 180.0f});
  });
}

void RegisterTasks(SimHost& host) {
  host.On(TaskGuardPosition, [](SimHost& h, const NativeCall& c) {
    SimTask task = MoveTask(TaskKind::GuardPosition, c.Vec(1), c.Float(4), kWalkSpeed);
    task.guardMode = c.Str(5);
    GiveTask(h, c.Int(0), task);
  });
  host.On(TaskWalkToCoord, [](SimHost& h, const NativeCall& c) {
    GiveTask(h, c.Int(0), MoveTask(TaskKind::WalkTo, c.Vec(1), 0.0f, c.Float(4)));
  });
  host.On(TaskGoToCoordAndFace, [](SimHost& h, const NativeCall& c) {
    GiveTask(h, c.Int(0), MoveTask(TaskKind::GoToAndFace, c.Vec(1), c.Float(4), 1.2f));
  });
  host.On(OpenTaskSequence, [](SimHost& h, const NativeCall& c) {
    MissionWorld& m = h.world.mission;
    const int32_t handle = m.nextSequence++;
    m.sequences[handle] = SimSequence{};
    m.openSequence = handle;
    if (TaskSequence* out = c.Ptr<TaskSequence>(0)) out->id = handle;
  });
  host.On(CloseTaskSequence, [](SimHost& h, const NativeCall& c) {
    MissionWorld& m = h.world.mission;
    auto it = m.sequences.find(c.Int(0));
    if (it != m.sequences.end()) it->second.open = false;
    if (m.openSequence == c.Int(0)) m.openSequence = 0;
  });
  // The ped runs its own copy: clearing the sequence afterwards does not stop it.
  host.On(TaskPerformSequence, [](SimHost& h, const NativeCall& c) {
    MissionWorld& m = h.world.mission;
    auto it = m.sequences.find(c.Int(1));
    SimEntity* e = Kind(h, c.Int(0), EntityKind::Ped);
    if (!e || it == m.sequences.end() || it->second.open || it->second.steps.empty()) return;
    MissionEntity& ped = m.Of(c.Int(0));
    ped.task = {};
    ped.sequence = it->second.steps;
    ped.sequenceStep = 0;
    ped.stepStartedMs = h.GameTime();
    ped.lastTaskPosition = e->position;
  });
  host.On(ClearTaskSequence, [](SimHost& h, const NativeCall& c) {
    TaskSequence* handle = c.Ptr<TaskSequence>(0);
    if (!handle) return;
    h.world.mission.sequences.erase(handle->id);
    if (h.world.mission.openSequence == handle->id) h.world.mission.openSequence = 0;
    handle->id = 0;
  });
  host.On(GetSequenceProgress, [](SimHost& h, const NativeCall& c) {
    const MissionEntity* m = h.world.Find(c.Int(0)) ? h.world.mission.Find(c.Int(0)) : nullptr;
    c.ReturnInt(m ? m->sequenceStep : -1);
  });
}

void RegisterAnimScenes(SimHost& host) {
  host.On(CreateAnimScene, [](SimHost& h, const NativeCall& c) {
    MissionWorld& m = h.world.mission;
    const int32_t handle = m.nextAnimScene++;
    m.animScenes[handle].dict = c.Str(0);
    c.ReturnInt(handle);
  });
  host.On(LoadAnimScene, [](SimHost& h, const NativeCall& c) {
    auto& scenes = h.world.mission.animScenes;
    auto it = scenes.find(c.Int(0));
    if (it == scenes.end() || it->second.loaded || it->second.loadFramesLeft >= 0) return;
    it->second.loadFramesLeft = h.world.mission.animSceneLoadFrames;
  });
  host.On(IsAnimSceneLoaded, [](SimHost& h, const NativeCall& c) {
    auto& scenes = h.world.mission.animScenes;
    auto it = scenes.find(c.Int(0));
    c.ReturnBool(it != scenes.end() && it->second.loaded);
  });
  host.On(IsAnimScenePending, [](SimHost& h, const NativeCall& c) {
    auto& scenes = h.world.mission.animScenes;
    auto it = scenes.find(c.Int(0));
    c.ReturnBool(it != scenes.end() && it->second.loaded && it->second.pendingFramesLeft > 0);
  });
  host.On(SetAnimSceneEntity, [](SimHost& h, const NativeCall& c) {
    auto& scenes = h.world.mission.animScenes;
    auto it = scenes.find(c.Int(0));
    if (it != scenes.end() && h.world.Find(c.Int(2))) it->second.entities[c.Str(1)] = c.Int(2);
  });
  host.On(StartAnimScene, [](SimHost& h, const NativeCall& c) {
    auto& scenes = h.world.mission.animScenes;
    auto it = scenes.find(c.Int(0));
    if (it == scenes.end() || !it->second.loaded || it->second.started) return;
    it->second.started = true;
    it->second.startedMs = h.GameTime();
  });
  host.On(HasAnimSceneEntityFinished, [](SimHost& h, const NativeCall& c) {
    const MissionWorld& m = h.world.mission;
    auto it = m.animScenes.find(c.Int(0));
    c.ReturnBool(it != m.animScenes.end() && it->second.started &&
                 it->second.entities.count(c.Str(1)) > 0 &&
                 h.GameTime() >= it->second.startedMs + m.animSceneLengthMs);
  });
  host.On(ReleaseAnimScene, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == 0) return;
    if (h.world.mission.animScenes.erase(c.Int(0)) == 0) ++h.world.mission.staleSceneReleases;
  });
}

// One frame of a ped's single task or sequence.
void RunTasks(SimHost& h, int32_t handle, SimEntity& e, MissionEntity& m) {
  const bool isPlayer = handle == h.world.player.ped;
  // The player's own movement overrides a walk the game was making him do.
  if (isPlayer && m.task.kind == TaskKind::WalkTo && !Same(e.position, m.lastTaskPosition)) {
    m.task = {};
  }
  if (m.sequenceStep >= 0) {
    if (m.sequenceStep >= static_cast<int32_t>(m.sequence.size())) {
      m.sequence.clear();
      m.sequenceStep = -1;
      return;
    }
    const SimTask& step = m.sequence[m.sequenceStep];
    bool done = false;
    if (step.kind == TaskKind::PlayAnim) {
      const int32_t length = step.durationMs < 0 ? h.world.mission.clipLengthMs : step.durationMs;
      done = h.GameTime() >= m.stepStartedMs + length;
    } else {
      done = StepTowards(h, e, step.target, step.speed);
      if (done) e.heading = step.heading;
    }
    if (done) {
      ++m.sequenceStep;
      m.stepStartedMs = h.GameTime();
      if (m.sequenceStep >= static_cast<int32_t>(m.sequence.size())) {
        m.sequence.clear();
        m.sequenceStep = -1;
      }
    }
  } else if (m.task.kind == TaskKind::WalkTo || m.task.kind == TaskKind::GuardPosition) {
    if (StepTowards(h, e, m.task.target, m.task.speed)) {
      if (m.task.kind == TaskKind::GuardPosition) e.heading = m.task.heading;
      if (m.task.kind == TaskKind::WalkTo) m.task = {};
    }
  }
  m.lastTaskPosition = e.position;
}

}  // namespace

void SetUpMissionWorld(World& world, const HostConfig& config) {
  for (const KnownModel& known : kMissionModels) {
    ModelState& model = world.models[GameHash(known.name)];
    model.valid = true;
    model.pedKind = known.ped;
    model.framesToLoad = config.modelLoadFrames;
  }
  // The game's own scripts, running by name from the start: the missions end the penitentiary's
  // and the train services' ones; the others must outlive every scan.
  int32_t id = 0;
  for (const char* name : kGameScripts)
    world.scene.threads.push_back({++id, name, true});
}

bool AddToOpenSequence(World& world, int32_t ped, const SimTask& task) {
  return AddStep(world, ped, task);
}

void ClearMissionTasks(World& world, int32_t ped) {
  auto it = world.mission.entities.find(ped);
  if (it == world.mission.entities.end()) return;
  it->second.task = {};
  it->second.sequence.clear();
  it->second.sequenceStep = -1;
}

void RegisterMissionNatives(SimHost& host) {
  RegisterLawAndWorld(host);
  RegisterPedSetUp(host);
  RegisterBodies(host);
  RegisterPlacesAndObjects(host);
  RegisterTasks(host);
  RegisterAnimScenes(host);
}

// The boat goes where the player goes; tasks move peds; scenes load; what
// belonged to entities that are gone goes with them.
void EndFrameMission(SimHost& host) {
  World& w = host.world;
  MissionWorld& m = w.mission;
  std::erase_if(m.entities, [&](const auto& entry) { return !w.Find(entry.first); });
  if (!w.Find(m.playerVehicle)) m.playerVehicle = 0;

  const Vector3 player = host.PlayerPosition();
  if (SimEntity* boat = w.Find(m.playerVehicle)) {
    m.Of(m.playerVehicle).distanceTravelled += Distance(boat->position, player);
    boat->position = player;
  }
  for (auto& [handle, state] : m.entities) {
    SimEntity* e = w.Find(handle);
    if (e && e->kind == EntityKind::Ped) RunTasks(host, handle, *e, state);
  }
  for (auto& [handle, scene] : m.animScenes) {
    if (scene.loadFramesLeft > 0 && --scene.loadFramesLeft == 0) {
      scene.loadFramesLeft = -1;
      scene.loaded = true;
      scene.pendingFramesLeft = m.animScenePendingFrames;
    } else if (scene.loaded && scene.pendingFramesLeft > 0) {
      --scene.pendingFramesLeft;
    }
  }
}

bool KnockDown(SimHost& host, int32_t ped) {
  host.Tell({PlayerInput::Kind::KnockDown, {}, 0, ped});
  if (ped == host.world.player.ped || !Kind(host, ped, EntityKind::Ped) || !InReach(host, ped)) {
    return false;
  }
  host.world.scene.peds[ped].down = true;
  return true;
}

bool Kill(SimHost& host, int32_t ped) {
  host.Tell({PlayerInput::Kind::Kill, {}, 0, ped});
  if (!Kind(host, ped, EntityKind::Ped) || ped == host.world.player.ped) return false;
  host.world.Kill(ped, host.Frame());
  return true;
}

bool Loot(SimHost& host, int32_t ped) {
  host.Tell({PlayerInput::Kind::Loot, {}, 0, ped});
  if (!Down(host, ped) || !InReach(host, ped)) return false;
  MissionEntity& m = host.world.mission.Of(ped);
  if (!m.lootable || m.looted) return false;
  m.looted = true;
  return true;
}

bool PickUp(SimHost& host, int32_t entity) {
  host.Tell({PlayerInput::Kind::PickUp, {}, 0, entity});
  World& w = host.world;
  SimEntity* e = w.Find(entity);
  if (w.trains.carried || w.trains.puttingDown == entity || !e || entity == w.player.ped ||
      !InReach(host, entity))
    return false;
  if (e->kind == EntityKind::Vehicle || (e->kind == EntityKind::Ped && !Down(host, entity))) {
    return false;
  }
  w.trains.carried = entity;
  return true;
}

bool PutDown(SimHost& host) {
  host.Tell({PlayerInput::Kind::PutDown, {}});
  World& w = host.world;
  SimEntity* e = w.Find(w.trains.carried);
  if (!e) return false;
  e->position = host.PlayerPosition();
  w.trains.StartPutDown();
  return true;
}

bool EnterVehicle(SimHost& host, int32_t vehicle) {
  host.Tell({PlayerInput::Kind::EnterVehicle, {}, 0, vehicle});
  SimEntity* e = Kind(host, vehicle, EntityKind::Vehicle);
  if (!e || !InReach(host, vehicle) || host.world.trains.carried) return false;
  host.world.mission.playerVehicle = vehicle;
  host.world.PlayerEntity().position = e->position;  // part of the input, not one of its own
  return true;
}

void LeaveVehicle(SimHost& host) {
  host.Tell({PlayerInput::Kind::LeaveVehicle, {}});
  host.world.mission.playerVehicle = 0;
}

void KnockOverPlayer(SimHost& host) {
  World& w = host.world;
  ClearMissionTasks(w, w.player.ped);
  if (SimEntity* body = w.Find(w.trains.carried)) body->position = host.PlayerPosition();
  w.trains.carried = 0;
}

bool DrawWeapon(SimHost& host, const char* weapon) {
  host.Tell({PlayerInput::Kind::DrawWeapon, weapon});
  World& w = host.world;
  const Hash hash = GameHash(weapon);
  for (const SimWeapon& held : w.scene.peds[w.player.ped].weapons) {
    if (held.weapon == hash) {
      w.trains.currentWeapon[w.player.ped] = hash;
      return true;
    }
  }
  return false;
}

void HoldControl(SimHost& host, const char* control, bool down) {
  host.Tell({down ? PlayerInput::Kind::Hold : PlayerInput::Kind::Release, control});
  if (down)
    host.world.trains.heldControls.insert(GameHash(control));
  else
    host.world.trains.heldControls.erase(GameHash(control));
}

void SetMoney(SimHost& host, int32_t cents) {
  host.Tell({PlayerInput::Kind::SetMoney, {}, 0, cents});
  host.world.scene.money = cents;
}

void KillPlayer(SimHost& host) {
  host.Tell({PlayerInput::Kind::KillPlayer, {}});
  host.world.Kill(host.world.player.ped, host.Frame());
}

void LetPedSeePlayer(SimHost& host, int32_t ped) {
  host.Tell({PlayerInput::Kind::SeenBy, {}, 0, ped});
  host.world.scene.peds[ped].seesPlayer = true;
}

void CommitCrime(SimHost& host, Vector3 at) {
  host.Tell({PlayerInput::Kind::CommitCrime, {}, 0, 0, at});
  host.world.CommitCrime(at);
}

void ApplyPlayerInput(SimHost& host, const PlayerInput& in) {
  using K = PlayerInput::Kind;
  switch (in.kind) {
    case K::Press:
      host.Press(in.name.c_str(), in.pad);
      return;
    case K::Move:
      host.MovePlayer(in.at);
      return;
    case K::Hold:
    case K::Release:
      HoldControl(host, in.name.c_str(), in.kind == K::Hold);
      return;
    case K::KnockDown:
      KnockDown(host, in.target);
      return;
    case K::Kill:
      Kill(host, in.target);
      return;
    case K::Loot:
      Loot(host, in.target);
      return;
    case K::PickUp:
      PickUp(host, in.target);
      return;
    case K::PutDown:
      PutDown(host);
      return;
    case K::EnterVehicle:
      EnterVehicle(host, in.target);
      return;
    case K::LeaveVehicle:
      LeaveVehicle(host);
      return;
    case K::DrawWeapon:
      DrawWeapon(host, in.name.c_str());
      return;
    case K::SetMoney:
      SetMoney(host, in.target);
      return;
    case K::KillPlayer:
      KillPlayer(host);
      return;
    case K::SeenBy:
      LetPedSeePlayer(host, in.target);
      return;
    case K::CommitCrime:
      CommitCrime(host, in.at);
      return;
  }
}

int32_t NearestPedOfModel(SimHost& host, const char* model, Vector3 near) {
  const Hash hash = GameHash(model);
  int32_t best = 0;
  float bestDistance = 0.0f;
  for (const auto& [handle, e] : host.world.entities) {
    if (e.kind != EntityKind::Ped || e.model != hash) continue;
    const float d = Distance(e.position, near);
    if (!best || d < bestDistance) {
      best = handle;
      bestDistance = d;
    }
  }
  return best;
}

int32_t EntityOfBlip(SimHost& host, int32_t blip) {
  const SimBlip* b = host.world.blips.Find(blip);
  return b && b->kind == BlipKind::Entity ? b->entity : 0;
}

}  // namespace brimvale::sim
