// Cost of the plugin's native calls and of frames driven through the simulated host, and proof
// that a steady free-roam frame, and one with the interaction menu or a wardrobe open, makes no
// heap allocation.
#include <benchmark/benchmark.h>

#include "alloc_counter.h"
#include "character/creator.h"
#include "character/outfit.h"
#include "core/campaign.h"
#include "core/native/natives.h"
#include "free_roam.h"
#include "hook/game_directory.h"
#include "hook/host.h"
#include "progression/progression.h"
#include "progression/rank_hud.h"
#include "progression/skill_tree.h"
#include "replayed_natives.h"

namespace {

using namespace brimvale;
using bench::EnterFreeRoam;

void BM_NativeCallRoundTrip(benchmark::State& state) {
  sim::HostConfig config;
  config.trace = false;
  sim::SimHost host(config);
  host.LoadPlugin();
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetEntityCoords(PlayerPed(), true, true));
  }
  host.UnloadPlugin();
}
BENCHMARK(BM_NativeCallRoundTrip);

// A game directory of the bench's own holding a saved character past the prologue.
struct FreeRoamGame {
  FreeRoamGame() {
    dir.WriteSave("[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n");
  }
  sim::GameDirectory dir{"brimvale_bench_free_roam"};
};

// Steady frames of a free-roam screen, measured after `setUp` brought it up.
void MeasureFreeRoamFrames(benchmark::State& state, bool (*setUp)(sim::SimHost&),
                           void (*keepUp)(sim::SimHost&)) {
  FreeRoamGame game;
  sim::HostConfig config;
  config.trace = false;
  sim::SimHost host(config);
  host.LoadPlugin();
  if (!EnterFreeRoam(host) || !setUp(host)) {
    state.SkipWithError("free roam, or the screen measured in it, did not come up");
    return;
  }
  bench::ExcludeHostFromCounting();
  bench::ResetPluginAllocations();
  int64_t frames = 0;
  for (auto _ : state) {
    keepUp(host);
    host.RunFrame();
    ++frames;
  }
  state.counters["plugin_allocations_per_frame"] =
      static_cast<double>(bench::PluginAllocations()) / static_cast<double>(frames);
  state.counters["plugin_passes_per_frame"] =
      static_cast<double>(bench::PluginResumes()) / static_cast<double>(frames);
  host.UnloadPlugin();
}

bool AsItIs(sim::SimHost&) {
  return true;
}
void LeaveAsItIs(sim::SimHost&) {}

// The interaction menu's walk-style page held open.
bool OpenWalkStyles(sim::SimHost& host) {
  host.Press("INPUT_FRONTEND_LS", 2);
  host.RunFrames(90);
  for (const char* control :
       {"INPUT_FRONTEND_ACCEPT", "INPUT_GAME_MENU_UP", "INPUT_FRONTEND_ACCEPT"}) {
    host.Press(control, 2);
    host.RunFrames(3);
  }
  return host.world.ui.lastFrame.FindText("VETERAN") != nullptr;
}

// A wardrobe's editor held open at the Valentine shop.
bool OpenWardrobeEditor(sim::SimHost& host) {
  host.MovePlayer({-326.392f, 797.185f, 121.512f});  // the shop's door
  host.RunFrame();
  host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
  host.RunFrames(300);
  return host.world.ui.lastFrame.FindText("1/4") != nullptr;
}

// The rank panel is kept on screen with the reveal control whenever its time runs out.
bool ShowRankPanel(sim::SimHost& host) {
  host.Press("INPUT_REVEAL_HUD", 2);
  host.RunFrames(20);
  return RankHud.RankHudShowUntil != 0;
}
void KeepRankPanelShown(sim::SimHost& host) {
  if (RankHud.RankHudShowUntil == 0) host.Press("INPUT_REVEAL_HUD", 2);
}

bool OpenSkillTree(sim::SimHost& host) {
  host.Press("INPUT_AIM_IN_AIR", 2);
  return host.RunUntil([] { return SkillTree.SkillTreeState == 1; }, 120);
}

