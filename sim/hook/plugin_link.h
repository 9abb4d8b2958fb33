// How the plugin gets into the host's process. Off Windows it is linked in: a load resets its state
// and calls its entry with the host's hook table installed. On Windows it is the real
// Brimvale.asi: a load is a LoadLibrary, and the plugin finds the stand-in hook by its exports.
#pragma once

#include <string>

namespace brimvale::sim {

class SimHost;

// Loads the plugin for `host`, which has become the active host; null when it could not be loaded.
void* LoadPluginModule(SimHost& host);
// The plugin's detach, then its module is gone.
void UnloadPluginModule(void* module);
// Leaves nothing of the host behind in the plugin's hook table when the host goes.
void ReleasePluginLink();

// Where the plugin's DLL is (Windows); an absolute path, since scenarios change directory.
void SetPluginPath(const std::string& path);

}  // namespace brimvale::sim
