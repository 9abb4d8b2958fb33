// Free roam's progression segment: the first rank, a visit to the skill tree with a purchase when
// a level is open, and one death with its respawn.
#include <cmath>
#include <cstdlib>
#include <string>

#include "natives/player_actions.h"
#include "player/player.h"

namespace brimvale::sim {
namespace {

bool TextAt(Player& p, const char* text, float x, float y) {
  const DrawnText* t = p.host.world.ui.lastFrame.FindTextAt(x, y);
  return t && t->plain == text;
}

int32_t PlayerMaxHealth(Player& p) {
  return p.host.world.scene.peds[p.host.world.player.ped].maxHealth;
}

// The rank shown in the panel's number slot, or -1 when none is drawn.
std::string RankShown(Player& p) {
  for (float x : {0.032f, 0.024f, 0.016f}) {
    if (const DrawnText* t = p.host.world.ui.lastFrame.FindTextAt(x, 0.055f)) return t->plain;
  }
  return "";
}

int RankPanelAlpha(Player& p) {
  const DrawnText* rank = p.host.world.ui.lastFrame.FindText("RANK");
  return rank ? rank->a : -1;
}

// The rank-up of the first free-roam frame shows the panel for four seconds; once it has faded,
// the reveal control brings it back.
bool ShowRank(Player& p) {
  p.WaitFor(
      "free roam: the rank-up shows the rank panel", [&] { return RankPanelAlpha(p) == 255; }, 240);
  if (!p.ok) return false;
  p.Say("rank " + RankShown(p) + " reached");
  p.Screen("rank-panel");
  p.WaitFor(
      "the rank panel has faded", [&] { return RankPanelAlpha(p) == 0; }, 600);
  p.host.Press("INPUT_REVEAL_HUD", 2);
  p.WaitFor(
      "the reveal control shows the rank panel", [&] { return RankPanelAlpha(p) == 255; }, 60);
  return p.ok;
}

bool VisitSkillTree(Player& p) {
  p.host.Press("INPUT_AIM_IN_AIR", 2);
  // The skill points are shown under the tree once it is open.
  p.WaitFor(
      "the skill tree is open",
      [&] {
        const DrawnText* points = p.host.world.ui.lastFrame.FindTextAt(0.165f, 0.45f);
        return points && points->plain.rfind("SP: ", 0) == 0;
      },
      120);
  if (!p.ok) return false;
  p.Screen("skill-tree");
  // Health level 1 shows "+300" when it is open to this rank.
  if (TextAt(p, "+300", 0.16f, 0.37f)) {
    const int32_t before = PlayerMaxHealth(p);
    p.host.Press("INPUT_FRONTEND_ACCEPT", 2);
    p.WaitFor(
        "bought health level 1: more maximum health",
        [&] { return PlayerMaxHealth(p) == before + 300; }, 10);
    p.host.RunFrame();
    p.Screen("skill-tree-bought");
  } else {
    p.Say("no skill level open at this rank yet");
  }
  // Dead-eye level 1 shows what it unlocks when it is open to this rank.
  if (TextAt(p, "Unlocks use of~n~Dead Eye automatic tagging.", 0.09f, 0.675f)) {
    p.host.Press("INPUT_MOVE_DOWN_ONLY", 2);  // the dead-eye row, its first level
    p.host.RunFrames(2);
    p.host.Press("INPUT_FRONTEND_ACCEPT", 2);
    p.WaitFor(
        "bought dead-eye level 1: dead eye at level 1",
        [&] { return p.host.world.scene.deadEyeLevel == 1; }, 10);
    p.host.RunFrame();
    p.Screen("skill-tree-dead-eye");
  }
  p.host.Press("INPUT_FRONTEND_CANCEL", 2);
  p.WaitFor(
      "the skill tree has closed",
      [&] { return !p.host.world.ui.lastFrame.FindText("SKILL TREE"); }, 60);
  return p.ok;
}

bool DieAndRespawn(Player& p) {
  const Vector3 death = p.host.PlayerPosition();
  KillPlayer(p.host);
  p.WaitFor(
      "the player has died: the death screen",
      [&] { return p.host.world.life.CountEffects("DeathFailMP01") > 0; }, 10);
  p.host.RunFrames(10);
  p.Screen("death");
  p.WaitFor(
      "back in the game after the respawn",
      [&] { return p.host.world.life.CountEffects("RespawnPulse01") > 0; }, 1200);
  if (!p.ok) return false;
  const Vector3 at = p.host.PlayerPosition();
  const float dx = std::fabs(at.x - death.x);
  const float dy = std::fabs(at.y - death.y);
  p.Say("respawned " + std::to_string(static_cast<int>(dx)) + " and " +
        std::to_string(static_cast<int>(dy)) + " units away");
  if (dx < 50.0f || dx > 60.0f || dy < 50.0f || dy > 60.0f) {
    p.Say("respawned outside 50 to 60 units on each axis");
    p.ok = false;
  }
  p.host.RunFrames(30);
  return p.ok;
}

int32_t SavedNumber(Player& p, const char* section, const char* key) {
  return std::atoi(p.SaveValue(section, key).c_str());
}

}  // namespace

bool RobUntilHealthLevel(Player& p) {
  // About thirty robberies at the usual draws; far more means the experience is not adding up.
  constexpr int kMostRobberies = 120;
  p.Quiet(true);
  int robberies = 0;
  while (p.ok && SavedNumber(p, "Rank", "Rank") < 10 && robberies < kMostRobberies) {
    RobTrain(p);
    ++robberies;
    if (p.ok) {
      p.Say("robbed the train again (" + std::to_string(robberies) + "): rank " +
            p.SaveValue("Rank", "Rank") + ", XP " + p.SaveValue("Rank", "XP") + " of " +
            p.SaveValue("Rank", "XPToRank") + ", skill points " +
            p.SaveValue("Rank", "Skill Points"));
    }
  }
  p.Quiet(false);
  if (!p.ok) return false;
  if (SavedNumber(p, "Rank", "Rank") < 10) {
    p.Say("still below rank 10 after " + std::to_string(robberies) + " robberies");
    return p.ok = false;
  }
  p.Say("rank " + p.SaveValue("Rank", "Rank") + ": health level 1 is open");
  VisitSkillTree(p);
  if (p.ok && p.SaveValue("Rank", "Health Lvl 1") != "True") {
    p.Say("health level 1 is not saved as bought");
    p.ok = false;
  }
  return p.ok;
}

bool PlayProgression(Player& p) {
  ShowRank(p) && VisitSkillTree(p) && DieAndRespawn(p);
  return p.ok;
}

}  // namespace brimvale::sim
