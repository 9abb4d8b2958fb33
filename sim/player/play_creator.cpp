// The creator's segment: a new player makes a character on every page of the creator, changes
// the gender, and accepts the story's start point. Every wait watches what the game shows (the
// draw list, the help text, the blips, the player's model) or the save file.
#include <span>

#include "character/creator.h"
#include "core/campaign.h"
#include "player/player.h"

namespace brimvale::sim {
namespace {

// A page of the creator, known by a text only it draws.
struct CreatorPage {
  const char* marker;
  const char* shot;
};

constexpr CreatorPage kFacePages[] = {
    {"EYES", "creator-face-eyes"},   {"NOSE", "creator-face-nose"},
    {"MOUTH", "creator-face-mouth"}, {"LIP", "creator-face-lip"},
    {"CHIN", "creator-face-chin"},   {"JAW", "creator-face-jaw"},
    {"CHEEK", "creator-face-cheek"}, {"EARS", "creator-face-ears"},
    {"BROW", "creator-face-brow"},   {"EXTRAS", "creator-face-extras"},
};
constexpr CreatorPage kBodyPages[] = {
    {"BODY (1/2)", "creator-body-1"},
    {"BODY (2/2)", "creator-body-2"},
};
constexpr CreatorPage kMaleHairPages[] = {
    {"Hair Style", "creator-hair"},
    {"Beard Style", "creator-beard"},
};

constexpr const char* kMainMenuMarker = "FACIAL FEATURES";

bool WaitToSee(Player& p, const char* text, const std::string& what, int maxFrames = 120) {
  return p.WaitFor(
      what.c_str(), [&] { return p.Sees(text); }, maxFrames);
}

// Three edits on the page shown: raise the first row, lower the second, then back to the first.
void EditPage(Player& p) {
  p.Press("INPUT_MOVE_RIGHT_ONLY", 0);
  p.Press("INPUT_MOVE_DOWN_ONLY", 0);
  p.Press("INPUT_MOVE_LEFT_ONLY", 0);
  p.Press("INPUT_MOVE_UP_ONLY", 0);
}

// Edits every page of a stage, a picture of each, turning the pages with E.
void VisitPages(Player& p, std::span<const CreatorPage> pages) {
  for (size_t i = 0; i < pages.size() && p.ok; ++i) {
    if (i > 0) p.Press("INPUT_MELEE_GRAPPLE_CHOKE", 0);
    if (!WaitToSee(p, pages[i].marker,
                   std::string("on the creator's ") + pages[i].marker + " page"))
      return;
    EditPage(p);
    p.Screen(pages[i].shot);
  }
}

// From the main menu, `moves` rows down (up when negative), then into that row's stage.
void OpenMainMenuRow(Player& p, int moves) {
  for (int i = 0; i < moves; ++i)
    p.Press("INPUT_MOVE_DOWN_ONLY", 0);
  for (int i = 0; i > moves; --i)
    p.Press("INPUT_MOVE_UP_ONLY", 0);
  p.Press("INPUT_FRONTEND_ACCEPT", 0);
}

void BackToMainMenu(Player& p) {
  p.Press("INPUT_GAME_MENU_CANCEL", 0);
  WaitToSee(p, kMainMenuMarker, "back on the creator's main menu");
}

bool PlayerModelIs(Player& p, const char* model) {
  return p.host.world.PlayerEntity().model == GameHash(model);
}

// On the second body page: up past the first row to the last one, the gender, and over to female.
void ChangeToFemale(Player& p) {
  p.Press("INPUT_MOVE_UP_ONLY", 0);
  p.Press("INPUT_MOVE_RIGHT_ONLY", 0);
  p.WaitFor(
      "gender changed: the creator's ped is female",
      [&] { return PlayerModelIs(p, "MP_FEMALE") && p.Sees("Gender"); }, 600);
  p.Screen("creator-body-female");
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
  p.Screen("creator-entry-prompt");
  p.host.Press("INPUT_LOOT", 2);
  if (!WaitToSee(p, kMainMenuMarker, "in the creator's scene, main menu drawn", 3000)) return false;
  p.Screen("creator-main-menu");

  OpenMainMenuRow(p, 0);
  VisitPages(p, kFacePages);
  BackToMainMenu(p);
  OpenMainMenuRow(p, 1);
  VisitPages(p, kBodyPages);
  BackToMainMenu(p);
  OpenMainMenuRow(p, 1);
  VisitPages(p, kMaleHairPages);
  BackToMainMenu(p);

  // Back to the body pages, where the last row changes the gender.
  OpenMainMenuRow(p, -1);
  WaitToSee(p, "BODY (1/2)", "on the creator's body pages again");
  p.Press("INPUT_MELEE_GRAPPLE_CHOKE", 0);
  WaitToSee(p, "BODY (2/2)", "on the second body page");
  if (p.ok) ChangeToFemale(p);
  BackToMainMenu(p);
  // A female has one hair page and no beard.
  OpenMainMenuRow(p, 1);
  WaitToSee(p, "Hair Style", "on the creator's hair page as a female");
  EditPage(p);
  p.Screen("creator-hair-female");
  BackToMainMenu(p);

  OpenMainMenuRow(p, 1);
  // Dropped back into the world: the creator's camera is gone, the screen is back and the start
  // point's blip is on the map (the save may not be writable, so it is not what shows this).
  p.WaitFor(
      "character created, dropped at the story start",
      [&] {
        const SimHost& host = p.host;
        return !host.world.cameras.rendering && host.world.blips.FadedIn(host.GameTime()) &&
               host.world.blips.Named("Brimvale");
      },
      600);
  return p.ok;
}

bool StartCampaign(Player& p) {
  p.host.MovePlayer(kStartPoint);
  p.WaitFor(
      "at the story's start point: the prompt is up",
      [&] { return p.host.world.ui.LastHelpText() == kStartPrompt; }, 300);
  p.Screen("start-point-prompt");
  p.host.Press("INPUT_CARRIABLE_SUICIDE", 2);
  // Started: the start point's blip is gone, the screen is back and the player's own blip is
  // styled as the character's.
  const BlipWorld& blips = p.host.world.blips;
  p.WaitFor(
      "the campaign has started as the new character",
      [&] {
        const SimBlip* own = blips.PlayerBlip();
        return !blips.Named("Brimvale") && blips.FadedIn(p.host.GameTime()) && own &&
               own->style == GameHash("BLIP_STYLE_MP_PLAYER_POSSE_LEADER");
      },
      600);
  if (p.ok) p.host.RunFrames(30);
  return p.ok;
}

}  // namespace brimvale::sim
