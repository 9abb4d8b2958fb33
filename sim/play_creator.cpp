// The creator's segment: a new player makes a character and accepts the story's start point.
#include "character/character_record.h"
#include "character/creator.h"
#include "core/campaign.h"
#include "player.h"

namespace brimvale::sim {
namespace {

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
      [&] { return Creator.CreatorStage == 1 && p.Sees("FACIAL FEATURES"); }, 3000);
  if (!p.ok) return false;

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
      [] { return Campaign.campaignStarted && Campaign.characterApplied; }, 600);
  if (p.ok) p.host.RunFrames(300);
  return p.ok;
}

}  // namespace brimvale::sim
