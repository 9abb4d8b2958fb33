// The live server's cost: building one frame's message for the page, and the whole live game
// (the paced game thread and the server) with one viewer reading the event stream, at real time
// and at the fastest speed the page offers.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <chrono>
#include <ctime>

#include "character/creator.h"
#include "hook/game_directory.h"
#include "hook/host.h"
#include "live/live_frame.h"
#include "live/live_game.h"
#include "live/live_server.h"
#include "pictures/screen_frame.h"

namespace {

using namespace brimvale;
using Clock = std::chrono::steady_clock;

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

bool DrawsText(const sim::SimHost& host, const char* word) {
  for (const sim::DrawnText& text : host.world.ui.lastFrame.texts)
    if (text.text.find(word) != std::string::npos) return true;
  return false;
}

// The message of a frame with the creator's main menu up, the busiest screen of the campaign.
void BM_LiveFrameMessage(benchmark::State& state) {
  sim::GameDirectory dir("brimvale_bench_live_message");
  sim::SimHost host;
  host.LoadPlugin();
  host.MovePlayer(kCreatorEntryPoint);
  host.RunFrames(60);
  host.Press("INPUT_LOOT", 2);
  for (int i = 0; i < 3000 && !DrawsText(host, "FEATURES"); ++i)
    host.RunFrame();
  if (!DrawsText(host, "FEATURES")) state.SkipWithError("the creator did not open");
  const sim::SaveEntries save;
  size_t bytes = 0;
  for (auto _ : state) {
    nlohmann::json frame;
    frame["screen"] = sim::DrawingJson(sim::LayOutScreen(sim::CaptureScreen(host, "live")));
    frame["stats"] = sim::StatsJson(host, save);
    frame["map"] = sim::MapJson(host);
    const std::string message = frame.dump();
    bytes = message.size();
    benchmark::DoNotOptimize(message.data());
  }
  state.counters["message_bytes"] = static_cast<double>(bytes);
  host.UnloadPlugin();
}
BENCHMARK(BM_LiveFrameMessage)->Unit(benchmark::kMicrosecond);

// The top-level "frame" of an event: keys are written in order, and inside the call lines' strings
// the quotes are escaped, so `,"frame":` is the message's own.
int64_t FrameOf(const std::string& event) {
  const size_t at = event.find(",\"frame\":");
  return at == std::string::npos ? -1 : std::atoll(event.c_str() + at + 9);
}

// A new game at the given speed (range(0) tenths) while one viewer reads frames for three
// seconds; the viewer only counts events, so the process's CPU is the game's and the server's.
void BM_LiveGameWithOneViewer(benchmark::State& state) {
  const double speed = static_cast<double>(state.range(0)) / 10.0;
  sim::LiveGame game{sim::LiveOptions{}};
  sim::LiveServer server(game);
  const int port = server.Bind("127.0.0.1", 0);
  game.Start();
  server.Start();
  sim::LiveCommand faster;
  faster.kind = sim::LiveCommand::Kind::Speed;
  faster.speed = speed;
  game.Submit(faster);
  std::this_thread::sleep_for(std::chrono::seconds(1));  // the plugin loaded, the pace settled
  for (auto _ : state) {
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(10, 0);
    int64_t events = 0, firstFrame = -1, lastFrame = -1;
    std::string pending;
    const auto start = Clock::now();
    const double cpuStart = ProcessCpuSeconds();
    client.Get("/events", [&](const char* data, size_t length) {
      pending.append(data, length);
      for (size_t end; (end = pending.find("\n\n")) != std::string::npos;) {
        if (pending.starts_with("data: ")) {
          ++events;
          lastFrame = FrameOf(pending.substr(0, end));
          if (firstFrame < 0) firstFrame = lastFrame;
        }
        pending.erase(0, end + 2);
      }
      return Clock::now() - start < std::chrono::seconds(3);
    });
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    const double frames = static_cast<double>(std::max<int64_t>(1, lastFrame - firstFrame));
    state.SetIterationTime(wall);
    state.counters["viewer_fps"] = static_cast<double>(events) / wall;
    state.counters["game_fps"] = frames / wall;
    state.counters["cores"] = cpu / wall;
    state.counters["cpu_us_per_game_frame"] = cpu / frames * 1e6;
  }
  server.Stop();
  game.Stop();
}
BENCHMARK(BM_LiveGameWithOneViewer)
    ->Arg(10)
    ->Arg(80)
    ->ArgName("speed_tenths")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
