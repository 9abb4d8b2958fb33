// Replay of the whole campaign as a recording: the cost of rewinding a session, which plays it
// again from its start to the frame asked for.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>

#include "live/recording.h"
#include "live/replay.h"
#include "player/playthrough.h"

namespace {

using namespace brimvale;
namespace fs = std::filesystem;

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The campaign recorded once per process, as `brimvale-sim play --record` keeps it; its last
// frame, or 0 when the recording failed.
struct CampaignRecording {
  fs::path dir = fs::temp_directory_path() / ("brimvale_bench_replay_" + std::to_string(getpid()));
  fs::path file = dir / "campaign.jsonl";
  int64_t frames = 0;

  CampaignRecording() {
    fs::create_directories(dir);
    sim::PlayRecording recording(file, 1, 1000.0 / 30.0, "bench");
    sim::PlayOptions options;
    options.out = dir / "play";
    options.shots = false;
    options.trace = false;
    options.listener = &recording;
    std::ostringstream out, err;
    if (sim::RunPlaythrough(options, nullptr, out, err) != 0 || recording.Failed()) return;
    sim::Recording rec;
    sim::RecordingError error;
    if (sim::ReadRecordingFile(file, rec, error) && !rec.events.empty())
      frames = rec.events.back().frame;
  }
  ~CampaignRecording() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

// Every frame of the campaign's 30 minutes played again headless, its digests compared, the
// milestone lines written to a string: frames a second, and the CPU and wall time of a frame.
void BM_ReplayWholeCampaign(benchmark::State& state) {
  static CampaignRecording campaign;
  if (campaign.frames == 0) {
    state.SkipWithError("the campaign could not be recorded");
    return;
  }
  sim::ReplayOptions options;
  options.file = campaign.file;
  options.out = campaign.dir / "replay";
  int64_t frames = 0;
  const double cpuBefore = ProcessCpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  for (auto _ : state) {
    std::ostringstream out, err;
    if (sim::RunReplay(options, nullptr, out, err) != 0) {
      state.SkipWithError("the replay did not match the recording");
      return;
    }
    frames += campaign.frames;
  }
  const double cpu = ProcessCpuSeconds() - cpuBefore;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  const auto played = static_cast<double>(frames);
  state.counters["frames"] = static_cast<double>(campaign.frames);
  state.counters["frames_per_second"] = played / wall;
  state.counters["wall_us_per_frame"] = wall * 1e6 / played;
  state.counters["cpu_us_per_frame"] = cpu * 1e6 / played;
}
BENCHMARK(BM_ReplayWholeCampaign)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
