// Mission peds, vehicles and their set-up, relationship groups, money, dead eye, transitions,
// music, mission display modes, GPS routes, area clearing and the game's scripts.
#include <algorithm>
#include <cmath>

#include "hook/host.h"

namespace brimvale::sim {
namespace {

ScenePed* PedState(SimHost& host, int32_t handle) {
  SimEntity* e = host.world.Find(handle);
  if (!e || e->kind != EntityKind::Ped) return nullptr;
  return &host.world.scene.peds[handle];
}

float Distance(Vector3 a, Vector3 b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

// The game makes an entity only from a loaded model; otherwise the handle is 0.
int32_t CreateEntity(SimHost& host, const NativeCall& c, EntityKind kind) {
  World& w = host.world;
  auto model = w.models.find(c.UInt(0));
  if (model == w.models.end() || !model->second.loaded) return 0;
  if (w.scene.creationRefusals > 0) {
    --w.scene.creationRefusals;
    return 0;
  }
  const int32_t handle = w.Spawn(kind, c.UInt(0), c.Vec(1), c.Float(4));
  w.entities[handle].missionOwned = true;
  if (kind == EntityKind::Ped) {
    ScenePed& ped = w.scene.peds[handle];
    for (int i = 0; i < 4; ++i)
      ped.spawnFlags[i] = c.Int(5 + i);
  }
  return handle;
}

bool PedIsDown(SimHost& host, int32_t handle) {
  SimEntity* e = host.world.Find(handle);
  ScenePed* ped = PedState(host, handle);
  return e && ped && (e->dead || ped->down);
}

void RegisterEntities(SimHost& host) {
  host.On(CreatePed, [](SimHost& h, const NativeCall& c) {
    c.ReturnInt(CreateEntity(h, c, EntityKind::Ped));
  });
  host.On(CreateVehicle, [](SimHost& h, const NativeCall& c) {
    c.ReturnInt(CreateEntity(h, c, EntityKind::Vehicle));
  });
  host.On(DeleteEntity, [](SimHost& h, const NativeCall& c) {
    Entity* handle = c.Ptr<Entity>(0);
    if (!handle) return;
    // The game never deletes the player's own ped.
    if (handle->id != h.world.player.ped && h.world.entities.erase(handle->id) > 0) {
      h.world.scene.peds.erase(handle->id);
      h.world.scene.deleted.push_back(handle->id);
    }
    handle->id = 0;
  });
  host.On(ReleaseEntity, [](SimHost& h, const NativeCall& c) {
    Entity* handle = c.Ptr<Entity>(0);
    if (!handle) return;
    if (SimEntity* e = h.world.Find(handle->id)) {
      e->missionOwned = false;
      h.world.scene.released.push_back(handle->id);
    }
    handle->id = 0;
  });
}

void RegisterPeds(SimHost& host) {
  host.On(SetPedSpawnFlag, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->spawnFlag = c.Int(1);
  });
  host.On(SetPedBlockEvents, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->blockEvents = c.Bool(1);
  });
  host.On(GiveWeaponToPed, [](SimHost& h, const NativeCall& c) {
    ScenePed* p = PedState(h, c.Int(0));
    if (!p) return;
    SimWeapon weapon{c.UInt(1), c.Int(2), {}};
    for (int i = 3; i < c.argCount; ++i)
      weapon.flags.push_back(c.Int(i));
    p->weapons.push_back(weapon);
  });
  host.On(RemovePedWeapons, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) {
      p->weapons.clear();
      ++p->weaponsRemoved;
    }
  });
  host.On(ClearPedTasks, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) {
      p->combatTarget = 0;
      p->keepTask = false;
      ++p->tasksCleared;
    }
    ClearMissionTasks(h.world, c.Int(0));
  });
  host.On(TaskCombatPed, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->combatTarget = c.Int(1);
  });
  host.On(KeepPedTask, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->keepTask = c.Bool(1);
  });
  host.On(SetPedMaxHealth, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->maxHealth = c.Int(1);
  });
  host.On(SetAttributeCoreValue, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->attributeCores[c.Int(1)] = c.Int(2);
  });
  host.On(SetPedHighRankFlag, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->highRank = c.Int(1) != 0;
  });
  host.On(PreparePedForScene, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->preparedForScene = true;
  });
  host.On(SetPedSceneFlag, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->sceneFlags.push_back(c.Int(1));
  });

  // Perception reads the world: the guard's own switches and the distance between the two.
  host.On(PedPerceivesPed, [](SimHost& h, const NativeCall& c) {
    ScenePed* p = PedState(h, c.Int(0));
    SimEntity* viewer = h.world.Find(c.Int(0));
    SimEntity* target = h.world.Find(c.Int(1));
    if (!p || !viewer || !target || !p->seesPlayer) return c.ReturnBool(false);
    const float range = c.Float(3);
    c.ReturnBool(range <= 0.0f || Distance(viewer->position, target->position) <= range);
  });
  host.On(HasClearLineOfSight, [](SimHost& h, const NativeCall& c) {
    ScenePed* p = PedState(h, c.Int(0));
    c.ReturnBool(p && h.world.Find(c.Int(1)) && p->lineOfSight);
  });
  host.On(PedNoticesPed, [](SimHost& h, const NativeCall& c) {
    ScenePed* p = PedState(h, c.Int(0));
    c.ReturnInt(p && h.world.Find(c.Int(1)) && p->seesPlayer ? p->notices : 0);
  });
  host.On(IsPedDown, [](SimHost& h, const NativeCall& c) { c.ReturnBool(PedIsDown(h, c.Int(0))); });
}

