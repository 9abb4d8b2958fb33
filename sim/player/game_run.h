// One run of the game in the simulated host, as the playthrough, the scenarios and the live game
// start it: a game directory of its own (runs side by side do not share a save file) holding the
// save the run starts from, and the host that plays there.
#pragma once

#include <filesystem>
#include <string>

#include "hook/game_directory.h"
#include "hook/host.h"

namespace brimvale::sim {

struct Scenario;

struct GameRun {
  // The directory is `name` with a random number after it; an empty `startSave` starts a new
  // player.
  GameRun(const std::string& name, const std::string& startSave, const HostConfig& config);

  GameDirectory game;
  SimHost host;

  std::filesystem::path SavePath() const { return game.path() / "Brimvale.ini"; }
};

// The scenario's game set up, the plugin loaded and its first second played, as a scenario's
// segments begin from.
void StartScenarioGame(const Scenario& scenario, SimHost& host);

}  // namespace brimvale::sim
