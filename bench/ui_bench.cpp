// Cost of the screen toolkit's calls and proof that a steady frame of them allocates nothing.
#include <benchmark/benchmark.h>

#include "alloc_counter.h"
#include "core/native/natives.h"
#include "hook/host.h"
#include "ui/toolkit.h"

namespace {

using namespace brimvale;

sim::HostConfig QuietHost() {
  sim::HostConfig config;
  config.trace = false;
  return config;
}

void BM_DrawText(benchmark::State& state) {
  sim::SimHost host(QuietHost());
  host.LoadPlugin();
  int64_t drawn = 0;
  for (auto _ : state) {
    DrawText("Skill Points: 3", 0.2f, 0.3f, 0.35f, 0.35f, 255, 255, 255, 255);
    if (++drawn % 1000 == 0) sim::EndFrameUi(host);  // the game draws and clears its list
  }
  state.SetItemsProcessed(drawn);
  host.UnloadPlugin();
}
BENCHMARK(BM_DrawText);

// A menu's frame: a heading, rows, sprites and a prompt, about forty toolkit calls.
void MenuFrame() {
  EnsureTextureDict("menu_textures");
  DrawSprite("menu_textures", "translate_bg_1a", 0.16f, 0.5f, 0.3f, 0.9f, 0.0f, 0, 0, 0, 220,
             false);
  DrawTitleText("CREATOR", 0.1f, 0.08f, 1.0f, 1.0f);
  for (int row = 0; row < 34; ++row) {
    DrawText("Face Width", 0.05f, 0.2f + 0.02f * static_cast<float>(row), 0.3f, 0.3f, 255, 255, 255,
             255);
  }
  PlayMenuSound("NAV_UP", "HUD_SHOP_SOUNDSET", 0);
  ShowHelpText("Press ~INPUT_LOOT~ to Create Your Brimvale Character.", 1000);
  PressPrompt("Press ~INPUT_LOOT~ to loot.", "INPUT_LOOT", 1000);
}

void BM_SteadyMenuFrameAllocations(benchmark::State& state) {
  sim::SimHost host(QuietHost());
  host.LoadPlugin();
  host.RunScript([] { EnsureTextureDict("menu_textures"); });
  bench::ExcludeHostFromCounting();
  bench::ResetPluginAllocations();
  int64_t frames = 0;
  for (auto _ : state) {
    bench::CountPluginAllocations(true);
    MenuFrame();
    bench::CountPluginAllocations(false);
    sim::EndFrameUi(host);
    ++frames;
  }
  state.counters["plugin_allocations_per_frame"] =
      static_cast<double>(bench::PluginAllocations()) / static_cast<double>(frames);
  host.UnloadPlugin();
}
BENCHMARK(BM_SteadyMenuFrameAllocations);

}  // namespace
