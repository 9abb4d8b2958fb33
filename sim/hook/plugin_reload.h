// Loading a new build of the plugin into the running game (off Windows, with the plugin's shared
// library as the plugin path): what a mod developer's edit-build-see loop needs.
#pragma once

#include <cstdint>
#include <string>

namespace brimvale::sim {

class SimHost;

// One build of the plugin as loaded: its file, a short id of its bytes and its file time.
struct PluginBuild {
  std::string path;
  std::string id;        // eight hex digits
  int64_t fileTime = 0;  // seconds since the epoch
};

// The build the last successful load or reload took.
const PluginBuild& LoadedPluginBuild();

// Between frames: the new build is opened from a fresh copy of the plugin path; then the script
// stops, the old build detaches (it unregisters, as on a game's unload) and the new one attaches,
// its state as at load. The world, the save file and everything the old build made stay. A build
// that does not open or attach leaves the old one playing and says why in `reason`.
bool ReloadPlugin(SimHost& host, std::string& reason);

// Looks at the plugin file now and then; true once for each new build that has landed and held
// still between two looks (a build being written is not taken half-way).
class PluginFileWatch {
 public:
  bool Changed(const std::string& path);

 private:
  std::string last_, pending_, stable_;
};

}  // namespace brimvale::sim
