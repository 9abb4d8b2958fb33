// Every native of the catalogue is called by some scenario: a native that no scenario reaches is
// a path of the plugin that the simulated game never lets run. The scenarios play once each
// (their long repetitions left out), which takes a while under the sanitizers: this test has a
// program and a time-out of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "hook/host.h"
#include "player/scenario.h"

namespace brimvale {
namespace {

TEST(NativeCoverage, EveryNativeOfTheCatalogueIsCalledBySomeScenario) {
  std::vector<int64_t> calls;
  for (const sim::Scenario& scenario : sim::Scenarios()) {
    sim::Scenario once = scenario;
    std::erase_if(once.segments, [](const sim::Segment& segment) { return segment.repeats; });
    std::ostringstream out;
    EXPECT_TRUE(sim::PlayScenario(once, sim::HostConfig{}, out, &calls)) << scenario.name << ":\n"
                                                                         << out.str();
  }
  const std::vector<sim::NativeInfo>& natives = sim::NativeRegistry();
  ASSERT_EQ(calls.size(), natives.size());
  // A native is its hash: two role names of one hash (CreateVarString and CreateColorString) are
  // one native, whose calls the host counts under the first name.
  std::map<uint64_t, int64_t> callsByHash;
  for (size_t i = 0; i < natives.size(); ++i)
    callsByHash[natives[i].hash] += calls[i];
  std::vector<std::string> neverCalled;
  for (const sim::NativeInfo& native : natives) {
    if (callsByHash[native.hash] == 0) neverCalled.push_back(native.name);
  }
  std::string list;
  for (const std::string& name : neverCalled)
    list += " " + name;
  EXPECT_TRUE(neverCalled.empty()) << neverCalled.size() << " of " << callsByHash.size()
                                   << " natives called by no scenario:" << list;
}

}  // namespace
}  // namespace brimvale
