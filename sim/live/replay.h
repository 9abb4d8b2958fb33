// `brimvale-sim play --record FILE` and `brimvale-sim replay FILE`: a playthrough kept as a
// recording, and a recording played again headless, its digests compared as it goes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "live/recorder.h"
#include "player/playthrough.h"

namespace brimvale::sim {

// Keeps a scripted playthrough: the scripted player's controls and actions are its input.
class PlayRecording : public PlayListener {
 public:
  PlayRecording(std::filesystem::path path, uint32_t seed, double frameMs, std::string build)
      : path_(std::move(path)), seed_(seed), frameMs_(frameMs), build_(std::move(build)) {}
  bool Failed() const { return failed_; }

  void Starting(SimHost& host, const Scenario& scenario, const std::string& save) override;
  void Relaunched(SimHost& host, const std::string& save) override;
  void FrameEnded(SimHost& host) override;
  void Finished(SimHost& host) override;

 private:
  std::filesystem::path path_;
  uint32_t seed_;
  double frameMs_;
  std::string build_;
  std::unique_ptr<SessionRecorder> recorder_;
  bool failed_ = false;
};

struct ReplayOptions {
  std::filesystem::path file;
  std::filesystem::path out = "out/replay";
  int64_t to = -1;  // stop after this frame; -1: at the recording's end
  bool shots = false;
  bool trace = false;
  std::string plugin;  // the plugin's shared library to replay with; empty: the one linked in
  std::string build;   // the id of the build that replays, compared with the recording's
};

// 0: every digest matched (or there was none to check, and it says so); 1: the world differs
// (the first frame and what differs there); 2: a file it cannot use (its line and why), nothing
// written.
int RunReplay(const ReplayOptions& options, const ShotWriter& writeShot, std::ostream& out,
              std::ostream& err);

}  // namespace brimvale::sim