void RegisterRelationships(SimHost& host) {
  host.On(AddRelationshipGroup, [](SimHost& h, const NativeCall& c) {
    RelGroup* out = c.Ptr<RelGroup>(1);
    const int32_t handle = static_cast<int32_t>(GameHash(c.Str(0)));
    h.world.scene.relGroups[handle] = SimRelGroup{c.Str(0), true};
    if (out) out->id = handle;
  });
  host.On(RemoveRelationshipGroup, [](SimHost& h, const NativeCall& c) {
    auto it = h.world.scene.relGroups.find(c.Int(0));
    if (it != h.world.scene.relGroups.end()) it->second.live = false;
  });
  host.On(SetPedRelationshipGroup, [](SimHost& h, const NativeCall& c) {
    if (ScenePed* p = PedState(h, c.Int(0))) p->relGroup = c.Int(1);
  });
  host.On(GetPedRelationshipGroup, [](SimHost& h, const NativeCall& c) {
    ScenePed* p = PedState(h, c.Int(0));
    c.ReturnInt(p ? p->relGroup : 0);
  });
  host.On(SetRelationshipBetweenGroups, [](SimHost& h, const NativeCall& c) {
    h.world.scene.relations[{c.Int(1), c.Int(2)}] = c.Int(0);
  });
}

void RegisterPlayerState(SimHost& host) {
  host.On(GetPlayerMoney,
          [](SimHost& h, const NativeCall& c) { c.ReturnInt(h.world.scene.money); });
  host.On(AddPlayerCash, [](SimHost& h, const NativeCall& c) {
    h.world.scene.money += c.Int(0);
    h.world.scene.cashAdded.emplace_back(c.Int(0), c.UInt(1));
  });
  host.On(RemovePlayerMoney, [](SimHost& h, const NativeCall& c) {
    h.world.scene.money = std::max(0, h.world.scene.money - std::max(0, c.Int(0)));
  });
  host.On(SetDeadEyeLevel,
          [](SimHost& h, const NativeCall& c) { h.world.scene.deadEyeLevel = c.Int(1); });
  host.On(SetDeadEyeAbilityLocked, [](SimHost& h, const NativeCall& c) {
    h.world.scene.deadEyeLocked[c.Int(1)] = c.Int(2) != 0;
  });
  host.On(SetPlayerControl, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == h.world.player.index) h.world.scene.playerControl = c.Bool(1);
  });
}

void RegisterTransitions(SimHost& host) {
  host.On(PrepareTransitionEffect, [](SimHost& h, const NativeCall& c) {
    auto& effects = h.world.scene.preparedEffects;
    auto [it, added] = effects.try_emplace(c.Str(0), static_cast<int32_t>(effects.size()) + 1);
    c.ReturnInt(it->second);
  });
  host.On(StartTransitionEffect, [](SimHost& h, const NativeCall& c) {
    h.world.scene.startedEffects.push_back(c.Int(0));
    h.world.scene.transitionFramesLeft = h.world.scene.transitionFrames;
  });
  host.On(StopTransitionEffect, [](SimHost& h, const NativeCall& c) {
    h.world.scene.stoppedEffects.emplace_back(c.Str(0));
    h.world.scene.transitionFramesLeft = 0;
  });
  host.On(ReleaseTransition,
          [](SimHost& h, const NativeCall&) { ++h.world.scene.releasedTransitions; });
  host.On(IsTransitionActive, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(h.world.scene.transitionFramesLeft > 0);
  });
  host.On(RequestTransitionScene, [](SimHost& h, const NativeCall& c) {
    h.world.scene.transitionScenes.try_emplace(c.Str(0), h.world.scene.transitionSceneLoadFrames);
  });
  host.On(HasTransitionSceneLoaded, [](SimHost& h, const NativeCall& c) {
    auto it = h.world.scene.transitionScenes.find(c.Str(0));
    c.ReturnBool(it != h.world.scene.transitionScenes.end() && it->second == 0);
  });
}

