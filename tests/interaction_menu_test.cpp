// The interaction menu in free roam: opening and quitting with the fade, the player options, the
// walk styles and what they store, and the menu's camera and controls.
#include <cmath>
#include <string>
#include <vector>

#include "free_roam.h"
#include "menu/interaction_menu.h"
#include "progression/progression.h"

namespace brimvale {
namespace {

using sim::GameHash;

class InteractionMenuTest : public testing::FreeRoamTest {
 protected:
  const sim::DrawnText* Title() const {
    return host.world.ui.lastFrame.FindText("INTERACTION MENU");
  }

  // Opens the menu and waits for the main page at full alpha.
  void OpenMenu() {
    Press("INPUT_FRONTEND_LS", 2);
    ASSERT_TRUE(WaitUntilDrawn("View Player Options", 300));
  }

  void OpenPlayerOptions() {
    OpenMenu();
    Press("INPUT_FRONTEND_ACCEPT", 2, 2);
    ASSERT_TRUE(Drawn("PLAYER OPTIONS"));
    ASSERT_EQ(HighlightedOption(), "Take the easy way out. (Warning: This will kill you)");
  }

  void OpenWalkStyles() {
    OpenPlayerOptions();
    Press("INPUT_GAME_MENU_UP", 2, 3);
    Press("INPUT_FRONTEND_ACCEPT", 2, 2);
    ASSERT_TRUE(Drawn("VETERAN"));
  }

  // The description drawn under the highlighted player option.
  std::string HighlightedOption() const {
    const sim::DrawnText* text = host.world.ui.lastFrame.FindTextAt(0.085f, 0.8f);
    return text ? text->plain : "";
  }

  // The walk style whose label sits on the red highlight box, or "" when none is highlighted.
  std::string HighlightedStyle() const {
    for (const sim::DrawnSprite& s : host.world.ui.lastFrame.sprites) {
      if (s.texture != "selection_box_bg_1b" || s.r != 255 || s.g != 0) continue;
      for (const sim::DrawnText& t : host.world.ui.lastFrame.texts) {
        if (t.r == 255 && t.g == 0 && std::fabs(t.y + 0.015f - s.y) < 0.001f) return t.plain;
      }
    }
    return "";
  }

