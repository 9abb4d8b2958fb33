#include "progression/death.h"

namespace brimvale {

// The death sequence arrives with the death and respawn work; until then the game's own runs.
void DeathRespawn() {}

}  // namespace brimvale