void RegisterMusic(SimHost& host) {
  host.On(TriggerMusicEvent, [](SimHost& h, const NativeCall& c) {
    SceneWorld& s = h.world.scene;
    int32_t& refusals = s.musicRefusals[c.Str(0)];
    const bool accepted = refusals <= 0;
    if (accepted) {
      s.playingMusic = c.Str(0);
    } else {
      --refusals;
    }
    s.music.push_back({h.Frame(), c.Str(0), accepted});
    c.ReturnBool(accepted);
  });
  host.On(PrepareMusicEvent, [](SimHost& h, const NativeCall& c) {
    h.world.scene.preparedMusic.emplace_back(c.Str(0));
    c.ReturnBool(true);
  });
  host.On(SetAudioFlag,
          [](SimHost& h, const NativeCall& c) { h.world.scene.audioFlags[c.Str(0)] = c.Bool(1); });
  // The game answers whether it played the event; a refused event answers false.
  host.On(TriggerAudioEvent, [](SimHost& h, const NativeCall& c) {
    h.world.scene.audioEvents.push_back(c.UInt(0));
    c.ReturnBool(h.world.scene.refusedAudioEvents.count(c.UInt(0)) == 0);
  });
}

void RegisterMissionModes(SimHost& host) {
  host.On(SetSceneOption,
          [](SimHost& h, const NativeCall& c) { h.world.scene.sceneOption = c.Int(0); });
  host.On(SetMissionUiMode,
          [](SimHost& h, const NativeCall& c) { h.world.scene.missionUiMode = c.Int(0); });
  host.On(SetSceneDisplayFlag,
          [](SimHost& h, const NativeCall& c) { h.world.scene.sceneDisplay = c.Bool(0); });
  host.On(SetWorldDisplayFlag,
          [](SimHost& h, const NativeCall& c) { h.world.scene.worldDisplay = c.Bool(0); });
  host.On(ShowMissionIntroCard, [](SimHost& h, const NativeCall& c) {
    h.world.scene.introCards.push_back({c.Str(3), c.Str(4), c.Str(5)});
  });
  host.On(GpsRouteBegin, [](SimHost& h, const NativeCall& c) {
    h.world.scene.gpsStyle = c.UInt(0);
    h.world.scene.gpsPoints.clear();
  });
  host.On(GpsRouteAddPoint,
          [](SimHost& h, const NativeCall& c) { h.world.scene.gpsPoints.push_back(c.Vec(0)); });
  host.On(GpsRouteShow,
          [](SimHost& h, const NativeCall& c) { h.world.scene.gpsShown = c.Bool(0); });
}

void RegisterAreasAndScripts(SimHost& host) {
  host.On(ClearArea, [](SimHost& h, const NativeCall& c) {
    h.world.scene.clearedAreas.push_back({c.Vec(0), c.Float(3), c.Int(4)});
  });
  // Ambient peds in range go; the player and the mission's own entities stay.
  host.On(ClearAreaOfAmbient, [](SimHost& h, const NativeCall& c) {
    World& w = h.world;
    w.scene.clearedAreas.push_back({c.Vec(0), c.Float(3), -1});
    std::erase_if(w.entities, [&](const auto& item) {
      const SimEntity& e = item.second;
      return e.kind == EntityKind::Ped && e.handle != w.player.ped && !e.missionOwned &&
             Distance(e.position, c.Vec(0)) <= c.Float(3);
    });
  });
  host.On(BeginThreadScan, [](SimHost& h, const NativeCall&) { h.world.scene.threadScan = 0; });
  host.On(NextThread, [](SimHost& h, const NativeCall& c) {
    SceneWorld& s = h.world.scene;
    while (s.threadScan < s.threads.size() && !s.threads[s.threadScan].running)
      ++s.threadScan;
    c.ReturnInt(s.threadScan < s.threads.size() ? s.threads[s.threadScan++].id : 0);
  });
  host.On(ThreadNameHash, [](SimHost& h, const NativeCall& c) {
    for (const GameThread& t : h.world.scene.threads) {
      if (t.id == c.Int(0) && t.running) return c.ReturnUInt(GameHash(t.name.c_str()));
    }
    c.ReturnUInt(0);
  });
  host.On(TerminateThread, [](SimHost& h, const NativeCall& c) {
    for (GameThread& t : h.world.scene.threads) {
      if (t.id == c.Int(0)) t.running = false;
    }
  });
}

}  // namespace

void RegisterSceneNatives(SimHost& host) {
  RegisterEntities(host);
  RegisterPeds(host);
  RegisterRelationships(host);
  RegisterPlayerState(host);
  RegisterTransitions(host);
  RegisterMusic(host);
  RegisterMissionModes(host);
  RegisterAreasAndScripts(host);
}

void EndFrameScene(SimHost& host) {
  SceneWorld& s = host.world.scene;
  if (s.transitionFramesLeft > 0) --s.transitionFramesLeft;
  for (auto& [name, framesLeft] : s.transitionScenes) {
    if (framesLeft > 0) --framesLeft;
  }
}

}  // namespace brimvale::sim
