// A host whose natives do almost nothing, for measuring the plugin's own time: one frame is played
// in the simulated host and recorded, and from then on every native call of a frame returns what
// the same call of that frame returned, so the plugin walks the same path while the host does no
// work. The plugin's time is measured from each return of its wait to its next wait.
#pragma once

#include <cstdint>

#include "hook/host.h"

namespace brimvale::bench {

// Records the next frame of `host`, then takes over the hook's native calls and waits.
void ReplayNativesFromNextFrame(sim::SimHost& host);

// The plugin's time and its native calls in the last frame that ran.
double PluginSecondsLastFrame();
int64_t NativeCallsLastFrame();

}  // namespace brimvale::bench
