#include <map>

#include "character/character_record.h"
#include "character/creator.h"
#include "core/campaign.h"
#include "game_directory.h"
#include "host.h"
#include "scenario.h"

namespace brimvale::sim {
namespace {

// A scripted player: presses controls, walks to places and waits for the plugin to get there.
struct Player {
  SimHost& host;
  std::ostream& out;
  bool ok = true;

  void Say(const std::string& what) {
    out << "  [frame " << host.Frame() << ", " << host.GameTime() / 1000 << " s] " << what << "\n";
  }
  // One press of a control, then a few frames for the menu to answer.
  void Press(const char* control, int32_t pad, int frames = 2) {
    host.Press(control, pad);
    host.RunFrames(frames);
  }
  bool WaitFor(const char* what, const std::function<bool()>& done, int maxFrames) {
    if (!ok) return false;
    if (!host.RunUntil(done, maxFrames)) {
      Say(std::string("gave up waiting: ") + what);
      ok = false;
      return false;
    }
    Say(what);
    return true;
  }
  bool Sees(const char* text) const { return host.world.ui.lastFrame.FindText(text) != nullptr; }
};

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

// Opens the highlighted main-menu row, presses the menu controls on pad 0 and goes back.
void EditStage(Player& p, int32_t stage, const char* what,
               std::initializer_list<const char*> presses) {
  p.Press("INPUT_FRONTEND_ACCEPT", 0);
  p.WaitFor(
      what, [stage] { return Creator.CreatorStage == stage; }, 60);
  for (const char* control : presses)
    p.Press(control, 0);
  p.Press("INPUT_GAME_MENU_CANCEL", 0);
  p.WaitFor(
      "back on the main menu", [] { return Creator.CreatorStage == 1; }, 60);
}

void MakeCharacter(Player& p) {
  p.host.MovePlayer(kCreatorEntryPoint);
  p.WaitFor(
      "at the creator's entry point: the prompt is up",
      [&] {
        return p.host.world.ui.LastHelpText() ==
               "Press ~INPUT_LOOT~ to Create Your Brimvale Character.";
      },
      300);
  p.host.Press("INPUT_LOOT", 2);
  p.WaitFor(
      "in the creator's scene, main menu drawn",
      [&] { return Creator.CreatorStage == 1 && p.Sees("FACIAL FEATURES"); }, 3000);
  if (!p.ok) return;

  // The face: raise the first feature three times, then lower one on the next page.
  EditStage(p, 2, "on the facial features pages",
            {"INPUT_MOVE_RIGHT_ONLY", "INPUT_MOVE_RIGHT_ONLY", "INPUT_MOVE_RIGHT_ONLY",
             "INPUT_MELEE_GRAPPLE_CHOKE", "INPUT_MOVE_LEFT_ONLY"});
  // The body: one step of the body type.
  p.Press("INPUT_MOVE_DOWN_ONLY", 0);
  EditStage(p, 3, "on the body pages",
            {"INPUT_MOVE_DOWN_ONLY", "INPUT_MOVE_DOWN_ONLY", "INPUT_MOVE_RIGHT_ONLY"});
  // The hair: a new style.
  p.Press("INPUT_MOVE_DOWN_ONLY", 0);
  EditStage(p, 4, "on the hair pages", {"INPUT_MOVE_RIGHT_ONLY", "INPUT_MOVE_RIGHT_ONLY"});

  p.Press("INPUT_MOVE_DOWN_ONLY", 0);
  p.Press("INPUT_FRONTEND_ACCEPT", 0);
  p.WaitFor(
      "character created, dropped at the story start",
      [] { return Campaign.characterCreated && Creator.CreatorStage == -1; }, 600);
}

void StartCampaign(Player& p) {
  p.host.MovePlayer(kStartPoint);
  p.WaitFor(
      "at the story's start point: the prompt is up",
      [&] { return p.host.world.ui.LastHelpText() == kStartPrompt; }, 300);
  p.host.Press("INPUT_CARRIABLE_SUICIDE", 2);
  p.WaitFor(
      "the campaign has started as the new character",
      [] { return Campaign.campaignStarted && Campaign.characterApplied; }, 600);
  if (p.ok) p.host.RunFrames(300);
}

// The campaign from a fresh save, as far as it is built: the creator, then the start point.
bool RunCampaign(std::ostream& out) {
  GameDirectory game("brimvale_play_campaign");
  SimHost host;
  host.LoadPlugin();
  Player player{host, out};
  out << "playthrough:\n";
  host.RunFrames(30);
  MakeCharacter(player);
  StartCampaign(player);
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

}  // namespace

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> all = {
      {"campaign", "a new player makes a character and starts the campaign from a fresh save",
       RunCampaign},
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
