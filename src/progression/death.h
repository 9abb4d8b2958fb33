#pragma once

namespace brimvale {

// The campaign's own death screen and respawn; does nothing while the player lives.
void DeathRespawn();

}  // namespace brimvale
