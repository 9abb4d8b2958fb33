// What keeping a live session's recording adds to a steady free-roam frame, and how fast the file
// grows per game-minute with nobody at the keys and with a busy player.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "core/campaign.h"
#include "core/native/natives.h"
#include "free_roam.h"
#include "hook/game_directory.h"
#include "hook/host.h"
#include "live/live_game.h"
#include "live/recorder.h"

namespace {

using namespace brimvale;
using bench::EnterFreeRoam;
using Clock = std::chrono::steady_clock;

// A busy player's page input: a key pressed and let go three times a second, a map click every
// two seconds.
void BusyInput(sim::SessionRecorder& recorder, int64_t frame) {
  sim::LiveCommand command;
  if (frame % 60 == 0) {
    command.kind = sim::LiveCommand::Kind::WalkTo;
    command.x = 2900.0 + static_cast<double>(frame % 600) / 10.0;
    command.y = -250.25;
    recorder.Command(frame, command);
  }
  if (frame % 10 < 2) {
    command.kind = sim::LiveCommand::Kind::Key;
    command.key = frame % 20 < 10 ? "KeyW" : "ArrowUp";
    command.down = frame % 10 == 0;
    recorder.Command(frame, command);
  }
}

// range(0): 0 without a recorder, 1 with one; range(1): 0 idle, 1 busy input.
void BM_FreeRoamFrameRecorded(benchmark::State& state) {
  const bool recording = state.range(0) != 0;
  const bool busy = state.range(1) != 0;
  sim::GameDirectory dir("brimvale_bench_recording");
  dir.WriteSave("[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n");
  sim::HostConfig config;
  config.trace = false;
  sim::SimHost host(config);
  host.LoadPlugin();
  if (!EnterFreeRoam(host)) {
    state.SkipWithError("free roam did not come up");
    return;
  }
  const std::filesystem::path file = dir.path() / "session.jsonl";
  sim::RecordedStart start;
  start.source = "live";
  start.build = "bench";
  sim::SessionRecorder recorder(file, start, dir.path() / "Brimvale.ini");
  if (!recorder.Open()) {
    state.SkipWithError("cannot write the recording");
    return;
  }
  const int32_t gameStart = host.GameTime();
  Clock::duration inRecorder{};
  int64_t frames = 0;
  for (auto _ : state) {
    host.RunFrame();
    ++frames;
    if (!recording) continue;
    const auto before = Clock::now();
    if (busy) BusyInput(recorder, host.Frame());
    recorder.FrameEnded(host);
    inRecorder += Clock::now() - before;
  }
  const double minutes = (host.GameTime() - gameStart) / 60000.0;
  recorder.Finish(host);
  std::error_code ec;
  const double bytes = recording ? static_cast<double>(std::filesystem::file_size(file, ec)) : 0;
  state.counters["recorder_us_per_frame"] =
      std::chrono::duration<double, std::micro>(inRecorder).count() / static_cast<double>(frames);
  state.counters["game_minutes"] = minutes;
  state.counters["KB_per_game_minute"] = minutes > 0 ? bytes / 1024.0 / minutes : 0;
  state.counters["MB_per_game_hour"] = minutes > 0 ? bytes / 1048576.0 / minutes * 60 : 0;
  host.UnloadPlugin();
}
BENCHMARK(BM_FreeRoamFrameRecorded)
    ->ArgNames({"recorder", "busy"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