// The free-roam screens measured, each with how it is brought up and kept up.
struct FreeRoamScreen {
  const char* name;
  bool (*setUp)(sim::SimHost&);
  void (*keepUp)(sim::SimHost&);
};
constexpr FreeRoamScreen kFreeRoamScreens[] = {
    {"BM_SteadyFreeRoamFrame", AsItIs, LeaveAsItIs},
    {"BM_InteractionMenuWalkStylesFrame", OpenWalkStyles, LeaveAsItIs},
    {"BM_WardrobeEditorFrame", OpenWardrobeEditor, LeaveAsItIs},
    {"BM_FreeRoamFrameWithRankPanel", ShowRankPanel, KeepRankPanelShown},
    {"BM_FreeRoamFrameWithSkillTreeOpen", OpenSkillTree, LeaveAsItIs},
};
[[maybe_unused]] const bool kFreeRoamScreensRegistered = [] {
  for (const FreeRoamScreen& screen : kFreeRoamScreens) {
    benchmark::RegisterBenchmark(screen.name, [screen](benchmark::State& state) {
      MeasureFreeRoamFrames(state, screen.setUp, screen.keepUp);
    });
  }
  return true;
}();

}  // namespace

// Frames of what the host shows now, natives replayed: the plugin's time per frame, its native
// calls and its heap allocations.
void MeasurePluginFrames(benchmark::State& state, sim::SimHost& host) {
  bench::ReplayNativesFromNextFrame(host);
  bench::ExcludeHostFromCounting();
  host.RunFrame();
  bench::ResetPluginAllocations();
  int64_t frames = 0, calls = 0;
  for (auto _ : state) {
    host.RunFrame();
    state.SetIterationTime(bench::PluginSecondsLastFrame());
    calls += bench::NativeCallsLastFrame();
    ++frames;
  }
  state.counters["native_calls_per_frame"] =
      static_cast<double>(calls) / static_cast<double>(frames);
  state.counters["plugin_allocations_per_frame"] =
      static_cast<double>(bench::PluginAllocations()) / static_cast<double>(frames);
  host.UnloadPlugin();
}

// The plugin's own time in a steady free-roam frame, with natives that answer from a recorded
// frame and do nothing else; with its native calls and heap allocations per frame.
void BM_FreeRoamFramePluginTime(benchmark::State& state) {
  FreeRoamGame game;
  sim::HostConfig config;
  config.trace = false;
  sim::SimHost host(config);
  host.LoadPlugin();
  if (!EnterFreeRoam(host)) {
    state.SkipWithError("the campaign did not reach free roam");
    return;
  }
  MeasurePluginFrames(state, host);
}
BENCHMARK(BM_FreeRoamFramePluginTime)->UseManualTime();

// The creator's busiest page, the first body page with nine rows, measured the same way.
void BM_CreatorBusiestPage(benchmark::State& state) {
  sim::GameDirectory dir("brimvale_bench_creator");
  sim::HostConfig config;
  config.trace = false;
  sim::SimHost host(config);
  host.LoadPlugin();
  auto sees = [&](const char* text) { return host.world.ui.lastFrame.FindText(text) != nullptr; };
  host.RunFrames(30);
  host.MovePlayer(kCreatorEntryPoint);
  host.RunFrames(5);
  host.Press("INPUT_LOOT", 2);
  const bool inMenu = host.RunUntil([&] { return sees("FACIAL FEATURES"); }, 3000);
  host.Press("INPUT_MOVE_DOWN_ONLY", 0);
  host.RunFrames(2);
  host.Press("INPUT_FRONTEND_ACCEPT", 0);
  if (!inMenu || !host.RunUntil([&] { return sees("BODY (1/2)"); }, 120)) {
    state.SkipWithError("the creator's body page was not reached");
    return;
  }
  MeasurePluginFrames(state, host);
}
BENCHMARK(BM_CreatorBusiestPage)->UseManualTime();

// A whole outfit written to the save file: forty keys, each written at once.
void BM_SaveOutfit(benchmark::State& state) {
  FreeRoamGame game;
  for (auto _ : state)
    SaveOutfit();
  state.SetItemsProcessed(state.iterations() * 2 * kClothingCategoryCount);
}
BENCHMARK(BM_SaveOutfit);
