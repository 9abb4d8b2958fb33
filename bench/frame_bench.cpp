// Cost of the plugin's native calls and of frames driven through the simulated host, and proof
// that a steady free-roam frame, and one with the interaction menu or a wardrobe open, makes no
// heap allocation.
#include <benchmark/benchmark.h>

#include "alloc_counter.h"
#include "core/campaign.h"
#include "core/natives.h"
#include "game_directory.h"
#include "host.h"
#include "progression/progression.h"

namespace {

using namespace brimvale;

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

// Starts the campaign as a player would and waits until free roam runs steadily.
bool EnterFreeRoam(sim::SimHost& host) {
  host.RunFrames(60);
  host.MovePlayer(kStartPoint);
  for (int tries = 0; tries < 600 && !Campaign.campaignStarted; ++tries) {
    host.Press("INPUT_CARRIABLE_SUICIDE", 2);
    host.RunFrame();
  }
  host.RunFrames(300);
  return Campaign.campaignStarted && Campaign.StoryProgress == 1;
}

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

void BM_SteadyFreeRoamFrame(benchmark::State& state) {
  MeasureFreeRoamFrames(state, AsItIs, LeaveAsItIs);
}
BENCHMARK(BM_SteadyFreeRoamFrame);

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

void BM_InteractionMenuWalkStylesFrame(benchmark::State& state) {
  MeasureFreeRoamFrames(state, OpenWalkStyles, LeaveAsItIs);
}
BENCHMARK(BM_InteractionMenuWalkStylesFrame);

// A wardrobe's editor held open at the Valentine shop.
bool OpenWardrobeEditor(sim::SimHost& host) {
  host.MovePlayer({-326.392f, 797.185f, 121.512f});  // the shop's door
  host.RunFrame();
  host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
  host.RunFrames(300);
  return host.world.ui.lastFrame.FindText("1/4") != nullptr;
}

void BM_WardrobeEditorFrame(benchmark::State& state) {
  MeasureFreeRoamFrames(state, OpenWardrobeEditor, LeaveAsItIs);
}
BENCHMARK(BM_WardrobeEditorFrame);

// The rank panel is kept on screen with the reveal control whenever its time runs out.
bool ShowRankPanel(sim::SimHost& host) {
  host.Press("INPUT_REVEAL_HUD", 2);
  host.RunFrames(20);
  return RankHud.RankHudShowUntil != 0;
}
void KeepRankPanelShown(sim::SimHost& host) {
  if (RankHud.RankHudShowUntil == 0) host.Press("INPUT_REVEAL_HUD", 2);
}

void BM_FreeRoamFrameWithRankPanel(benchmark::State& state) {
  MeasureFreeRoamFrames(state, ShowRankPanel, KeepRankPanelShown);
}
BENCHMARK(BM_FreeRoamFrameWithRankPanel);

bool OpenSkillTree(sim::SimHost& host) {
  host.Press("INPUT_AIM_IN_AIR", 2);
  return host.RunUntil([] { return SkillTree.SkillTreeState == 1; }, 120);
}
void BM_FreeRoamFrameWithSkillTreeOpen(benchmark::State& state) {
  MeasureFreeRoamFrames(state, OpenSkillTree, LeaveAsItIs);
}
BENCHMARK(BM_FreeRoamFrameWithSkillTreeOpen);

}  // namespace
