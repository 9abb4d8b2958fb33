// Named scenarios that the brimvale-sim command plays: a save file to start from and the segments
// of the campaign that a scripted player plays from there, in order.
#pragma once

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
};

struct Scenario {
  const char* name;
  const char* summary;
  const char* startSave;  // the save file it starts from; null starts a new player
  std::vector<Segment> segments;
};

const std::vector<Scenario>& Scenarios();
const Scenario* FindScenario(const std::string& name);

}  // namespace brimvale::sim
