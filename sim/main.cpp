// brimvale-sim: runs one named scenario of the plugin in the simulated host.
#include <iostream>

#include "host.h"
#include "scenario.h"

int main(int argc, char** argv) {
  using brimvale::sim::Scenarios;
  const std::string name = argc > 1 ? argv[1] : "campaign";
  if (name == "list") {
    for (const auto& s : Scenarios())
      std::cout << "  " << s.name << "  " << s.summary << "\n";
    return 0;
  }
  const brimvale::sim::Scenario* scenario = brimvale::sim::FindScenario(name);
  if (!scenario) {
    std::cerr << "unknown scenario '" << name << "'; scenarios:\n";
    for (const auto& s : Scenarios())
      std::cerr << "  " << s.name << "  " << s.summary << "\n";
    return 2;
  }
  std::cout << "scenario " << scenario->name << ": " << scenario->summary << "\n";
  const bool ok = scenario->run(std::cout, brimvale::sim::HostConfig{});
  std::cout << (ok ? "scenario finished" : "scenario did not finish") << "\n";
  return ok ? 0 : 1;
}
