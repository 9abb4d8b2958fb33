// Named scenarios that the brimvale-sim command plays: a save file to start from and the segments
// of the campaign that a scripted player plays from there, in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brimvale::sim {

struct Player;

struct Segment {
  const char* part;         // what the player sees it as, for the progress lines
  bool (*play)(Player& p);  // null while the part is not built: the run skips it and says so
  // Skipping it would leave the story where free roam cannot begin (the prologue): the run then
  // restarts the game from the save with the story past it, as a returning player would.
  bool storyPassesIt = false;
  // A long repetition of parts played before (robbing the train until a rank): runs that repeat
  // the campaign many times, under faults or sanitizers, leave it out.
  bool repeats = false;
};

class SimHost;

struct Scenario {
  const char* name;
  const char* summary;
  const char* startSave;  // the save file it starts from; null starts a new player
  std::vector<Segment> segments;
  // How this game differs from the usual one, set before the plugin loads; null for none.
  void (*setUpGame)(SimHost& host) = nullptr;
};

const std::vector<Scenario>& Scenarios();

struct HostConfig;
// Plays the scenario's segments from its own save in a fresh game directory with a host made from
// `config` (its seed, load times and faults). Prints the player's lines and then, after
// "save file:", the save it left; false when it did not reach its end. A part not built yet is
// skipped with a line that says so.
// `callsPerNative`, when given, has the calls of each native of the catalogue added to it (by its
// place in NativeRegistry(), resized to fit).
bool PlayScenario(const Scenario& scenario, const HostConfig& config, std::ostream& out,
                  std::vector<int64_t>* callsPerNative = nullptr);
const Scenario* FindScenario(const std::string& name);

}  // namespace brimvale::sim
