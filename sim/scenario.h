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
