// Cost of one train-robbery frame, whose train services step makes about 15,000 native calls:
// the plugin's own time per call against a hook whose natives do nothing, and the same frame in
// the simulated host, with the plugin's heap allocations per frame (none).
#include <benchmark/benchmark.h>

#include <sstream>

#include "alloc_counter.h"
#include "core/campaign.h"
#include "core/entry.h"
#include "core/native/hook.h"
#include "hook/game_directory.h"
#include "hook/host.h"
#include "missions/train_robbery.h"
#include "player/player.h"

namespace {

using namespace brimvale;

// A hook whose natives do nothing and answer 0, except that texture dictionaries are loaded (as
// in a game where the frame runs steadily): what is left is the plugin's own work.
int64_t idleCalls = 0;
uint64_t idleResult[8] = {};
uint64_t idleLoaded[8] = {1};
uint64_t idleNative = 0;

void InstallIdleHook() {
  Hook = {};
  Hook.nativeInit = [](uint64_t hash) { idleNative = hash; };
  Hook.nativePush64 = [](uint64_t) {};
  Hook.nativeCall = [] {
    ++idleCalls;
    return idleNative == HasTextureDictLoaded.hash ? idleLoaded : idleResult;
  };
  Hook.scriptWait = [](uint32_t) {};
}

// The calls that reach the simulated host, counted on the way in.
int64_t hostCalls = 0;
uint64_t* (*hostNativeCall)() = nullptr;
uint64_t* CountedNativeCall() {
  ++hostCalls;
  return hostNativeCall();
}
void CountHostCalls() {
  hostNativeCall = Hook.nativeCall;
  Hook.nativeCall = CountedNativeCall;
}

void ReportPerCall(benchmark::State& state, int64_t calls, int64_t frames) {
  const double perFrame = static_cast<double>(calls) / static_cast<double>(frames);
  state.counters["native_calls_per_frame"] = perFrame;
  state.counters["time_per_native_call"] = benchmark::Counter(
      static_cast<double>(calls), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The bag stage: the train services are suppressed, the score drawn and the crime reported.
void BM_RobberyFramePluginOnly(benchmark::State& state) {
  InstallIdleHook();
  ResetPluginState();
  Screens.TrainRobberyActive = true;
  TrainRobbery.TrainRobberyStage = RobberyStageId{2};
  idleCalls = 0;
  bench::ResetPluginAllocations();
  bench::CountPluginAllocations(true);
  int64_t frames = 0;
  for (auto _ : state) {
    RunTrainRobbery();
    ++frames;
  }
  bench::CountPluginAllocations(false);
  ReportPerCall(state, idleCalls, frames);
  state.counters["plugin_allocations_per_frame"] =
      static_cast<double>(bench::PluginAllocations()) / static_cast<double>(frames);
  Hook = {};
}
BENCHMARK(BM_RobberyFramePluginOnly)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same stage reached as a player would, each frame run through the simulated host.
void BM_RobberyFrameInHost(benchmark::State& state) {
  sim::GameDirectory dir{"brimvale_bench_robbery"};
  dir.WriteSave("[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n");
  sim::HostConfig config;
  config.trace = false;
  sim::SimHost host(config);
  host.LoadPlugin();
  std::ostringstream log;
  sim::Player player{host, log};
  host.RunFrames(30);
  if (!sim::StartCampaign(player) || !sim::HoldRobberyPrompt(player) ||
      !sim::BoardRobberyTrain(player)) {
    state.SkipWithError("the robbery did not reach the bag stage");
    return;
  }
  bench::ExcludeHostFromCounting();
  CountHostCalls();
  bench::ResetPluginAllocations();
  hostCalls = 0;
  int64_t frames = 0;
  for (auto _ : state) {
    host.RunFrame();
    ++frames;
  }
  ReportPerCall(state, hostCalls, frames);
  state.counters["plugin_allocations_per_frame"] =
      static_cast<double>(bench::PluginAllocations()) / static_cast<double>(frames);
  state.counters["plugin_passes_per_frame"] =
      static_cast<double>(bench::PluginResumes()) / static_cast<double>(frames);
  host.UnloadPlugin();
}
// The script runs on the host's script thread, so only wall time covers it.
BENCHMARK(BM_RobberyFrameInHost)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
