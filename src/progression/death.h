// The campaign's own death screen and respawn.
#pragma once

#include <cstdint>

namespace brimvale {

// How long the respawn keeps looking for a safe spot behind the black screen before it settles
// for the nearby node, or the place of death: a death where the game knows no safe spot nearby
// (deep water, a cliff, the map's edge) must not leave the screen black for ever.
inline constexpr int32_t kSafeSpotSearchLimitMs = 10000;

// Does nothing while the player lives. On a death it runs the whole sequence in one call: death
// screen, black, resurrection 50 to 60 units off on each axis, the outfit put back on, fade in.
// No mission, money or progression state is touched.
void DeathRespawn();

}  // namespace brimvale
