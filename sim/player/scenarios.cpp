// The scenarios of brimvale-sim. A part of the campaign that is not built yet has a null segment:
// the run says so and goes on with the next part. Each part's segment lives in its play_*.cpp and
// is declared in player.h.
#include <string>

#include "player/game_run.h"
#include "player/player.h"
#include "player/scenario.h"

namespace brimvale::sim {
namespace {

// A character made and saved, before the story has started.
constexpr const char* kMadeCharacter = "[Character]\nCreate Character=True\nGender=0\n";
// The same character with the prologue passed: the campaign starts in free roam.
constexpr const char* kPastPrologue =
    "[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n";

constexpr Segment kCreator{"creator", MakeCharacter};
constexpr Segment kStartPoint{"start point", StartCampaign};
constexpr Segment kPrologue{"prologue", PlayPrologue, true};
// One rank short of the first dead-eye level (the first health level open already), with the
// points to buy both.
constexpr const char* kRankFourteen =
    "[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n"
    "[Rank]\nRank=14\nXP=0\nXPToRank=0\nSkill Points=4\n";

// The game ignores the model globals at the first switch of the player's model, so the switch
// falls back to setting the model directly.
void IgnoreModelGlobalsOnce(SimHost& host) {
  host.world.player.refreshesIgnoringGlobals = 2;
}

constexpr Segment kProgression{"rank, skill tree, death and respawn", PlayProgression};
constexpr Segment kWardrobe{"wardrobe", VisitWardrobes};
constexpr Segment kInteractionMenu{"interaction menu", UseInteractionMenu};
constexpr Segment kRobbery{"train robbery", RobTrain};
constexpr Segment kFreeRoam{"free roam", RoamFreely};
constexpr Segment kRankTen{"the train robbed until rank 10, and health level 1 bought",
                           RobUntilHealthLevel, false, true};

}  // namespace

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> all = {
      {"play",
       "the whole campaign as a new player plays it, from an empty save directory",
       nullptr,
       {kCreator, kStartPoint, kPrologue, kProgression, kWardrobe, kInteractionMenu, kRobbery,
        kRankTen}},
      {"creator",
       "a new player makes a character (every page, a gender change) and starts, in a game that "
       "ignores the model globals once",
       nullptr,
       {kCreator, kStartPoint},
       IgnoreModelGlobalsOnce},
      {"prologue",
       "a made character starts the story, is spotted once, and plays the prologue to free roam",
       kMadeCharacter,
       {kStartPoint, kPrologue}},
      {"robbery",
       "a character past the prologue plays the train robbery",
       kPastPrologue,
       {kStartPoint, kRobbery}},
      {"menu",
       "a character past the prologue uses the interaction menu and visits two wardrobes",
       kPastPrologue,
       {kStartPoint, kInteractionMenu, kWardrobe}},
      {"progression",
       "a character one rank short of dead eye ranks up, buys a health and a dead-eye level and "
       "dies once",
       kRankFourteen,
       {kStartPoint, kProgression}},
      {"wardrobe",
       "a character past the prologue visits a wardrobe",
       kPastPrologue,
       {kStartPoint, kWardrobe}},
      {"freeroam",
       "a character past the prologue (or the --save given) roams for a few minutes",
       kPastPrologue,
       {kStartPoint, kFreeRoam}},
  };
  return all;
}

bool PlayScenario(const Scenario& scenario, const HostConfig& config, std::ostream& out,
                  std::vector<int64_t>* callsPerNative) {
  // Nobody reads this host's trace, and a long run would only grow it.
  HostConfig untraced = config;
  untraced.trace = false;
  GameRun run(std::string("brimvale_scenario_") + scenario.name,
              scenario.startSave ? scenario.startSave : "", untraced);
  SimHost& host = run.host;
  Player player{host, out};
  StartScenarioGame(scenario, host);
  for (const Segment& segment : scenario.segments) {
    if (!player.ok) break;
    if (!segment.play) {
      player.Say(std::string(segment.part) + ": not built yet, skipped");
      continue;
    }
    player.ok = segment.play(player);
  }
  host.RunFrames(2);
  out << "save file:\n" << run.game.SaveText();
  host.UnloadPlugin();
  if (callsPerNative) {
    const std::vector<int64_t>& calls = host.CallsPerNative();
    callsPerNative->resize(calls.size(), 0);
    for (size_t i = 0; i < calls.size(); ++i)
      (*callsPerNative)[i] += calls[i];
  }
  return player.ok && host.UnknownNatives().empty();
}

const Scenario* FindScenario(const std::string& name) {
  // "campaign" is the playthrough's older name.
  const std::string wanted = name == "campaign" ? "play" : name;
  for (const Scenario& s : Scenarios()) {
    if (wanted == s.name) return &s;
  }
  return nullptr;
}

}  // namespace brimvale::sim
