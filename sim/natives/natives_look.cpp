// The ped's look and the world options of the game mode.
#include "hook/host.h"

namespace brimvale::sim {
namespace {

// The game ignores calls on a handle that is not a ped of the world.
PedLook* LookOf(SimHost& h, int32_t ped) {
  SimEntity* e = h.world.Find(ped);
  if (!e || e->kind != EntityKind::Ped) return nullptr;
  return &h.world.look.Of(ped);
}

}  // namespace

void RegisterLookNatives(SimHost& host) {
  host.On(SetPedTextureLayer, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) {
      const TextureLayer layer{c.UInt(1), c.UInt(2), c.UInt(3), c.UInt(4),
                               c.UInt(5), c.Int(6),  c.Int(7),  c.Int(8)};
      look->layers[layer.mesh] = layer;
    }
  });
  host.On(SetPedFaceFeature, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->faceFeatures[c.Int(1)] = c.Float(2);
  });
  host.On(SetPedBodyType, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->bodyType = c.UInt(1);
  });
  host.On(SetPedTraitValue, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->trait = c.Float(1);
  });
  host.On(ApplyShopItemToPed, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->clothing.push_back({false, c.UInt(1)});
  });
  host.On(RemovePedComponentCategory, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->clothing.push_back({true, c.UInt(1)});
  });
  host.On(SetPedDefaultVariation, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->clothing.clear();
  });
  host.On(UpdatePedVariation, [](SimHost& h, const NativeCall& c) {
    PedLook* look = LookOf(h, c.Int(0));
    if (!look) return;
    const int32_t form[5] = {c.Int(1), c.Int(2), c.Int(3), c.Int(4), c.Int(5)};
    if (form[0] == 1 && form[1] == 1 && form[2] == 1 && form[3] == 1 && form[4] == 1) {
      ++look->fullUpdates;
    } else if (form[0] == 0 && form[1] == 1 && form[2] == 0 && form[3] == 1 && form[4] == 0) {
      ++look->lightUpdates;
    }
  });
  host.On(SetPedVoiceStyle, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->voiceStyle = c.Str(1);
  });
  host.On(SetPedVoice, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->voice = c.UInt(1);
  });
  host.On(SetPedWalkStyle, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->walkStyle = c.Str(1);
  });
  host.On(SetPedFlagByName, [](SimHost& h, const NativeCall& c) {
    if (PedLook* look = LookOf(h, c.Int(0))) look->flags[c.Str(1)] = c.Int(2);
  });

  host.On(ApplyWorldHash,
          [](SimHost& h, const NativeCall& c) { h.world.look.worldHashes.push_back(c.UInt(0)); });
  host.On(GetLawContext,
          [](SimHost& h, const NativeCall& c) { c.ReturnInt(h.world.look.lawContext); });
  host.On(SetLawContextOption, [](SimHost& h, const NativeCall& c) {
    h.world.look.lawOptions.push_back({c.Int(0), c.Int(1), c.Int(2)});
  });
  host.On(SetDeathFlowFreeRoamFirst,
          [](SimHost& h, const NativeCall& c) { h.world.look.deathFlow[0] = c.Int(0); });
  host.On(SetDeathFlowFreeRoamSecond,
          [](SimHost& h, const NativeCall& c) { h.world.look.deathFlow[1] = c.Int(0); });
  host.On(SetDeathFlowDeathScreenFirst,
          [](SimHost& h, const NativeCall& c) { h.world.look.deathFlow[2] = c.Int(0); });
  host.On(SetDeathFlowDeathScreenSecond,
          [](SimHost& h, const NativeCall& c) { h.world.look.deathFlow[3] = c.Int(0); });
  host.On(SetCampaignStartFlag,
          [](SimHost& h, const NativeCall& c) { h.world.look.campaignStartFlag = c.Int(0); });
}

}  // namespace brimvale::sim
