// The creator's segment: a new player makes a character and accepts the story's start point.
// It drives the game only through what a player does and sees, so it also plays the real DLL.
#include "character/creator.h"
#include "core/campaign.h"
#include "player.h"

namespace brimvale::sim {
namespace {

// The main menu's last row; the pages never draw it.
constexpr const char* kMainMenuMark = "CREATE CHARACTER";

// Opens the highlighted main-menu row (its pages show `pageTitle`), presses the menu controls on
// pad 0 and goes back.
void EditStage(Player& p, const char* pageTitle, const char* what,
               std::initializer_list<const char*> presses) {
  p.Press("INPUT_FRONTEND_ACCEPT", 0);
  p.WaitFor(
      what, [&] { return p.Sees(pageTitle) && !p.Sees(kMainMenuMark); }, 60);
  for (const char* control : presses)
    p.Press(control, 0);
  p.Press("INPUT_GAME_MENU_CANCEL", 0);
  p.WaitFor(
      "back on the main menu", [&] { return p.Sees(kMainMenuMark); }, 60);
}

}  // namespace

bool MakeCharacter(Player& p) {
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
      [&] { return p.Sees("FACIAL FEATURES") && p.Sees(kMainMenuMark); }, 3000);
  if (!p.ok) return false;

  // The face: raise the first feature three times, then lower one on the next page.
  EditStage(p, "FACIAL", "on the facial features pages",
            {"INPUT_MOVE_RIGHT_ONLY", "INPUT_MOVE_RIGHT_ONLY", "INPUT_MOVE_RIGHT_ONLY",
             "INPUT_MELEE_GRAPPLE_CHOKE", "INPUT_MOVE_LEFT_ONLY"});
  // The body: one step of the body type.
  p.Press("INPUT_MOVE_DOWN_ONLY", 0);
  EditStage(p, "BODY", "on the body pages",
            {"INPUT_MOVE_DOWN_ONLY", "INPUT_MOVE_DOWN_ONLY", "INPUT_MOVE_RIGHT_ONLY"});
  // The hair: a new style.
  p.Press("INPUT_MOVE_DOWN_ONLY", 0);
  EditStage(p, "HAIR", "on the hair pages", {"INPUT_MOVE_RIGHT_ONLY", "INPUT_MOVE_RIGHT_ONLY"});

  p.Press("INPUT_MOVE_DOWN_ONLY", 0);
  p.Press("INPUT_FRONTEND_ACCEPT", 0);
  p.WaitFor(
      "character created, dropped at the story start",
      [&] {
        return p.SaveHolds("Create Character=True") && !p.Sees(kMainMenuMark) &&
               p.host.world.blips.Named("Brimvale") != nullptr;
      },
      600);
  return p.ok;
}

bool StartCampaign(Player& p) {
  p.host.MovePlayer(kStartPoint);
  p.WaitFor(
      "at the story's start point: the prompt is up",
      [&] { return p.host.world.ui.LastHelpText() == kStartPrompt; }, 300);
  p.host.Press("INPUT_CARRIABLE_SUICIDE", 2);
  p.WaitFor(
      "the campaign has started as the new character",
      [&] {
        return p.host.world.blips.Named("Brimvale") == nullptr &&
               (p.PlayerIs("MP_MALE") || p.PlayerIs("MP_FEMALE"));
      },
      600);
  if (p.ok) p.host.RunFrames(300);
  return p.ok;
}

}  // namespace brimvale::sim
