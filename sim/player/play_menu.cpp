// The interaction menu's and the wardrobes' segment: the player opens the menu, picks a walk
// style, equips the outfit, resets the character and respawns, then visits two wardrobes (a paid
// change and a cancelled one).
#include "natives/player_actions.h"
#include "player/player.h"

namespace brimvale::sim {
namespace {

constexpr Vector3 kValentineDoor{-326.392f, 797.185f, 121.512f};
constexpr Vector3 kBlackwaterDoor{-756.097f, -1299.822f, 43.638f};
constexpr const char* kWardrobePrompt = "Press ~INPUT_MELEE_GRAPPLE_CHOKE~ to enter the wardrobe.";

PedLook& PlayerLook(Player& p) {
  return p.host.world.look.Of(p.host.world.player.ped);
}

bool WearsHat(Player& p) {
  return WornItems(p.host.world.shop, PlayerLook(p)).count("HAT") > 0;
}

bool OpenMenu(Player& p) {
  p.host.Press("INPUT_FRONTEND_LS", 2);
  p.WaitFor(
      "the interaction menu has faded in", [&] { return p.Sees("View Player Options"); }, 300);
  p.Screen("menu-main");
  p.Press("INPUT_FRONTEND_ACCEPT", 2);
  return p.WaitFor(
      "on PLAYER OPTIONS, RESPAWN highlighted",
      [&] { return p.Sees("Take the easy way out. (Warning: This will kill you)"); }, 30);
}

bool ChooseWalkStyle(Player& p) {
  p.Press("INPUT_GAME_MENU_UP", 2, 3);  // up from RESPAWN wraps to WALK STYLES
  p.Press("INPUT_FRONTEND_ACCEPT", 2);
  p.WaitFor(
      "on WALK STYLES", [&] { return p.Sees("VETERAN"); }, 30);
  p.Screen("menu-walk-styles");
  for (int i = 0; i < 3; ++i)
    p.Press("INPUT_GAME_MENU_DOWN", 2);
  p.Press("INPUT_FRONTEND_ACCEPT", 2);
  p.WaitFor(
      "walking as an easy rider", [&] { return PlayerLook(p).walkStyle == "MP_STYLE_EASYRIDER"; },
      120);
  p.Press("INPUT_FRONTEND_CANCEL", 2);
  return p.WaitFor(
      "back on PLAYER OPTIONS",
      [&] { return p.Sees("Take the easy way out. (Warning: This will kill you)"); }, 30);
}

bool EquipOutfitAndReset(Player& p) {
  p.Screen("menu-player-options");
  p.Press("INPUT_GAME_MENU_DOWN", 2);
  p.Press("INPUT_GAME_MENU_DOWN", 2);
  PlayerLook(p).clothing.clear();  // the game lost the clothes
  p.Press("INPUT_FRONTEND_ACCEPT", 2);
  p.WaitFor(
      "EQUIP OUTFIT put the outfit back on", [&] { return WearsHat(p); }, 30);
  p.Press("INPUT_GAME_MENU_UP", 2);
  p.Press("INPUT_FRONTEND_ACCEPT", 2);
  p.WaitFor(
      "RESET CHARACTER closed the menu at once",
      [&] { return !p.Sees("INTERACTION MENU") && !p.host.world.cameras.rendering; }, 30);
  p.host.RunFrames(90);  // two model switches, then the look goes back on
  return p.WaitFor(
      "the character is rebuilt in the saved look", [&] { return WearsHat(p); }, 120);
}

bool Respawn(Player& p) {
  if (!OpenMenu(p)) return false;
  // An earlier death may have pulsed already: this one's pulse ends its own sequence.
  const auto pulses = p.host.world.life.CountEffects("RespawnPulse01");
  p.Press("INPUT_FRONTEND_ACCEPT", 2);
  p.WaitFor(
      "RESPAWN: the character is dead", [&] { return p.host.world.player.dead; }, 30);
  return p.WaitFor(
      "revived by the death sequence, dressed, the screen faded in",
      [&] {
        return !p.host.world.player.dead && WearsHat(p) &&
               p.host.world.life.CountEffects("RespawnPulse01") > pulses &&
               p.host.world.blips.FadedIn(p.host.GameTime());
      },
      900);
}

bool EnterWardrobe(Player& p, Vector3 door, const char* what) {
  p.host.MovePlayer(door);
  p.WaitFor(
      "at a wardrobe's door: the prompt is up",
      [&] { return p.host.world.ui.LastHelpText() == kWardrobePrompt; }, 60);
  p.host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
  p.WaitFor(
      what, [&] { return p.Sees("1/4"); }, 900);
  p.Screen("wardrobe");
  return p.ok;
}

bool LeaveWardrobe(Player& p, const char* control, const char* what) {
  p.Press(control, 0);
  return p.WaitFor(
      what,
      [&] {
        const auto& fades = p.host.world.blips.fades;
        return !p.host.world.cameras.rendering && !fades.empty() && !fades.back().out;
      },
      900);
}

}  // namespace

bool UseInteractionMenu(Player& p) {
  if (!OpenMenu(p) || !ChooseWalkStyle(p) || !EquipOutfitAndReset(p)) return false;
  return Respawn(p);
}

bool VisitWardrobes(Player& p) {
  SetMoney(p.host, 5000);
  if (!EnterWardrobe(p, kValentineDoor, "in the Valentine wardrobe, editor on 1/4")) return false;
  p.Press("INPUT_MOVE_RIGHT_ONLY", 0);  // a new hat
  p.Press("INPUT_MOVE_DOWN_ONLY", 0);
  p.Press("INPUT_MOVE_RIGHT_ONLY", 0);  // its tint
  LeaveWardrobe(p, "INPUT_FRONTEND_ACCEPT", "out of the Valentine wardrobe, $20 paid");
  if (p.host.world.scene.money != 3000) p.Say("the fee was not taken");

  p.host.RunFrames(30);
  if (!EnterWardrobe(p, kBlackwaterDoor, "in the Blackwater wardrobe")) return false;
  p.Press("INPUT_MELEE_GRAPPLE_CHOKE", 0, 2);  // page 2/4
  p.Press("INPUT_MOVE_LEFT_ONLY", 0);          // boots
  LeaveWardrobe(p, "INPUT_FRONTEND_CANCEL", "out of the Blackwater wardrobe, the change cancelled");
  if (p.host.world.scene.money != 3000) p.Say("a cancelled visit was charged");
  return p.ok;
}

}  // namespace brimvale::sim
