// The player's death and resurrection, the game's random numbers, the searches for a place to
// respawn, time scale, menu blocks, the player scalar, dead eye and the wanted level.
#include "hook/host.h"

namespace brimvale::sim {
namespace {

void WriteOut(const NativeCall& c, int slot, Vector3 at) {
  if (OutVector3* out = c.Ptr<OutVector3>(slot)) {
    out->x = at.x;
    out->y = at.y;
    out->z = at.z;
  }
}

// A refusal left makes this search report nothing and uses the refusal up.
bool Refuses(int32_t& refusals) {
  if (refusals <= 0) return false;
  --refusals;
  return true;
}

void RegisterLife(SimHost& host) {
  host.On(IsPlayerDead, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(c.Int(0) == h.world.player.index && h.world.player.dead);
  });
  host.On(KillPed, [](SimHost& h, const NativeCall& c) { h.world.Kill(c.Int(0), h.Frame()); });
  // The game brings the ped back in its default clothes at full health.
  host.On(ResurrectPed, [](SimHost& h, const NativeCall& c) {
    SimEntity* e = h.world.Find(c.Int(0));
    if (!e || !e->dead) return;
    e->dead = false;
    h.world.look.Of(e->handle).clothing.clear();
    if (e->handle == h.world.player.ped) {
      h.world.player.dead = false;
      ++h.world.life.resurrections;
    }
  });
  host.On(SetPedProtected, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == h.world.player.ped) h.world.life.protectedPed = c.Bool(1);
  });
  host.On(SetPlayerDeathState, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == h.world.player.index) h.world.life.deathState = c.Bool(1);
  });
  host.On(SetDeathDisplayFlag,
          [](SimHost& h, const NativeCall& c) { h.world.life.deathDisplay = c.Bool(0); });
  host.On(HoldTransitionFlag,
          [](SimHost& h, const NativeCall&) { ++h.world.life.transitionHolds; });
  host.On(ResetViewState, [](SimHost& h, const NativeCall&) { ++h.world.life.viewResets; });
  host.On(StartScreenEffect, [](SimHost& h, const NativeCall& c) {
    h.world.life.screenEffects.push_back({h.Frame(), c.Str(0)});
  });
  host.On(SetEntityCoords, [](SimHost& h, const NativeCall& c) {
    SimEntity* e = h.world.Find(c.Int(0));
    if (!e) return;
    e->position = c.Vec(1);
    if (e->handle == h.world.player.ped) h.world.life.teleports.push_back({h.Frame(), e->position});
    // Placing a ped takes it off its horse; placing the horse takes its rider along.
    if (e->handle == h.world.player.ped) h.world.trains.mountedOn = 0;
    if (e->handle == h.world.trains.mountedOn) h.world.PlayerEntity().position = e->position;
  });
  host.On(GetPlayerWantedLevel, [](SimHost& h, const NativeCall& c) {
    c.ReturnInt(c.Int(0) == h.world.player.index ? h.world.life.wantedLevel : 0);
  });
}

void RegisterSearches(SimHost& host) {
  host.On(FindNearbyNode, [](SimHost& h, const NativeCall& c) {
    PlayerWorld& life = h.world.life;
    if (Refuses(life.nodeRefusals)) return c.ReturnBool(false);
    const Vector3 at = c.Vec(0);
    WriteOut(c, 3, {at.x + life.nodeOffset.x, at.y + life.nodeOffset.y, at.z + life.nodeOffset.z});
    c.ReturnBool(true);
  });
  host.On(FindSafeSpawnPoint, [](SimHost& h, const NativeCall& c) {
    PlayerWorld& life = h.world.life;
    life.safeSpotQueries.push_back(c.Vec(0));
    if (Refuses(life.safeSpotRefusals)) return c.ReturnBool(false);
    WriteOut(c, 4, c.Vec(0));
    c.ReturnBool(true);
  });
}

// The game's random calls: the integer draw never gives the high bound, the float draw may.
void RegisterRandom(SimHost& host) {
  host.On(RandomIntInRange, [](SimHost& h, const NativeCall& c) {
    GameRandom& r = h.world.life.random;
    if (!r.forcedInts.empty()) {
      c.ReturnInt(r.forcedInts.front());
      r.forcedInts.pop_front();
      return;
    }
    const int32_t low = c.Int(0);
    const int32_t high = c.Int(1);
    if (high <= low) return c.ReturnInt(low);
    c.ReturnInt(std::uniform_int_distribution<int32_t>(low, high - 1)(r.engine));
  });
  host.On(RandomFloat, [](SimHost& h, const NativeCall& c) {
    GameRandom& r = h.world.life.random;
    if (!r.forcedFloats.empty()) {
      c.ReturnFloat(r.forcedFloats.front());
      r.forcedFloats.pop_front();
      return;
    }
    const float low = c.Float(0);
    const float high = c.Float(1);
    if (!(high > low)) return c.ReturnFloat(low);
    c.ReturnFloat(std::uniform_real_distribution<float>(low, high)(r.engine));
  });
}

void RegisterFreeRoamSettings(SimHost& host) {
  host.On(SetTimeScale, [](SimHost& h, const NativeCall& c) {
    h.world.life.timeScale = c.Float(0);
    h.world.life.timeScales.push_back(c.Float(0));
  });
  host.On(SetPlayerScalar, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) != h.world.player.index) return;
    h.world.life.scalar = c.Float(1);
    ++h.world.life.scalarCalls;
  });
  host.On(GetPlayerName, [](SimHost& h, const NativeCall& c) {
    c.ReturnPtr(c.Int(0) == h.world.player.index ? h.world.life.name.c_str() : "");
  });
  host.On(IsPlayerMenuBlocked, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(c.Int(0) == h.world.player.index && h.world.life.playerMenuBlocked);
  });
  host.On(IsPedMenuBlocked, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(c.Int(0) == h.world.player.ped && h.world.life.pedMenuBlocked);
  });
  host.On(SetDeadEyeEnabled, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == h.world.player.index) h.world.life.deadEyeEnabled = c.Bool(1);
  });
  host.On(SetDeadEyeBlocked, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == h.world.player.index) h.world.life.deadEyeBlocked = c.Bool(1);
  });
  host.On(SetDeadEyeMultiplier, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) == h.world.player.index) h.world.life.deadEyeMultiplier = c.Float(1);
  });
}

}  // namespace

void RegisterProgressionNatives(SimHost& host) {
  RegisterLife(host);
  RegisterSearches(host);
  RegisterRandom(host);
  RegisterFreeRoamSettings(host);
}

}  // namespace brimvale::sim
