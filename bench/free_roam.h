// Bringing a benchmark's game into steady free roam, as a player would, from a saved character.
#pragma once

#include "hook/host.h"

namespace brimvale::bench {

// Starts the campaign at its start point and runs until free roam is steady; false if it never
// started, so the benchmark can say so instead of measuring another screen.
bool EnterFreeRoam(sim::SimHost& host);

}  // namespace brimvale::bench
