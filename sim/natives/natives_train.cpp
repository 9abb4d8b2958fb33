// Trains, prompts, objects and carrying, the law, mounts and placement, combat set-up, weapon
// groups and ammunition, and the radar.
#include <algorithm>
#include <cmath>

#include "hook/host.h"

namespace brimvale::sim {
namespace {

constexpr int32_t kCarriedState = 5;
constexpr int32_t kPuttingDownState = 6;
constexpr int32_t kFirstAmbientTrain = 30001;  // trains the game runs itself, apart from others

// The models of the robbery's configuration and its bag; the other names the robbery loads
// before the train are not models of this game and are skipped.
constexpr const char* kRobberyModels[] = {"NORTHSTEAMER01X",   "northcoalcar01x",
                                          "northpassenger01x", "privatebaggage01X",
                                          "caboose01x",        "s_mp_moneybag02x"};

float Distance(Vector3 a, Vector3 b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

float FlatDistance(Vector3 a, Vector3 b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
}

bool IsPlayer(SimHost& h, int32_t player) {
  return player == h.world.player.index;
}

// The weapon of this kind the ped holds, or null.
SimWeapon* HeldWeapon(SimHost& h, int32_t ped, Hash weapon) {
  if (!h.world.Find(ped)) return nullptr;
  auto it = h.world.scene.peds.find(ped);
  if (it == h.world.scene.peds.end()) return nullptr;
  for (SimWeapon& w : it->second.weapons) {
    if (w.weapon == weapon) return &w;
  }
  return nullptr;
}

void RemoveTrain(World& w, int32_t handle) {
  auto it = w.trains.byHandle.find(handle);
  if (it == w.trains.byHandle.end()) return;
  w.entities.erase(it->second.driver);
  w.entities.erase(handle);
  std::erase(w.trains.order, handle);
  w.trains.byHandle.erase(it);
  w.trains.deletedTrains.push_back(handle);
}

int32_t AddTrain(World& w, int32_t handle, Hash configuration, Vector3 at, bool mission,
                 int64_t frame) {
  w.entities[handle] = SimEntity{handle, EntityKind::Vehicle, configuration, at, 0.0f};
  w.entities[handle].missionOwned = mission;
  SimTrain train;
  train.configuration = configuration;
  train.mission = mission;
  train.madeFrame = frame;
  // A mission train's driver comes with the train and goes with it.
  if (mission) train.driver = w.Spawn(EntityKind::Ped, GameHash("TRAIN_DRIVER"), at, 0.0f);
  w.trains.byHandle[handle] = train;
  w.trains.order.push_back(handle);
  return handle;
}

void RegisterViewAndRadar(SimHost& host) {
  host.On(SetRadarFlag,
          [](SimHost& h, const NativeCall& c) { h.world.trains.radarShown = c.Int(0) != 0; });
}

void RegisterPlacementAndMounts(SimHost& host) {
  host.On(GetEntityOffsetPosition, [](SimHost& h, const NativeCall& c) {
    const SimEntity* e = h.world.Find(c.Int(0));
    if (!e) return;
    const float rad = e->heading * 3.14159265f / 180.0f;
    const Vector3 offset = c.Vec(1);
    c.ReturnVector({e->position.x + offset.x * std::cos(rad) - offset.y * std::sin(rad),
                    e->position.y + offset.x * std::sin(rad) + offset.y * std::cos(rad),
                    e->position.z + offset.z});
  });
  host.On(PlaceEntityWithHeading, [](SimHost& h, const NativeCall& c) {
    SimEntity* e = h.world.Find(c.Int(0));
    if (!e) return;
    e->position = c.Vec(1);
    e->heading = c.Float(4);
    if (e->handle == h.world.trains.mountedOn) h.world.PlayerEntity().position = e->position;
  });
  host.On(PlayerMount, [](SimHost& h, const NativeCall& c) {
    if (!IsPlayer(h, c.Int(0))) return;
    TrainWorld& t = h.world.trains;
    if (!h.world.Find(t.horse)) {
      Vector3 at = h.world.PlayerEntity().position;
      at.x += 2.0f;
      t.horse = h.world.Spawn(EntityKind::Ped, GameHash("A_C_HORSE_PLAYER"), at, 0.0f);
    }
    c.ReturnInt(t.horse);
  });
  host.On(SetPedOnMount, [](SimHost& h, const NativeCall& c) {
    SimEntity* mount = h.world.Find(c.Int(1));
    if (c.Int(0) != h.world.player.ped || !mount || mount->kind != EntityKind::Ped) return;
    h.world.trains.mountedOn = mount->handle;
    h.world.PlayerEntity().position = mount->position;
  });
  host.On(SetMountMotion, [](SimHost& h, const NativeCall& c) {
    if (h.world.Find(c.Int(0))) h.world.trains.mountMotion[c.Int(0)] = c.Int(1);
  });
}

void RegisterPrompts(SimHost& host) {
  host.On(PromptRegisterBegin, [](SimHost& h, const NativeCall& c) {
    auto& prompts = h.world.trains.prompts;
    int32_t handle = 1;
    while (prompts.count(handle))
      ++handle;
    prompts[handle] = SimPrompt{};
    c.ReturnInt(handle);
  });
  auto with = [](SimHost& h, const NativeCall& c) -> SimPrompt* {
    auto it = h.world.trains.prompts.find(c.Int(0));
    return it == h.world.trains.prompts.end() ? nullptr : &it->second;
  };
  host.On(PromptSetControlAction, [with](SimHost& h, const NativeCall& c) {
    if (SimPrompt* p = with(h, c)) p->control = c.UInt(1);
  });
  host.On(PromptSetText, [with](SimHost& h, const NativeCall& c) {
    if (SimPrompt* p = with(h, c)) p->text = c.Str(1);
  });
  host.On(PromptSetHoldMode, [with](SimHost& h, const NativeCall& c) {
    if (SimPrompt* p = with(h, c)) p->holdMode = c.Int(1);
  });
  host.On(PromptRegisterEnd, [with](SimHost& h, const NativeCall& c) {
    if (SimPrompt* p = with(h, c)) p->registered = true;
  });
  host.On(PromptSetEnabled, [with](SimHost& h, const NativeCall& c) {
    if (SimPrompt* p = with(h, c)) p->enabled = c.Bool(1);
  });
  host.On(PromptSetVisible, [with](SimHost& h, const NativeCall& c) {
    if (SimPrompt* p = with(h, c)) p->visible = c.Bool(1);
  });
  host.On(PromptDelete,
          [](SimHost& h, const NativeCall& c) { h.world.trains.prompts.erase(c.Int(0)); });
  host.On(PromptIsValid, [with](SimHost& h, const NativeCall& c) {
    const SimPrompt* p = with(h, c);
    c.ReturnBool(p && p->registered);
  });
  host.On(PromptHasHoldCompleted, [with](SimHost& h, const NativeCall& c) {
    const SimPrompt* p = with(h, c);
    c.ReturnBool(p && p->holdCompleted);
  });
}

void RegisterTrains(SimHost& host) {
  host.On(CreateMissionTrain, [](SimHost& h, const NativeCall& c) {
    World& w = h.world;
    c.ReturnInt(AddTrain(w, w.nextHandle++, c.UInt(0), c.Vec(1), true, h.Frame()));
  });
  // The state settles a few frames after the train is made.
  host.On(ReadTrainState, [](SimHost& h, const NativeCall& c) {
    auto it = h.world.trains.byHandle.find(c.Int(0));
    if (it == h.world.trains.byHandle.end()) return c.ReturnInt(0);
    const int64_t age = h.Frame() - it->second.madeFrame;
    c.ReturnInt(static_cast<int32_t>(std::min<int64_t>(age, h.world.trains.trainSettleFrames)));
  });
  auto with = [](SimHost& h, const NativeCall& c) -> SimTrain* {
    auto it = h.world.trains.byHandle.find(c.Int(0));
    return it == h.world.trains.byHandle.end() ? nullptr : &it->second;
  };
  host.On(SetTrainSpeed, [with](SimHost& h, const NativeCall& c) {
    if (SimTrain* t = with(h, c)) t->speed = c.Float(1);
  });
  host.On(SetTrainTargetSpeed, [with](SimHost& h, const NativeCall& c) {
    if (SimTrain* t = with(h, c)) t->targetSpeed = c.Float(1);
  });
  host.On(SetTrainSpeedLimit, [with](SimHost& h, const NativeCall& c) {
    if (SimTrain* t = with(h, c)) t->speedLimit = c.Float(1);
  });
  host.On(SetTrainStopFlag, [with](SimHost& h, const NativeCall& c) {
    if (SimTrain* t = with(h, c)) t->stopFlag = c.Int(1);
  });
  host.On(GetVehicleSeatPed, [with](SimHost& h, const NativeCall& c) {
    const SimTrain* t = with(h, c);
    if (t && c.Int(1) == -1 && h.world.Find(t->driver)) c.ReturnInt(t->driver);
  });
  host.On(GetTrainAtIndex, [](SimHost& h, const NativeCall& c) {
    const auto& order = h.world.trains.order;
    const int32_t index = c.Int(0);
    if (index >= 0 && static_cast<size_t>(index) < order.size()) c.ReturnInt(order[index]);
  });
  host.On(DeleteTrain, [](SimHost& h, const NativeCall& c) {
    Vehicle* train = c.Ptr<Vehicle>(0);
    if (!train) return;
    if (train->id) RemoveTrain(h.world, train->id);
    train->id = 0;
  });
  host.On(DiscardTrain, [](SimHost& h, const NativeCall& c) {
    Vehicle* train = c.Ptr<Vehicle>(0);
    if (!train) return;
    if (h.world.trains.byHandle.count(train->id)) {
      h.world.trains.discardedTrains.push_back(train->id);
      h.world.entities[train->id].missionOwned = false;
    }
    train->id = 0;
  });
  host.On(SetTrainWorldFlag,
          [](SimHost& h, const NativeCall& c) { h.world.trains.ambientTrains = c.Int(0) != 0; });
  host.On(ResetTrainWorld,
          [](SimHost& h, const NativeCall&) { ++h.world.trains.trainWorldResets; });
  host.On(FreezeTrainWorld,
          [](SimHost& h, const NativeCall&) { h.world.trains.trainWorldFrozen = true; });
  host.On(SetNamedTrackOption, [](SimHost& h, const NativeCall& c) {
    h.world.trains.trackOptions[c.UInt(0)] = c.Int(1);
  });
  host.On(IsPlayerOnTrain, [](SimHost& h, const NativeCall& c) {
    if (!IsPlayer(h, c.Int(0))) return c.ReturnBool(false);
    const Vector3 at = h.world.PlayerEntity().position;
    for (int32_t train : h.world.trains.order) {
      const SimEntity* e = h.world.Find(train);
      if (e && FlatDistance(e->position, at) <= h.world.trains.boardingRange) {
        return c.ReturnBool(true);
      }
    }
    c.ReturnBool(false);
  });
}

void RegisterObjects(SimHost& host) {
  host.On(CreateObject, [](SimHost& h, const NativeCall& c) {
    World& w = h.world;
    auto model = w.models.find(c.UInt(0));
    if (model == w.models.end() || !model->second.loaded) return c.ReturnInt(0);
    const int32_t handle = w.Spawn(EntityKind::Object, c.UInt(0), c.Vec(1), 0.0f);
    w.entities[handle].missionOwned = true;
    w.trains.objects[handle] = SimObject{};
    c.ReturnInt(handle);
  });
  auto with = [](SimHost& h, const NativeCall& c) -> SimObject* {
    if (!h.world.Find(c.Int(0))) return nullptr;
    auto it = h.world.trains.objects.find(c.Int(0));
    return it == h.world.trains.objects.end() ? nullptr : &it->second;
  };
  host.On(SetObjectFlag, [with](SimHost& h, const NativeCall& c) {
    if (SimObject* o = with(h, c)) o->flags[c.Int(1)] = c.Bool(2);
  });
  host.On(SetObjectOption, [with](SimHost& h, const NativeCall& c) {
    if (SimObject* o = with(h, c)) o->option = c.Int(1);
  });
  host.On(SetObjectConfig, [with](SimHost& h, const NativeCall& c) {
    if (SimObject* o = with(h, c)) o->config = c.UInt(1);
  });
  host.On(EnableObjectInteraction, [with](SimHost& h, const NativeCall& c) {
    if (SimObject* o = with(h, c)) o->interactive = c.Int(1) != 0;
  });
  host.On(GetCarryState, [](SimHost& h, const NativeCall& c) {
    const TrainWorld& t = h.world.trains;
    const int32_t entity = c.Int(0);
    int32_t state = 0;
    if (entity != 0 && entity == t.carried) state = kCarriedState;
    if (entity != 0 && entity == t.puttingDown) state = kPuttingDownState;
    c.ReturnInt(state);
  });
  host.On(GetCarriedEntity, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == h.world.player.ped) c.ReturnInt(h.world.trains.carried);
  });
  host.On(TaskPlaceCarriedEntity, [](SimHost& h, const NativeCall& c) {
    TrainWorld& t = h.world.trains;
    if (c.Int(0) != h.world.player.ped || t.carried == 0 || t.carried != c.Int(1)) return;
    if (SimEntity* e = h.world.Find(t.carried)) e->position = c.Vec(2);
    t.placed.emplace_back(t.carried, c.Vec(2));
    t.carried = 0;
  });
}

void RegisterCombat(SimHost& host) {
  auto combat = [](SimHost& h, const NativeCall& c) -> PedCombat* {
    const SimEntity* e = h.world.Find(c.Int(0));
    return e && e->kind == EntityKind::Ped ? &h.world.trains.combat[c.Int(0)] : nullptr;
  };
  host.On(PreparePedForCombat, [combat](SimHost& h, const NativeCall& c) {
    if (PedCombat* p = combat(h, c)) p->prepared = true;
  });
  host.On(SetPedCombatStyle, [combat](SimHost& h, const NativeCall& c) {
    if (PedCombat* p = combat(h, c)) p->style = c.Int(1);
  });
  host.On(SetPedCombatOption, [combat](SimHost& h, const NativeCall& c) {
    if (PedCombat* p = combat(h, c)) p->option = c.Int(1);
  });
  host.On(SetPedCombatFlag, [combat](SimHost& h, const NativeCall& c) {
    if (PedCombat* p = combat(h, c)) p->flag = c.Int(1);
  });
  host.On(SetPedCombatLevel, [combat](SimHost& h, const NativeCall& c) {
    if (PedCombat* p = combat(h, c)) p->level = c.Int(1);
  });
  // A living ped senses another that is close enough.
  host.On(PedSensesPed, [](SimHost& h, const NativeCall& c) {
    const SimEntity* a = h.world.Find(c.Int(0));
    const SimEntity* b = h.world.Find(c.Int(1));
    c.ReturnBool(a && b && !a->dead &&
                 Distance(a->position, b->position) <= h.world.trains.senseRange);
  });
}

void RegisterWeapons(SimHost& host) {
  host.On(FindPedWeaponOfGroup, [](SimHost& h, const NativeCall& c) {
    Hash* out = c.Ptr<Hash>(1);
    auto ped = h.world.scene.peds.find(c.Int(0));
    if (!h.world.Find(c.Int(0)) || ped == h.world.scene.peds.end()) return c.ReturnBool(false);
    for (const SimWeapon& w : ped->second.weapons) {
      auto kind = h.world.trains.weaponKinds.find(w.weapon);
      if (kind != h.world.trains.weaponKinds.end() && kind->second.group == c.Int(3)) {
        if (out) *out = w.weapon;
        return c.ReturnBool(true);
      }
    }
    c.ReturnBool(false);
  });
  host.On(IsWeaponUsable, [](SimHost& h, const NativeCall& c) {
    auto kind = h.world.trains.weaponKinds.find(c.UInt(0));
    c.ReturnBool(kind != h.world.trains.weaponKinds.end() && kind->second.usable);
  });
  host.On(SetCurrentPedWeapon, [](SimHost& h, const NativeCall& c) {
    if (HeldWeapon(h, c.Int(0), c.UInt(1))) h.world.trains.currentWeapon[c.Int(0)] = c.UInt(1);
  });
  host.On(GetWeaponCapacity, [](SimHost& h, const NativeCall& c) {
    auto kind = h.world.trains.weaponKinds.find(c.UInt(1));
    if (HeldWeapon(h, c.Int(0), c.UInt(1)) && kind != h.world.trains.weaponKinds.end()) {
      c.ReturnInt(kind->second.capacity);
    }
  });
  host.On(SetWeaponAmmoCount, [](SimHost& h, const NativeCall& c) {
    if (SimWeapon* w = HeldWeapon(h, c.Int(0), c.UInt(1))) w->ammo = c.Int(2);
  });
  host.On(RefreshPedWeapon,
          [](SimHost& h, const NativeCall&) { ++h.world.trains.weaponRefreshes; });
}

void RegisterLaw(SimHost& host) {
  host.On(SetLawFlagBeforeCrimeReport,
          [](SimHost& h, const NativeCall& c) { h.world.trains.lawFlags['A'] = c.Int(0); });
  host.On(SetLawFlagAfterCrimeReport,
          [](SimHost& h, const NativeCall& c) { h.world.trains.lawFlags['B'] = c.Int(0); });
  host.On(SetLawFlagEndingCrimeReport,
          [](SimHost& h, const NativeCall& c) { h.world.trains.lawFlags['C'] = c.Int(0); });
  host.On(ReportCrime, [](SimHost& h, const NativeCall& c) {
    TrainWorld& t = h.world.trains;
    t.crimes.push_back({h.Frame(), c.Int(0), c.UInt(1)});
    h.world.CommitCrime(h.world.PlayerEntity().position);
  });
  host.On(IsLawResponding, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(IsPlayer(h, c.Int(0)) && h.world.trains.lawResponding &&
                 h.world.life.wantedLevel > 0);
  });
  host.On(DispatchLawToCoord, [](SimHost& h, const NativeCall& c) {
    h.world.trains.dispatches.push_back({h.Frame(), c.Vec(0), c.UInt(3)});
    h.world.trains.lawResponding = true;
  });
}

