// Map blips and the screen fade.
#include "hook/host.h"

namespace brimvale::sim {
namespace {

int32_t MakeBlip(World& w, SimBlip blip) {
  blip.handle = w.blips.nextHandle++;
  w.blips.blips[blip.handle] = blip;
  return blip.handle;
}

// The player's own blip always exists in the game; the host makes it the first time it is asked.
int32_t MainPlayerBlip(World& w) {
  if (!w.blips.Find(w.blips.playerBlip)) {
    SimBlip blip;
    blip.kind = BlipKind::Player;
    blip.entity = w.player.ped;
    blip.player = w.player.index;
    w.blips.playerBlip = MakeBlip(w, blip);
  }
  return w.blips.playerBlip;
}

Vector3 BlipPosition(World& w, const SimBlip& blip) {
  const int32_t followed = blip.kind == BlipKind::Player ? w.player.ped : blip.entity;
  if (blip.kind == BlipKind::Entity || blip.kind == BlipKind::Player) {
    if (SimEntity* e = w.Find(followed)) return e->position;
  }
  return blip.position;
}

void Fade(SimHost& h, bool out, int32_t ms) {
  h.world.blips.fade = ScreenFade{out, static_cast<double>(h.GameTime()), ms};
  h.world.blips.fades.push_back(FadeRequest{h.Frame(), out, ms});
}

}  // namespace

void RegisterBlipNatives(SimHost& host) {
  host.On(AddBlipForCoord, [](SimHost& h, const NativeCall& c) {
    SimBlip blip;
    blip.kind = BlipKind::Coord;
    blip.style = c.UInt(0);
    blip.position = c.Vec(1);
    c.ReturnInt(MakeBlip(h.world, blip));
  });
  host.On(AddBlipForRadius, [](SimHost& h, const NativeCall& c) {
    SimBlip blip;
    blip.kind = BlipKind::Radius;
    blip.style = c.UInt(0);
    blip.position = c.Vec(1);
    blip.radius = c.Float(4);
    c.ReturnInt(MakeBlip(h.world, blip));
  });
  host.On(AddBlipForEntity, [](SimHost& h, const NativeCall& c) {
    if (!h.world.Find(c.Int(1))) return;  // no entity, no blip
    SimBlip blip;
    blip.kind = BlipKind::Entity;
    blip.style = c.UInt(0);
    blip.entity = c.Int(1);
    c.ReturnInt(MakeBlip(h.world, blip));
  });
  host.On(GetBlipFromEntity, [](SimHost& h, const NativeCall& c) {
    const int32_t entity = c.Int(0);
    if (entity != 0 && entity == h.world.player.ped) {
      c.ReturnInt(MainPlayerBlip(h.world));
      return;
    }
    for (const auto& [handle, blip] : h.world.blips.blips) {
      if (blip.kind == BlipKind::Entity && blip.entity == entity && entity != 0) {
        c.ReturnInt(handle);
        return;
      }
    }
  });
  host.On(GetMainPlayerBlip,
          [](SimHost& h, const NativeCall& c) { c.ReturnInt(MainPlayerBlip(h.world)); });
  host.On(DoesBlipExist, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(h.world.blips.Find(c.Int(0)) != nullptr);
  });
  host.On(GetBlipCoords, [](SimHost& h, const NativeCall& c) {
    if (SimBlip* blip = h.world.blips.Find(c.Int(0))) c.ReturnVector(BlipPosition(h.world, *blip));
  });
  host.On(SetBlipCoords, [](SimHost& h, const NativeCall& c) {
    if (SimBlip* blip = h.world.blips.Find(c.Int(0))) blip->position = c.Vec(1);
  });
  host.On(SetBlipSprite, [](SimHost& h, const NativeCall& c) {
    if (SimBlip* blip = h.world.blips.Find(c.Int(0))) blip->sprite = c.UInt(1);
  });
  // The name is a display string from CreateVarString, which points at the text itself.
  host.On(SetBlipName, [](SimHost& h, const NativeCall& c) {
    if (SimBlip* blip = h.world.blips.Find(c.Int(0))) blip->name = c.Str(1);
  });
  host.On(SetBlipStyle, [](SimHost& h, const NativeCall& c) {
    if (SimBlip* blip = h.world.blips.Find(c.Int(0))) blip->style = c.UInt(1);
  });
  host.On(AddBlipModifier, [](SimHost& h, const NativeCall& c) {
    if (SimBlip* blip = h.world.blips.Find(c.Int(0))) blip->modifiers.push_back(c.UInt(1));
  });
  host.On(SetBlipPlayer, [](SimHost& h, const NativeCall& c) {
    if (SimBlip* blip = h.world.blips.Find(c.Int(0))) blip->player = c.Int(1);
  });
  // The game removes the blip and zeroes the caller's handle; the player's own blip stays.
  host.On(RemoveBlip, [](SimHost& h, const NativeCall& c) {
    Blip* handle = c.Ptr<Blip>(0);
    if (!handle) return;
    if (handle->id != h.world.blips.playerBlip) h.world.blips.blips.erase(handle->id);
    handle->id = 0;
  });

  host.On(ScreenFadeOut, [](SimHost& h, const NativeCall& c) { Fade(h, true, c.Int(0)); });
  host.On(ScreenFadeIn, [](SimHost& h, const NativeCall& c) { Fade(h, false, c.Int(0)); });
}

}  // namespace brimvale::sim
