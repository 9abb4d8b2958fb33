#include <map>

#include "game_directory.h"
#include "host.h"
#include "player.h"
#include "scenario.h"

namespace brimvale::sim {
namespace {

void ReportCalls(SimHost& host, std::ostream& out) {
  std::map<std::string, int> counts;
  for (const TraceEntry& entry : host.Trace())
    ++counts[entry.name];
  out << "natives called (" << host.Trace().size() << " calls, " << counts.size()
      << " different):\n";
  for (const auto& [name, count] : counts)
    out << "  " << name << " x" << count << "\n";
  out << "unknown natives: " << host.UnknownNatives().size() << "\n";
}

// The campaign from a fresh save: the creator, the start point and the prologue to free roam.
bool RunCampaign(std::ostream& out) {
  GameDirectory game("brimvale_play_campaign");
  SimHost host;
  host.LoadPlugin();
  Player player{host, out};
  out << "playthrough:\n";
  host.RunFrames(30);
  MakeCharacter(player);
  StartCampaign(player);
  PlayPrologue(player);
  out << "frames: " << host.Frame() << ", game time: " << host.GameTime() << " ms\n";
  out << "save file:\n" << game.SaveText();
  ReportCalls(host, out);
  host.UnloadPlugin();
  out << "hook operations:";
  for (const std::string& op : host.HookLog())
    out << " " << op;
  out << "\n";
  return player.ok && host.UnknownNatives().empty();
}

// A returning player past the prologue starts the campaign and robs the train.
bool RunRobbery(std::ostream& out) {
  GameDirectory game("brimvale_play_robbery");
  game.WriteSave("[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n");
  HostConfig config;
  config.trace = false;  // the robbery's train services make about 15,000 calls a frame
  SimHost host(config);
  host.LoadPlugin();
  Player player{host, out};
  out << "playthrough:\n";
  host.RunFrames(30);
  StartCampaign(player);
  RobTrain(player);
  out << "frames: " << host.Frame() << ", game time: " << host.GameTime() << " ms\n";
  out << "save file:\n" << game.SaveText();
  host.UnloadPlugin();
  return player.ok && host.UnknownNatives().empty();
}

// A returning player past the prologue uses the interaction menu and visits two wardrobes.
bool RunMenuAndWardrobes(std::ostream& out) {
  GameDirectory game("brimvale_play_menu");
  game.WriteSave("[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n");
  SimHost host;
  host.LoadPlugin();
  Player player{host, out};
  out << "playthrough:\n";
  host.RunFrames(30);
  StartCampaign(player);
  UseInteractionMenu(player);
  VisitWardrobes(player);
  out << "frames: " << host.Frame() << ", game time: " << host.GameTime() << " ms\n";
  out << "save file:\n" << game.SaveText();
  host.UnloadPlugin();
  return player.ok && host.UnknownNatives().empty();
}

}  // namespace

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> all = {
      {"campaign", "a new player makes a character and starts the campaign from a fresh save",
       RunCampaign},
      {"robbery", "a player past the prologue robs the train from a save with progress 1",
       RunRobbery},
      {"menu",
       "a player past the prologue uses the interaction menu and visits two wardrobes from a "
       "save with progress 1",
       RunMenuAndWardrobes},
  };
  return all;
}

const Scenario* FindScenario(const std::string& name) {
  for (const Scenario& s : Scenarios()) {
    if (name == s.name) return &s;
  }
  return nullptr;
}

}  // namespace brimvale::sim
