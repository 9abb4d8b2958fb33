#include "core/native/player_model.h"

namespace brimvale {
namespace {

uint64_t* PlayerModelSlot() {
  return &Hook.getGlobalPtr(kPlayerModelGlobal)[kPlayerModelGlobalSlot];
}

uint64_t* SessionModelSlot() {
  return &Hook.getGlobalPtr(kSessionModelGlobal)[kSessionModelGlobalSlot];
}

}  // namespace

void SwitchPlayerModel(const char* modelName, Ped playerPed) {
  const Hash model = HashName(modelName);
  const uint64_t wanted = model;  // stored zero-extended

  if (IsModelValid(model) && IsModelPedKind(model)) {
    const uint64_t savedPlayerSlot = *PlayerModelSlot();
    const uint64_t savedSessionSlot = *SessionModelSlot();
    *PlayerModelSlot() = wanted;
    *SessionModelSlot() = wanted;
    RefreshPlayerState();
    ScriptWait(1000);
    RefreshPlayerState();
    // The refresh may have replaced the player's ped.
    const Ped ped = PlayerPed();
    SetPedDefaultVariation(ped, true);
    if (GetEntityModel(ped) != model) {
      *PlayerModelSlot() = savedPlayerSlot;
      *SessionModelSlot() = savedSessionSlot;
    }
  }

  if (*PlayerModelSlot() != wanted && *SessionModelSlot() != wanted) {
    RequestModel(model, true);
    while (!HasModelLoaded(model))
      ScriptWait(0);
    *PlayerModelSlot() = wanted;
    *SessionModelSlot() = wanted;
    SetPlayerModel(playerPed, model, 1);
    ReleaseModel(model);
  }
}

void SwitchPlayerModel(const char* modelName) {
  SwitchPlayerModel(modelName, PlayerPed());
}

}  // namespace brimvale
