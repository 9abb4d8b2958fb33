// The scripted player of the playthrough and the scenarios: presses controls, walks to places and
// waits for the game to show what a player would wait for. Each part of the campaign has its own
// segment (play_*.cpp); the scenarios string them together.
#pragma once

#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "hook/host.h"

namespace brimvale::sim {

// Where a run reports what a watcher would want to see: one line per milestone, and the screens
// worth a screenshot. The playthrough command fills these in; tests and plain runs leave them
// empty.
struct PlayReport {
  std::function<void(SimHost&, const std::string& line)> milestone;
  std::function<void(SimHost&, const std::string& name)> screen;
  // A long repetition begins (true) or ends (false): the watcher keeps to the player's own lines.
  std::function<void(SimHost&, bool on)> quiet;
};

// Output that goes nowhere, for a player whose lines a watcher tells itself.
class DiscardedOutput : public std::ostream {
 public:
  DiscardedOutput() : std::ostream(nullptr) {}
};

struct Player {
  SimHost& host;
  std::ostream& out;
  PlayReport report{};
  bool ok = true;
  // In a long repetition only failures and the run's own lines are told, and no screen is pictured.
  bool quiet = false;

  void Quiet(bool on) {
    quiet = on;
    if (report.quiet) report.quiet(host, on);
  }
  void Say(const std::string& what) {
    out << "  [frame " << host.Frame() << ", " << host.GameTime() / 1000 << " s] " << what << "\n";
    if (report.milestone) report.milestone(host, what);
  }
  // A screen worth a picture, named for the file (for example "creator-face-1").
  void Screen(const std::string& name) {
    if (!quiet && report.screen) report.screen(host, name);
  }
  // One press of a control, then a few frames for the game to answer.
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
    if (!quiet) Say(what);
    return true;
  }
  bool Sees(const char* text) const { return host.world.ui.lastFrame.FindText(text) != nullptr; }
  // A value of the save file in the game directory (the current one) as it is now; empty when
  // the key is not there.
  std::string SaveValue(const char* section, const char* key) const;
};

// The campaign's segments in the order a new game plays them. Each plays its part from where the
// previous one left the player and returns p.ok.
bool MakeCharacter(Player& p);
bool StartCampaign(Player& p);
// The interaction menu from free roam: a walk style, equip outfit, reset character, respawn.
bool UseInteractionMenu(Player& p);
// Two wardrobe visits: a paid change in Valentine, a cancelled one in Blackwater.
bool VisitWardrobes(Player& p);
// The train robbery from free roam, through to the start blip offered again.
bool RobTrain(Player& p);

// Free roam's progression: the rank panel, the skill tree (buying health level 1 when it is open
// to the player's rank) and one death with its respawn.
bool PlayProgression(Player& p);
// A new character robs the train again and again until health level 1 opens at rank 10, and buys
// it in the skill tree.
bool RobUntilHealthLevel(Player& p);

// The robbery's steps, for runs that look at the world between them.
inline constexpr Vector3 kRobberyStartPoint{1523.26f, 449.16f, 90.362f};
bool HoldRobberyPrompt(Player& p);  // at the station until the robbery's first objective
bool BoardRobberyTrain(Player& p);
bool TakeMoneyBag(Player& p);
bool RideOutOfLawsSight(Player& p, Vector3 to, const char* objective);
bool ReachSafeZone(Player& p);  // until the start blip is offered again
// The objective line the game shows, or "".
std::string ShownObjective(SimHost& host);
// Walks about in free roam for a few minutes of game time.
bool RoamFreely(Player& p);

// The prologue, from the accepted start point to free roam, spotted once by the first guard and
// started over.
bool PlayPrologue(Player& p);
// Spotted by the first guard: "MISSION FAILED", and the prologue starts over from its card.
bool GetSpottedOnce(Player& p);
// The prologue's steps, for runs that look at the world between them. Each waits for the
// objective it starts from.
bool WaitForObjective(Player& p, const char* objective, int maxFrames);
bool EscapePenitentiary(Player& p);     // until the title card
bool TakeOutFirstGuard(Player& p);      // knocked down: "Loot the Guard."
bool LootAndDumpFirstGuard(Player& p);  // looted, carried, put down in the water: the docks
bool SneakToBoat(Player& p);            // at the docks, into the boat: "Escape ..."
bool RowAway(Player& p);                // out of the penitentiary's waters: the title card
bool SearchHideoutChest(Player& p);     // from the hideout's objective to the revolver
bool ClearGangHideout(Player& p);       // every gang member down: "Deliver ..."
// Picks up the leader's body and carries it to `shortBy` units east of the Flaco point.
bool CarryLeaderToFlaco(Player& p, float shortBy);
bool DeliverLeader(Player& p);  // put down at Flaco: "MISSION PASSED"
bool ReachFreeRoam(Player& p);  // until the prologue's closing toast
// Who the player meets: found in the world as a player would see them.
int32_t FirstGuard(SimHost& host);
std::vector<int32_t> RouteGuards(SimHost& host);
int32_t GangLeader(SimHost& host);
std::vector<int32_t> GangMembers(SimHost& host);
// The guard sees the player, who stands right beside him.
void SpotPlayer(SimHost& host, int32_t guard);

}  // namespace brimvale::sim
