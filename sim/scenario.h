// Named scenarios that the brimvale-sim command runs: a scripted player in the simulated host.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brimvale::sim {

struct HostConfig;

struct Scenario {
  const char* name;
  const char* summary;
  // Plays the scenario in a host made with `config` (its seed, load times and faults) and reports
  // what happened; returns false when it did not reach its end.
  bool (*run)(std::ostream& out, const HostConfig& config);
};

const std::vector<Scenario>& Scenarios();
const Scenario* FindScenario(const std::string& name);

}  // namespace brimvale::sim
