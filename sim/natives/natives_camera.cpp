// Script cameras, animations, and the player's teleports, freezes, motion states and heading.
#include "hook/host.h"

namespace brimvale::sim {
namespace {

SimCamera* CameraOf(SimHost& h, int32_t handle) {
  auto it = h.world.cameras.cameras.find(handle);
  return it == h.world.cameras.cameras.end() ? nullptr : &it->second;
}

bool IsPed(SimHost& h, int32_t handle) {
  const SimEntity* e = h.world.Find(handle);
  return e && e->kind == EntityKind::Ped;
}

bool PlayingNow(SimHost& h, const PedAnim& anim) {
  return anim.durationMs < 0 || h.GameTime() < anim.startedMs + anim.durationMs;
}

void RegisterCameras(SimHost& host) {
  host.On(CreateCameraAt, [](SimHost& h, const NativeCall& c) {
    CameraWorld& w = h.world.cameras;
    SimCamera cam;
    cam.handle = w.nextHandle++;
    cam.kind = c.Str(0);
    cam.position = c.Vec(1);
    cam.rotation = c.Vec(4);
    cam.fov = c.Float(7);
    w.cameras[cam.handle] = cam;
    c.ReturnInt(cam.handle);
  });
  host.On(AttachCameraToEntity, [](SimHost& h, const NativeCall& c) {
    SimCamera* cam = CameraOf(h, c.Int(0));
    if (!cam || !h.world.Find(c.Int(1))) return;
    cam->attachedTo = c.Int(1);
    cam->attachOffset = c.Vec(2);
  });
  host.On(PointCameraAtEntity, [](SimHost& h, const NativeCall& c) {
    SimCamera* cam = CameraOf(h, c.Int(0));
    if (!cam || !h.world.Find(c.Int(1))) return;
    cam->pointedAt = c.Int(1);
    cam->pointOffset = c.Vec(2);
  });
  host.On(SetCameraActive, [](SimHost& h, const NativeCall& c) {
    SimCamera* cam = CameraOf(h, c.Int(0));
    if (!cam) return;
    cam->active = c.Bool(1);
    if (cam->active) cam->activatedSeq = ++h.world.cameras.activations;
  });
  host.On(SetCameraFov, [](SimHost& h, const NativeCall& c) {
    if (SimCamera* cam = CameraOf(h, c.Int(0))) cam->fov = c.Float(1);
  });
  host.On(SetCameraCoord, [](SimHost& h, const NativeCall& c) {
    if (SimCamera* cam = CameraOf(h, c.Int(0))) cam->position = c.Vec(1);
  });
  host.On(SetCameraRotation, [](SimHost& h, const NativeCall& c) {
    if (SimCamera* cam = CameraOf(h, c.Int(0))) cam->rotation = c.Vec(1);
  });
  host.On(RenderScriptCameras, [](SimHost& h, const NativeCall& c) {
    CameraWorld& w = h.world.cameras;
    w.rendering = c.Bool(0);
    w.renders.push_back({h.Frame(), c.Bool(0), c.Bool(1), c.Int(2)});
  });
  // The blend makes `to` the camera seen; both report interpolating until it has run its time.
  host.On(InterpolateCameras, [](SimHost& h, const NativeCall& c) {
    SimCamera* to = CameraOf(h, c.Int(0));
    SimCamera* from = CameraOf(h, c.Int(1));
    h.world.cameras.blends.push_back({h.Frame(), c.Int(0), c.Int(1), c.Int(2), c.Int(3), c.Int(4)});
    if (!to) return;
    const double until = h.GameTime() + static_cast<double>(c.Int(2) > 0 ? c.Int(2) : 0);
    to->active = true;
    to->activatedSeq = ++h.world.cameras.activations;
    to->interpolatingUntilMs = until;
    if (from) from->interpolatingUntilMs = until;
  });
  host.On(IsCameraInterpolating, [](SimHost& h, const NativeCall& c) {
    const SimCamera* cam = CameraOf(h, c.Int(0));
    c.ReturnBool(cam && h.GameTime() < cam->interpolatingUntilMs);
  });
  host.On(DestroyCamera,
          [](SimHost& h, const NativeCall& c) { h.world.cameras.cameras.erase(c.Int(0)); });
  host.On(SetGameplayCameraRelativeHeading, [](SimHost& h, const NativeCall& c) {
    h.world.cameras.gameplayRelativeHeading = c.Float(0);
  });
}

void RegisterAnimations(SimHost& host) {
  host.On(RequestAnimDict, [](SimHost& h, const NativeCall& c) {
    h.world.cameras.animDicts.Request(c.Str(0), h.config.animDictLoadFrames);
  });
  host.On(HasAnimDictLoaded, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(h.world.cameras.AnimDictLoaded(c.Str(0)));
  });
  // A clip of a dictionary that is not loaded does not play; the ped keeps what it had.
  host.On(PlayPedAnim, [](SimHost& h, const NativeCall& c) {
    SimTask step;
    step.kind = TaskKind::PlayAnim;
    step.dict = c.Str(1);
    step.clip = c.Str(2);
    step.durationMs = c.Int(5);
    if (AddToOpenSequence(h.world, c.Int(0), step)) return;
    CameraWorld& w = h.world.cameras;
    if (!IsPed(h, c.Int(0)) || !w.AnimDictLoaded(c.Str(1))) return;
    PedAnim& anim = w.anims[c.Int(0)];
    const bool same = anim.dict == c.Str(1) && anim.clip == c.Str(2) && PlayingNow(h, anim);
    anim.plays = same ? anim.plays + 1 : 1;
    anim.dict = c.Str(1);
    anim.clip = c.Str(2);
    anim.blendIn = c.Float(3);
    anim.blendOut = c.Float(4);
    anim.durationMs = c.Int(5);
    anim.flags = c.Int(6);
    if (!same) anim.startedMs = h.GameTime();
  });
  host.On(IsPedPlayingAnim, [](SimHost& h, const NativeCall& c) {
    const PedAnim* anim = h.world.cameras.AnimOf(c.Int(0));
    c.ReturnBool(anim && IsPed(h, c.Int(0)) &&
                 DictTable::Key(anim->dict) == DictTable::Key(c.Str(1)) && anim->clip == c.Str(2) &&
                 PlayingNow(h, *anim));
  });
  host.On(HoldFrame,
          [](SimHost& h, const NativeCall&) { h.world.cameras.heldFrames.push_back(h.Frame()); });
}

void RegisterPlayerPlacement(SimHost& host) {
  host.On(TeleportPlayer, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) != h.world.player.index) return;
    SimEntity& ped = h.world.PlayerEntity();
    h.world.mission.playerVehicle = 0;  // a teleport takes the player out of any vehicle
    ped.position = c.Vec(1);
    ped.heading = c.Float(4);
    h.world.cameras.teleports.push_back({h.Frame(), ped.position, ped.heading, false});
  });
  host.On(SettlePlayerTeleport, [](SimHost& h, const NativeCall&) {
    CameraWorld& w = h.world.cameras;
    ++w.settles;
    if (!w.teleports.empty()) w.teleports.back().settled = true;
  });
  host.On(FreezeEntity, [](SimHost& h, const NativeCall& c) {
    if (!h.world.Find(c.Int(0))) return;
    if (c.Bool(1)) {
      h.world.cameras.frozen.insert(c.Int(0));
    } else {
      h.world.cameras.frozen.erase(c.Int(0));
    }
  });
  host.On(ForcePedMotionState, [](SimHost& h, const NativeCall& c) {
    if (!IsPed(h, c.Int(0))) return;
    h.world.cameras.motionStates[c.Int(0)] = {c.UInt(1), c.Int(2), c.Int(3), c.Int(4)};
  });
  host.On(AlignPlayerHeading, [](SimHost& h, const NativeCall& c) {
    if (c.Int(0) != h.world.player.index) return;
    h.world.PlayerEntity().heading = c.Float(3);
    h.world.cameras.alignments.push_back({h.Frame(), c.Float(1), c.Int(2), c.Float(3)});
  });
}

}  // namespace

void RegisterCameraNatives(SimHost& host) {
  RegisterCameras(host);
  RegisterAnimations(host);
  RegisterPlayerPlacement(host);
}

// Dictionaries being loaded move one frame closer; what belonged to peds that are gone (a model
// switch rebuilds the player's ped) goes with them.
void EndFrameCamera(SimHost& host) {
  World& world = host.world;
  world.cameras.animDicts.Tick();
  std::erase_if(world.cameras.anims, [&](const auto& entry) { return !world.Find(entry.first); });
  std::erase_if(world.cameras.frozen, [&](int32_t entity) { return !world.Find(entity); });
  std::erase_if(world.cameras.motionStates,
                [&](const auto& entry) { return !world.Find(entry.first); });
}

}  // namespace brimvale::sim
