#pragma once

#include "core/native/natives.h"

namespace brimvale {

// Script globals that hold the player's model for the game's own player-state refresh.
inline constexpr int32_t kPlayerModelGlobal = 40;
inline constexpr int32_t kPlayerModelGlobalSlot = 39;
inline constexpr int32_t kSessionModelGlobal = 1935630;
inline constexpr int32_t kSessionModelGlobalSlot = 2;

// Makes the player the given ped model ("MP_MALE" or "MP_FEMALE") through the two script globals,
// falling back to a direct model change when the game did not take it. `playerPed` is the ped the
// caller took before it began the switch; the fallback changes that ped.
void SwitchPlayerModel(const char* modelName, Ped playerPed);
// The same with the player ped taken now.
void SwitchPlayerModel(const char* modelName);

}  // namespace brimvale
