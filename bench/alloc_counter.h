// Counts heap allocations made by the plugin's own code: the counting is on only while plugin
// code runs, and the host's side of every native call and wait is left out through trampolines
// in the hook table.
#pragma once

#include <cstdint>

namespace brimvale::bench {

// Allocations counted since the last reset.
int64_t PluginAllocations();
// Times the plugin's script came back from a wait with counting on (a check that it ran).
int64_t PluginResumes();
void ResetPluginAllocations();
// Turns counting on for plugin code run from now on the calling side.
void CountPluginAllocations(bool on);
// Wraps the hook table's native call and wait (after the host filled it) so that host work
// is not counted.
void ExcludeHostFromCounting();

}  // namespace brimvale::bench