  bool AllMenuControlsDisabled() const {
    const auto& disabled = host.world.shop.disabledControlsLastFrame;
    for (const char* control :
         {"INPUT_SPRINT", "INPUT_HORSE_SPRINT", "INPUT_VEH_PUSHBIKE_SPRINT", "INPUT_TOGGLE_HOLSTER",
          "INPUT_MELEE_ATTACK", "INPUT_ATTACK", "INPUT_MELEE_GRAPPLE_ATTACK", "INPUT_HORSE_MELEE",
          "INPUT_HORSE_ATTACK", "INPUT_SPECIAL_ABILITY",
          "INPUT_SECONDARY_SPECIAL_ABILITY_SECONDARY", "INPUT_COVER"}) {
      if (!disabled.contains(GameHash(control))) return false;
    }
    return true;
  }
};

TEST_F(InteractionMenuTest, TheFirstOpeningFadesInElevenStepsAndQuitComesBackToExactlyZero) {
  StartFreeRoam();
  const int camerasBefore = host.world.cameras.LiveCameras();
  host.Press("INPUT_FRONTEND_LS", 2);
  std::vector<int32_t> alphas;
  for (int frame = 0; frame < 200 && alphas.size() < 12; ++frame) {
    host.RunFrame();
    // The controls are held from the press on, in the waits before anything is drawn too.
    EXPECT_TRUE(AllMenuControlsDisabled()) << "frame " << frame;
    if (const sim::DrawnText* title = Title()) alphas.push_back(title->a);
  }
  EXPECT_EQ(alphas, (std::vector<int32_t>{0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}));
  EXPECT_EQ(InteractionMenu.MenuAlpha, 275);  // the game is handed 255 at most
  EXPECT_EQ(host.world.ui.lastFrame.FindSprite("translate_bg_1a")->a, 255);
  EXPECT_TRUE(host.world.cameras.rendering);
  EXPECT_FALSE(host.world.trains.radarShown);
  const sim::SimCamera* camera = host.world.cameras.Seen();
  ASSERT_NE(camera, nullptr);
  EXPECT_EQ(camera->fov, 30.0f);
  EXPECT_EQ(camera->attachedTo, host.world.player.ped);
  EXPECT_TRUE(Drawn("FREE ROAM"));
  EXPECT_TRUE(Drawn("Ashby Cole"));

  host.Press("INPUT_FRONTEND_CANCEL", 2);
  host.RunFrame();
  alphas.clear();
  for (int frame = 0; frame < 30; ++frame) {
    host.RunFrame();
    if (const sim::DrawnText* title = Title()) alphas.push_back(title->a);
  }
  EXPECT_EQ(alphas, (std::vector<int32_t>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25, 0}));
  EXPECT_EQ(InteractionMenu.MenuAlpha, 0);
  EXPECT_FALSE(host.world.cameras.rendering);
  EXPECT_TRUE(host.world.trains.radarShown);
  // The camera outlives the fade: it goes once the eased return of 2000 ms (60 frames) is over.
  EXPECT_EQ(host.world.cameras.LiveCameras(), camerasBefore + 1);
  ASSERT_TRUE(host.RunUntil([&] { return host.world.cameras.LiveCameras() == camerasBefore; }, 90));
  const sim::TraceEntry* eased = host.Calls(RenderScriptCameras).back();
  EXPECT_EQ(eased->Int(0), 0);
  EXPECT_EQ(eased->Int(1), 1);
  EXPECT_EQ(eased->Int(2), 2000);
  const int64_t framesLater = host.Calls(DestroyCamera).back()->frame - eased->frame;
  EXPECT_GE(framesLater, 60);
  EXPECT_LE(framesLater, 61);
}

// The game timer rolls over from 2147483647 to -2147483648: a return across it still lasts its
// 2000 ms, and its end is reckoned without overflow.
TEST_F(InteractionMenuTest, TheCameraReturnLastsItsTwoSecondsAcrossTheTimersWrap) {
  StartFreeRoam();
  const int camerasBefore = host.world.cameras.LiveCameras();
  OpenMenu();
  host.config.timerStartMs = 2147483647 - 1000 - host.GameTime();  // a second before the wrap
  Press("INPUT_FRONTEND_CANCEL", 2, 20);
  ASSERT_EQ(host.world.cameras.LiveCameras(), camerasBefore + 1);
  ASSERT_TRUE(host.RunUntil([&] { return host.world.cameras.LiveCameras() == camerasBefore; }, 90));
  const int64_t framesLater =
      host.Calls(DestroyCamera).back()->frame - host.Calls(RenderScriptCameras).back()->frame;
  EXPECT_GE(framesLater, 60);
  EXPECT_LE(framesLater, 61);
}

// Opened again while the view is still returning: the old camera goes before the new one is
// made, so the openings never keep more than the one camera and leave none.
TEST_F(InteractionMenuTest, OpenedAgainDuringTheReturnTheOldCameraGoesFirst) {
  StartFreeRoam();
  const int camerasBefore = host.world.cameras.LiveCameras();
  for (int i = 0; i < 3; ++i) {
    OpenMenu();
    EXPECT_EQ(host.world.cameras.LiveCameras(), camerasBefore + 1);
    Press("INPUT_FRONTEND_CANCEL", 2, 20);  // the fade, well inside the return
    ASSERT_EQ(Title(), nullptr);
  }
  host.RunFrames(60);
  EXPECT_EQ(host.world.cameras.LiveCameras(), camerasBefore);
  EXPECT_EQ(host.Calls(CreateCameraByName).size(), 3u);
}

TEST_F(InteractionMenuTest, WithTheSkillTreeBusyTheOpenControlDoesNothing) {
  StartFreeRoam();
  Screens.SkillTreeBusy = true;
  Press("INPUT_FRONTEND_LS", 2, 90);
  EXPECT_EQ(Title(), nullptr);
  EXPECT_TRUE(host.Calls(CreateCameraByName).empty());
}

TEST_F(InteractionMenuTest, RowsWrapAndARowPastEitherEndSelectsNothingForOneFrame) {
  StartFreeRoam();
  OpenPlayerOptions();
  host.Press("INPUT_GAME_MENU_UP", 2);
  host.RunFrame();
  EXPECT_EQ(host.world.ui.sounds.back().name, "NAV_UP");
  host.Press("INPUT_FRONTEND_ACCEPT", 2);  // on no row: nothing is chosen
  host.RunFrame();
  EXPECT_EQ(HighlightedOption(), "");
  EXPECT_TRUE(Drawn("PLAYER OPTIONS"));
  host.RunFrame();
  EXPECT_EQ(HighlightedOption(), "Set your characters walk style.");
  EXPECT_FALSE(Drawn("VETERAN"));

  Press("INPUT_FRONTEND_ACCEPT", 2, 2);
  EXPECT_EQ(HighlightedStyle(), "CASUAL");
  Press("INPUT_GAME_MENU_UP", 2, 3);
  EXPECT_EQ(HighlightedStyle(), "VETERAN");
  host.Press("INPUT_GAME_MENU_DOWN", 2);
  host.RunFrame();
  EXPECT_EQ(host.world.ui.sounds.back().name, "NAV_DOWN");
  host.Press("INPUT_FRONTEND_ACCEPT", 2);  // one past "VETERAN": nothing is stored
  host.RunFrame();
  EXPECT_EQ(HighlightedStyle(), "");
  host.RunFrame();
  EXPECT_EQ(HighlightedStyle(), "CASUAL");
  EXPECT_TRUE(host.Calls(RemovePedWalkStyle).empty());
  EXPECT_FALSE(SaveHasKey("Character", "Walking Style"));

  Press("INPUT_FRONTEND_CANCEL", 2, 2);
  EXPECT_EQ(HighlightedOption(), "Take the easy way out. (Warning: This will kill you)");
  Press("INPUT_FRONTEND_CANCEL", 2, 2);
  EXPECT_TRUE(Drawn("View Player Options"));
}

TEST_F(InteractionMenuTest, TheFirstChoiceDropsTheDefaultByItsPrefixedNameAndSetsTheNewOneAtOnce) {
  StartFreeRoam();
  OpenWalkStyles();
  Press("INPUT_GAME_MENU_UP", 2, 3);
  Press("INPUT_GAME_MENU_UP", 2, 2);
  ASSERT_EQ(HighlightedStyle(), "SILENT TYPE");
  host.ClearTrace();
  host.Press("INPUT_FRONTEND_ACCEPT", 2);
  ASSERT_TRUE(host.RunUntil([&] { return !host.Calls(SetPedWalkStyle).empty(); }, 60));

  const auto removed = host.Calls(RemovePedWalkStyle);
  ASSERT_EQ(removed.size(), 1u);
  EXPECT_EQ(removed[0]->strings[0], "MP_STYLE_MP_Style_Casual");
  const auto set = host.Calls(SetPedWalkStyle);
  EXPECT_EQ(set[0]->strings[0], "MP_STYLE_SILENTTYPE");
  EXPECT_EQ(set[0]->frame, removed[0]->frame);  // the game never had that name: no wait
  EXPECT_EQ(PlayerLook().walkStyle, "MP_STYLE_SILENTTYPE");
  EXPECT_EQ(SaveValue("Character", "Walking Style"), "SILENTTYPE");
  EXPECT_EQ(host.world.shop.startOptions[host.world.player.ped], 0);

  // A style the ped has is waited out while the panel stays up.
  Press("INPUT_GAME_MENU_UP", 2, 2);
  ASSERT_EQ(HighlightedStyle(), "REFINED");
  host.ClearTrace();
  host.Press("INPUT_FRONTEND_ACCEPT", 2);
  ASSERT_TRUE(host.RunUntil([&] { return !host.Calls(RemovePedWalkStyle).empty(); }, 60));
  EXPECT_EQ(host.Calls(RemovePedWalkStyle)[0]->strings[0], "MP_STYLE_SILENTTYPE");
  while (host.Calls(SetPedWalkStyle).empty()) {
    host.RunFrame();
    EXPECT_TRUE(Drawn("WALK STYLES"));
    EXPECT_TRUE(AllMenuControlsDisabled());
  }
  EXPECT_GE(host.Calls(SetPedWalkStyle)[0]->frame - host.Calls(RemovePedWalkStyle)[0]->frame, 3);
  EXPECT_EQ(PlayerLook().walkStyle, "MP_STYLE_REFINED");

  PlayerLook().walkStyle.clear();
  RestartGame();
  EXPECT_EQ(PlayerLook().walkStyle, "MP_STYLE_REFINED");
}

TEST_F(InteractionMenuTest, ResetCharacterClosesAtOnceAndTheLookIsPutOnAgain) {
  StartFreeRoam("Body Type=3\n");
  const auto worn = Worn();
  ASSERT_EQ(worn.at("HAT"), "CLOTHING_ITEM_M_HAT_000_TINT_000");
  OpenPlayerOptions();
  Press("INPUT_GAME_MENU_DOWN", 2, 2);
  ASSERT_EQ(HighlightedOption(), "Reset your character model if it breaks.");
  host.ClearTrace();
  host.Press("INPUT_FRONTEND_ACCEPT", 2);
  host.RunFrame();
  EXPECT_EQ(InteractionMenu.MenuAlpha, 0);  // no fade
  EXPECT_FALSE(host.world.cameras.rendering);
  host.RunFrames(120);
  EXPECT_EQ(Title(), nullptr);
  EXPECT_GE(host.Calls(RefreshPlayerState).size(), 4u);  // the switch ran twice in two seconds
  EXPECT_EQ(host.Calls(SetPedBodyType).size(), 1u);
  EXPECT_EQ(Worn(), worn);
  EXPECT_EQ(PlayerLook().walkStyle, "MP_Style_Casual");
}

TEST_F(InteractionMenuTest, EquipOutfitDressesThePlayerAndTheMenuStaysOpen) {
  StartFreeRoam();
  const auto worn = Worn();
  PlayerLook().clothing.clear();  // the game lost the clothes
  OpenPlayerOptions();
  Press("INPUT_GAME_MENU_DOWN", 2, 2);
  Press("INPUT_GAME_MENU_DOWN", 2, 2);
  ASSERT_EQ(HighlightedOption(), "Reset your characters outfit on the go.");
  Press("INPUT_FRONTEND_ACCEPT", 2, 2);
  EXPECT_EQ(Worn(), worn);
  EXPECT_TRUE(Drawn("PLAYER OPTIONS"));
  EXPECT_EQ(host.world.ui.sounds.back().name, "SELECT");
}

TEST_F(InteractionMenuTest, RespawnKillsAtOnceAndTheDeathSequenceRevives) {
  StartFreeRoam();
  const auto worn = Worn();
  const int camerasBefore = host.world.cameras.LiveCameras();
  OpenPlayerOptions();
  host.Press("INPUT_FRONTEND_ACCEPT", 2);
  host.RunFrame();
  EXPECT_TRUE(host.world.player.dead);
  EXPECT_FALSE(host.world.cameras.rendering);
  EXPECT_TRUE(host.world.trains.radarShown);
  EXPECT_EQ(host.world.cameras.LiveCameras(), camerasBefore);
  EXPECT_EQ(InteractionMenu.MenuAlpha, 0);
  ASSERT_TRUE(host.RunUntil([&] { return !host.world.player.dead; }, 900));
  EXPECT_EQ(host.world.life.resurrections, 1);
  EXPECT_EQ(Worn(), worn);
  host.RunFrame();
  EXPECT_EQ(Title(), nullptr);
}

TEST_F(InteractionMenuTest, ADeathWithTheMenuOpenClosesItAtOnce) {
  StartFreeRoam();
  const int camerasBefore = host.world.cameras.LiveCameras();
  OpenMenu();
  host.world.Kill(host.world.player.ped, host.Frame());
  host.RunFrame();
  EXPECT_EQ(Title(), nullptr);
  EXPECT_FALSE(host.world.cameras.rendering);
  EXPECT_EQ(host.world.cameras.LiveCameras(), camerasBefore);
  EXPECT_FALSE(Screens.InteractionMenuOpen);
}

}  // namespace
}  // namespace brimvale
