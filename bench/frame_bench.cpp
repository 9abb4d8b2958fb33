// Cost of the plugin's native calls and of frames driven through the simulated host.
#include <benchmark/benchmark.h>

#include "core/natives.h"
#include "host.h"

namespace {

void BM_NativeCallRoundTrip(benchmark::State& state) {
  brimvale::sim::HostConfig config;
  config.trace = false;
  brimvale::sim::SimHost host(config);
  host.LoadPlugin();
  for (auto _ : state) {
    benchmark::DoNotOptimize(brimvale::GetEntityCoords(brimvale::PlayerPed(), true, true));
  }
  host.UnloadPlugin();
}
BENCHMARK(BM_NativeCallRoundTrip);

}  // namespace
