#include "player/game_run.h"

#include <random>

#include "player/scenario.h"

namespace brimvale::sim {

GameRun::GameRun(const std::string& name, const std::string& startSave, const HostConfig& config)
    : game(name + "_" + std::to_string(std::random_device{}())), host(config) {
  if (!startSave.empty()) game.WriteSave(startSave);
}

void StartScenarioGame(const Scenario& scenario, SimHost& host) {
  if (scenario.setUpGame) scenario.setUpGame(host);
  host.LoadPlugin();
  host.RunFrames(30);
}

}  // namespace brimvale::sim