// The player's hold on a shown prompt's control completes it after promptHoldMs.
void UpdatePrompts(SimHost& host) {
  TrainWorld& t = host.world.trains;
  for (auto& [handle, prompt] : t.prompts) {
    const bool shown = prompt.registered && prompt.enabled && prompt.visible;
    if (shown && prompt.holdMode != 0 && t.heldControls.count(prompt.control)) {
      prompt.heldMs += host.config.frameMs;
      if (prompt.heldMs >= t.promptHoldMs) prompt.holdCompleted = true;
    } else {
      prompt.heldMs = 0.0;
      prompt.holdCompleted = false;
    }
  }
}

// The player picks up an object within reach with INPUT_PICKUP_CARRIABLE and drops what he
// carries with INPUT_DROP_CARRIABLE; what he carries goes where he goes.
void UpdateCarrying(SimHost& host) {
  World& w = host.world;
  TrainWorld& t = w.trains;
  SimEntity& player = w.PlayerEntity();
  if (t.carried && (!w.Find(t.carried) || w.player.dead || player.dead)) t.carried = 0;
  if (t.puttingDown && (t.putDownMsLeft -= host.config.frameMs) <= 0.0) t.puttingDown = 0;
  if (t.carried && w.justPressed.count({0, GameHash("INPUT_DROP_CARRIABLE")})) {
    t.StartPutDown();
  } else if (!t.carried && w.justPressed.count({0, GameHash("INPUT_PICKUP_CARRIABLE")})) {
    for (const auto& [handle, object] : t.objects) {
      const SimEntity* e = w.Find(handle);
      if (e && object.interactive && Distance(e->position, player.position) <= t.pickUpRange) {
        t.carried = handle;
        break;
      }
    }
  }
  if (SimEntity* e = w.Find(t.carried)) e->position = player.position;
}

}  // namespace

