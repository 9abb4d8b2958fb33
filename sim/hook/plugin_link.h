// How the plugin gets into the host's process. Off Windows it is linked in (a load resets its
// state and calls its entry with the host's hook table installed), or, when a plugin path is set,
// it is the plugin's shared library, loaded from a fresh copy of the file (the live game, which
// loads new builds). On Windows it is the real Brimvale.asi: a load is a LoadLibrary, and the
// plugin finds the stand-in hook by its exports.
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

// Windows: a plugin loaded before any host (it loaded the stand-in hook itself from the game's
// folder) registered with the hook when no host was there; those registrations go to `host` as
// if made with it.
void AdoptEarlyRegistration(SimHost& host);

// Where the plugin's DLL (Windows) or shared library is; an absolute path, since scenarios change
// directory. Empty off Windows: the plugin linked in.
void SetPluginPath(const std::string& path);
// Why the last load returned null, in one line.
const std::string& PluginLoadError();

}  // namespace brimvale::sim
