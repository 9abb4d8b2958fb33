// The player, models, script globals, controls, the timer and entity positions.
#include <cmath>

#include "core/native/player_model.h"
#include "hook/host.h"

namespace brimvale::sim {
namespace {

void ReplacePlayerPed(SimHost& host, Hash model) {
  // The game rebuilds the player's ped with the new model: a new handle at the same place, and
  // alive, whatever became of the old one.
  World& w = host.world;
  const SimEntity old = w.PlayerEntity();
  w.entities.erase(old.handle);
  w.player.ped = w.Spawn(EntityKind::Ped, model, old.position, old.heading);
  w.player.dead = false;
}

Hash GlobalModel(SimHost& host) {
  return static_cast<Hash>(host.HookGlobalPtr(kPlayerModelGlobal)[kPlayerModelGlobalSlot]);
}

}  // namespace

void RegisterCoreNatives(SimHost& host) {
  host.On(HashName, [](SimHost& h, const NativeCall& c) {
    const Hash hash = GameHash(c.Str(0));
    auto& names = h.world.shop.hashedNames;
    if (!names.contains(hash)) names.emplace(hash, c.Str(0));
    c.ReturnUInt(hash);
  });
  host.On(PlayerPed, [](SimHost& h, const NativeCall& c) { c.ReturnInt(h.world.player.ped); });
  host.On(PlayerIndex, [](SimHost& h, const NativeCall& c) { c.ReturnInt(h.world.player.index); });
  host.On(GameTimer, [](SimHost& h, const NativeCall& c) { c.ReturnInt(h.GameTimer()); });
  host.On(ControlJustPressed, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(h.world.justPressed.count({c.Int(0), c.UInt(1)}) > 0);
  });
  host.On(GetEntityCoords, [](SimHost& h, const NativeCall& c) {
    if (SimEntity* e = h.world.Find(c.Int(0))) c.ReturnVector(e->position);
  });
  host.On(GetEntityHeading, [](SimHost& h, const NativeCall& c) {
    if (SimEntity* e = h.world.Find(c.Int(0))) c.ReturnFloat(e->heading);
  });
  host.On(GetEntityForwardVector, [](SimHost& h, const NativeCall& c) {
    if (SimEntity* e = h.world.Find(c.Int(0))) {
      const float rad = e->heading * 3.14159265f / 180.0f;
      c.ReturnVector({-std::sin(rad), std::cos(rad), 0.0f});
    }
  });
  host.On(DistanceBetweenPoints, [](SimHost&, const NativeCall& c) {
    const float dx = c.Float(0) - c.Float(3);
    const float dy = c.Float(1) - c.Float(4);
    const float dz = c.Float(2) - c.Float(5);
    c.ReturnFloat(std::sqrt(dx * dx + dy * dy + dz * dz));
  });
  host.On(PedIsOccupied, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(c.Int(0) == h.world.player.ped && h.world.player.occupied);
  });
  host.On(DoesEntityExist,
          [](SimHost& h, const NativeCall& c) { c.ReturnBool(h.world.Find(c.Int(0)) != nullptr); });
  host.On(GetEntityModel, [](SimHost& h, const NativeCall& c) {
    if (SimEntity* e = h.world.Find(c.Int(0))) c.ReturnUInt(e->model);
  });
}

void RegisterModelNatives(SimHost& host) {
  host.On(IsModelValid, [](SimHost& h, const NativeCall& c) {
    auto it = h.world.models.find(c.UInt(0));
    c.ReturnBool(it != h.world.models.end() && it->second.valid);
  });
  host.On(IsModelPedKind, [](SimHost& h, const NativeCall& c) {
    auto it = h.world.models.find(c.UInt(0));
    c.ReturnBool(it != h.world.models.end() && it->second.valid && it->second.pedKind);
  });
  host.On(RequestModel, [](SimHost& h, const NativeCall& c) {
    auto it = h.world.models.find(c.UInt(0));
    if (it == h.world.models.end() || !it->second.valid || it->second.loaded) return;
    ModelState& model = it->second;
    if (model.framesLeft < 0) model.framesLeft = model.framesToLoad;
    if (model.framesLeft == 0) model.loaded = true;
  });
  host.On(HasModelLoaded, [](SimHost& h, const NativeCall& c) {
    auto it = h.world.models.find(c.UInt(0));
    c.ReturnBool(it != h.world.models.end() && it->second.loaded);
  });
  host.On(ReleaseModel, [](SimHost& h, const NativeCall& c) {
    auto it = h.world.models.find(c.UInt(0));
    if (it != h.world.models.end() && it->second.framesToLoad > 0) {
      it->second.loaded = false;
      it->second.framesLeft = -1;
    }
  });
  host.On(SetPlayerModel, [](SimHost& h, const NativeCall& c) {
    auto it = h.world.models.find(c.UInt(1));
    if (c.Int(0) != h.world.player.ped || it == h.world.models.end() || !it->second.loaded) return;
    ReplacePlayerPed(h, c.UInt(1));
  });
  host.On(RefreshPlayerState, [](SimHost& h, const NativeCall&) {
    if (!h.world.player.refreshUsesGlobals) return;
    const Hash model = GlobalModel(h);
    auto it = h.world.models.find(model);
    if (it == h.world.models.end() || !it->second.valid || !it->second.pedKind) return;
    if (h.world.PlayerEntity().model == model) return;
    if (h.world.player.refreshesIgnoringGlobals > 0) {
      --h.world.player.refreshesIgnoringGlobals;
      return;
    }
    ReplacePlayerPed(h, model);
  });
}

}  // namespace brimvale::sim
