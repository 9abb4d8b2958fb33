// Named scenarios that the brimvale-sim command runs: a scripted player in the simulated host.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brimvale::sim {

struct Scenario {
  const char* name;
  const char* summary;
  // Plays the scenario and reports what happened; returns false when it did not reach its end.
  bool (*run)(std::ostream& out);
};

const std::vector<Scenario>& Scenarios();
const Scenario* FindScenario(const std::string& name);

}  // namespace brimvale::sim
