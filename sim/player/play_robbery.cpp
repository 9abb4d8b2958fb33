// The robbery's segment: the player holds the prompt at the station, jumps onto the train, takes
// the money bag, loses the law (and, once on the way, gets wanted again) and delivers the bag.
#include "natives/player_actions.h"
#include "player/player.h"

namespace brimvale::sim {
namespace {

constexpr Vector3 kOutOfSight{1300.0f, 150.0f, 95.0f};  // far enough from the train
constexpr Vector3 kWantedAgainAt{1300.0f, 150.0f, 95.0f};
constexpr Vector3 kLostAgainAt{1200.0f, -60.0f, 96.0f};

const SimBlip* BlipNamed(SimHost& host, const char* name) {
  return host.world.blips.Named(name);
}

// Where the player would walk to reach the entity a named blip follows.
bool WalkToBlip(Player& p, const char* name) {
  const SimBlip* blip = BlipNamed(p.host, name);
  const SimEntity* e = blip ? p.host.world.Find(blip->entity) : nullptr;
  if (!e) {
    p.Say(std::string("no blip named ") + name);
    p.ok = false;
    return false;
  }
  p.host.MovePlayer(e->position);
  return true;
}

bool StartBlipOffered(SimHost& host) {
  const SimBlip* blip = BlipNamed(host, "The 10,000 Mile Robbery");
  return blip && blip->style == GameHash("BLIP_STYLE_SHOP");
}

}  // namespace

std::string ShownObjective(SimHost& host) {
  const auto& lines = host.world.ui.objectives;
  return lines.empty() ? std::string() : lines.back().text;
}

bool HoldRobberyPrompt(Player& p) {
  p.WaitFor(
      "the robbery's blip is on the map", [&] { return StartBlipOffered(p.host); }, 300);
  p.host.MovePlayer(kRobberyStartPoint);
  p.WaitFor(
      "at the station: \"Start Train Robbery\" is offered",
      [&] {
        for (const auto& [handle, prompt] : p.host.world.trains.prompts) {
          if (prompt.text == "Start Train Robbery" && prompt.visible) return true;
        }
        return false;
      },
      60);
  p.Screen("robbery-prompt");
  const size_t cardsBefore = p.host.world.scene.introCards.size();
  HoldControl(p.host, "INPUT_INTERACT_LOCKON_POS", true);
  p.WaitFor(
      "the introduction card", [&] { return p.host.world.scene.introCards.size() > cardsBefore; },
      600);
  HoldControl(p.host, "INPUT_INTERACT_LOCKON_POS", false);
  p.Screen("robbery-intro-card");
  p.WaitFor(
      "on horseback by the line: \"Get onto the Train.\"",
      [&] { return ShownObjective(p.host) == "Get onto the ~s~~o~Train.~s~"; }, 3000);
  p.Screen("robbery-board");
  return p.ok;
}

bool BoardRobberyTrain(Player& p) {
  if (!p.ok || !WalkToBlip(p, "Train")) return false;
  p.WaitFor(
      "on the train: \"Steal the Money Bag.\"",
      [&] { return ShownObjective(p.host) == "Steal the ~s~~o~Money Bag.~s~"; }, 60);
  return p.ok;
}

bool TakeMoneyBag(Player& p) {
  if (!p.ok || !WalkToBlip(p, "Money Bag")) return false;
  p.Press("INPUT_PICKUP_CARRIABLE", 0);
  p.WaitFor(
      "the bag in hand and the law called: \"Escape the Law.\"",
      [&] { return ShownObjective(p.host) == "Escape the ~s~~e~Law.~s~"; }, 60);
  p.Screen("robbery-escape");
  return p.ok;
}

bool RideOutOfLawsSight(Player& p, Vector3 to, const char* objective) {
  if (!p.ok) return false;
  p.host.MovePlayer(to);
  p.WaitFor(
      objective,
      [&] {
        return ShownObjective(p.host) == "Deliver the Bag to the ~s~~o~Safe Zone.~s~" &&
               BlipNamed(p.host, "Safe Zone");
      },
      120);
  return p.ok;
}

bool ReachSafeZone(Player& p) {
  const SimBlip* zone = BlipNamed(p.host, "Safe Zone");
  if (!p.ok || !zone) return false;
  p.host.MovePlayer(zone->position);
  p.WaitFor(
      "at the safe zone: \"MISSION PASSED\"",
      [&] {
        const Notice* n = p.host.world.ui.LastNotice(NoticeKind::Result);
        return n && n->text == "MISSION PASSED";
      },
      600);
  p.Screen("robbery-passed");
  p.WaitFor(
      "back in free roam, the robbery offered again", [&] { return StartBlipOffered(p.host); },
      1200);
  return p.ok;
}

bool RobTrain(Player& p) {
  HoldRobberyPrompt(p);
  BoardRobberyTrain(p);
  TakeMoneyBag(p);
  RideOutOfLawsSight(p, kOutOfSight,
                     "out of the law's sight: \"Deliver the Bag to the Safe Zone.\"");
  if (p.ok) {
    CommitCrime(p.host, kWantedAgainAt);
    p.WaitFor(
        "seen by the law again: \"Escape the Law.\"",
        [&] { return ShownObjective(p.host) == "Escape the ~s~~e~Law.~s~"; }, 60);
  }
  RideOutOfLawsSight(p, kLostAgainAt, "lost them again: \"Deliver the Bag to the Safe Zone.\"");
  ReachSafeZone(p);
  return p.ok;
}

}  // namespace brimvale::sim
