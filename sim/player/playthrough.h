// The playthrough: plays a scenario in the simulated host from a fresh game directory and writes
// what a watcher wants to see into an output folder: milestone lines, the save file, the trace of
// every native call (trace.jsonl), screenshots and an index.html that lays them out.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "pictures/screen_frame.h"

namespace brimvale::sim {

class SimHost;
struct Scenario;

// Told what a playthrough does, so that it can be kept and played again.
class PlayListener {
 public:
  virtual ~PlayListener() = default;
  // The game directory holds the save the game starts from; the scenario's game set-up and the
  // plugin's load come next.
  virtual void Starting(SimHost& host, const Scenario& scenario, const std::string& save) = 0;
  // Between frames: the game closed and started again from this save.
  virtual void Relaunched(SimHost& host, const std::string& save) = 0;
  virtual void FrameEnded(SimHost& host) = 0;
  // After the last frame.
  virtual void Finished(SimHost& host) = 0;
};

struct PlayOptions {
  std::string scenario = "play";
  std::filesystem::path out = "out/play";
  uint32_t seed = 1;
  double frameMs = 1000.0 / 30.0;
  bool shots = true;
  bool trace = true;
  std::filesystem::path save;  // a player's save to start from (copied); empty: the scenario's
  bool progressBar = false;    // stdout is a terminal: one bar redrawn in place
  PlayListener* listener = nullptr;
};

// Writes the picture of a frame to a PNG file; false with the reason in `error`. The command line
// passes the cairo renderer; a build without it passes none and takes no screenshots.
using ShotWriter =
    std::function<bool(const ScreenFrame& screen, const std::string& path, std::string& error)>;

// Exit codes of the command: 0 played to the end, 1 did not finish or called an unknown native,
// 2 could not start (an unknown scenario, an unreadable save, an output folder it cannot make).
int RunPlaythrough(const PlayOptions& options, const ShotWriter& writeShot, std::ostream& out,
                   std::ostream& err);

}  // namespace brimvale::sim