void RegisterTrainNatives(SimHost& host) {
  RegisterViewAndRadar(host);
  RegisterPlacementAndMounts(host);
  RegisterPrompts(host);
  RegisterTrains(host);
  RegisterObjects(host);
  RegisterCombat(host);
  RegisterWeapons(host);
  RegisterLaw(host);
}

void SetUpTrainWorld(SimHost& host) {
  World& w = host.world;
  for (const char* name : kRobberyModels) {
    ModelState& model = w.models[GameHash(name)];
    model.valid = true;
    model.framesToLoad = host.config.modelLoadFrames;
  }
  ModelState& guard = w.models[GameHash("S_M_M_UniTrainGuards_01")];
  guard.valid = true;
  guard.pedKind = true;
  guard.framesToLoad = host.config.modelLoadFrames;

  // Two of the game's own trains run on the line far from everything.
  AddTrain(w, kFirstAmbientTrain, GameHash("AMBIENT_FREIGHT"), {2600.0f, -1400.0f, 42.0f}, false,
           0);
  AddTrain(w, kFirstAmbientTrain + 1, GameHash("AMBIENT_PASSENGER"), {-300.0f, 1700.0f, 120.0f},
           false, 0);

  w.trains.weaponKinds[GameHash("WEAPON_REVOLVER_CATTLEMAN")] = {2, 6, true};
  w.trains.weaponKinds[GameHash("WEAPON_REPEATER_CARBINE")] = {10, 7, true};
  w.trains.weaponKinds[GameHash("WEAPON_BOW")] = {10, 0, true};
}

void EndFrameTrain(SimHost& host) {
  World& w = host.world;
  UpdatePrompts(host);
  UpdateCarrying(host);
  TrainWorld& t = w.trains;
  if (w.life.wantedLevel > 0 &&
      Distance(w.PlayerEntity().position, t.lastSeen) > t.lawSearchRadius) {
    w.life.wantedLevel = 0;
    t.lawResponding = false;
  }
  // An entity's blip goes with the entity.
  std::erase_if(w.blips.blips, [&](const auto& item) {
    return item.second.kind == BlipKind::Entity && !w.Find(item.second.entity);
  });
}

}  // namespace brimvale::sim
