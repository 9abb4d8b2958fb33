// The real plugin DLL: a fresh load is a LoadLibrary, so every subsystem starts from its state at
// load as it would in the game, and the detach runs when the last reference goes.
#include <windows.h>

#include "hook/plugin_link.h"

namespace brimvale::sim {
namespace {

std::string PluginPath = "Brimvale.asi";

}  // namespace

void* LoadPluginModule(SimHost& host) {
  HMODULE module = LoadLibraryA(PluginPath.c_str());
  // Already in the process, the plugin does not attach again: it registered before this host.
  if (module != nullptr) AdoptEarlyRegistration(host);
  return module;
}

void UnloadPluginModule(void* module) {
  FreeLibrary(static_cast<HMODULE>(module));
}

void ReleasePluginLink() {}

void SetPluginPath(const std::string& path) {
  PluginPath = path;
}

const std::string& PluginLoadError() {
  static const std::string error = "LoadLibrary failed";
  return error;
}

}  // namespace brimvale::sim
