// The wardrobe shops in free roam: the door prompt, the paid and the cancelled visit, the editor's
// pages and rows, the way out to each shop's own door, and what keeps a visit apart from the
// interaction menu, the skill tree and a death.
#include <string>

#include "free_roam.h"
#include "progression/progression.h"

namespace brimvale {
namespace {

using sim::GameHash;

struct ShopDoor {
  Vector3 door;
  Vector3 exit;
  float exitHeading;
};

constexpr ShopDoor kValentine{
    {-326.392f, 797.185f, 121.512f}, {-326.195f, 797.053f, 120.512f}, 11.605f};
constexpr ShopDoor kShops[] = {
    kValentine,
    {{-1796.614f, -388.37f, 160.264f}, {-1797.073f, -388.147f, 159.236f}, 34.399f},
    {{-756.097f, -1299.822f, 43.638f}, {-756.192f, -1299.713f, 42.639f}, 273.986f},
    {{1333.369f, -1292.276f, 80.239f}, {1333.24f, -1292.236f, 79.239f}, 242.487f},
    {{2554.98f, -1154.619f, 53.482f}, {2555.105f, -1153.393f, 52.314f}, 63.757f},
};

constexpr const char* kPrompt = "Press ~INPUT_MELEE_GRAPPLE_CHOKE~ to enter the wardrobe.";

class WardrobeTest : public testing::FreeRoamTest {
 protected:
  void StandAt(Vector3 at) {
    host.MovePlayer(at);
    host.RunFrame();
  }

  // Walks to the door, enters and waits for the editor's first page.
  void EnterShop(const ShopDoor& shop) {
    StandAt(shop.door);
    host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
    ASSERT_TRUE(WaitUntilDrawn("1/4", 900));
  }

  // Presses the editor's confirm or cancel and waits until the view is back outside.
  void Leave(const char* control) {
    host.Press(control, 0);
    host.RunFrame();
    ASSERT_TRUE(host.RunUntil(
        [&] { return !host.world.cameras.rendering && !host.world.blips.fades.back().out; }, 900));
  }

  size_t PromptsShown() const {
    return static_cast<size_t>(host.world.ui.CountNotices(sim::NoticeKind::Help, kPrompt));
  }

  // The y of the red highlight box, or -1 when no row is highlighted.
  float HighlightY() const {
    const sim::DrawnSprite* box = host.world.ui.lastFrame.FindSprite("calendar_bg_large");
    return box ? box->y : -1.0f;
  }

  const sim::DrawnText* PageLabel() const {
    return host.world.ui.lastFrame.FindTextAt(0.824f, 0.325f);
  }

  void ExpectAt(Vector3 at) {
    const Vector3 position = host.PlayerPosition();
    EXPECT_EQ(position.x, at.x);
    EXPECT_EQ(position.y, at.y);
    EXPECT_EQ(position.z, at.z);
  }
};

TEST_F(WardrobeTest, TheDoorPromptsWithinTwoUnitsOnly) {
  StartFreeRoam();
  EXPECT_EQ(host.world.blips.blips.size() >= 5, true);
  const Vector3 door = kValentine.door;
  StandAt({door.x + 2.0f, door.y, door.z});
  host.RunFrames(5);
  EXPECT_EQ(PromptsShown(), 0u);
  StandAt({door.x, door.y, door.z + 2.01f});  // straight above
  host.RunFrames(5);
  EXPECT_EQ(PromptsShown(), 0u);
  StandAt({door.x + 1.99f, door.y, door.z});
  const size_t before = PromptsShown();
  host.RunFrames(5);
  EXPECT_EQ(PromptsShown(), before + 5);
}

TEST_F(WardrobeTest, ConfirmWithoutTheFeeShowsInsufficientFundsAndStays) {
  StartFreeRoam();
  host.world.scene.money = 1999;
  EnterShop(kValentine);
  Press("INPUT_MOVE_RIGHT_ONLY", 0);
  Press("INPUT_FRONTEND_ACCEPT", 0);
  EXPECT_EQ(host.world.ui.LastHelpText(), "Insufficient Funds.");
  host.RunFrames(30);
  EXPECT_TRUE(Drawn("1/4"));
  EXPECT_EQ(host.world.scene.money, 1999);
  for (int category = 0; category < 20; ++category)
    EXPECT_FALSE(SaveHasKey("Character", "Outfit Part " + std::to_string(category))) << category;
}

TEST_F(WardrobeTest, ExactlyTwentyDollarsSavesTheOutfitAndTakesTheFeeAfterTheFadeIn) {
  StartFreeRoam();
  host.world.scene.money = 2000;
  EnterShop(kValentine);
  EXPECT_TRUE(host.world.cameras.rendering);
  EXPECT_FALSE(host.world.scene.worldDisplay);
  EXPECT_EQ(host.world.cameras.AnimOf(host.world.player.ped)->clip, "base");
  Press("INPUT_MOVE_RIGHT_ONLY", 0);  // hat 0 -> 1, tint 1
  EXPECT_EQ(Worn().at("HAT"), "CLOTHING_ITEM_M_HAT_001_TINT_001");
  EXPECT_EQ(host.world.scene.money, 2000);
  Leave("INPUT_FRONTEND_ACCEPT");

  EXPECT_EQ(host.world.scene.money, 0);
  const auto fadeIns = host.Calls(ScreenFadeIn);
  const auto charges = host.Calls(RemovePlayerMoney);
  ASSERT_EQ(charges.size(), 1u);
  EXPECT_EQ(charges[0]->Int(0), 2000);
  EXPECT_EQ(fadeIns.back()->Int(0), 500);
  EXPECT_GT(charges[0], fadeIns.back());  // after it in the trace
  EXPECT_EQ(SaveValue("Character", "Outfit Part 0"), "1");
  EXPECT_EQ(SaveValue("Character", "Outfit Tint 0"), "1");
  EXPECT_EQ(SaveValue("Character", "Outfit Part 19"), "-1");
  EXPECT_EQ(Worn().at("HAT"), "CLOTHING_ITEM_M_HAT_001_TINT_001");
  ExpectAt(kValentine.exit);
  EXPECT_TRUE(host.world.scene.worldDisplay);
  EXPECT_TRUE(host.world.trains.radarShown);
}

TEST_F(WardrobeTest, CancelAfterSeveralChangesPutsBackTheEntryOutfitEvenWithAcceptInTheSameFrame) {
  StartFreeRoam();
  host.world.scene.money = 5000;
  EnterShop(kValentine);
  const auto entryOutfit = Worn();
  const std::string save = SaveText();
  Press("INPUT_MOVE_RIGHT_ONLY", 0);  // hat part
  Press("INPUT_MOVE_DOWN_ONLY", 0);
  Press("INPUT_MOVE_DOWN_ONLY", 0);
  Press("INPUT_MOVE_RIGHT_ONLY", 0);  // a coat
  Press("INPUT_MELEE_GRAPPLE_CHOKE", 0, 2);
  ASSERT_TRUE(Drawn("2/4"));
  Press("INPUT_MOVE_LEFT_ONLY", 0);
  Press("INPUT_MOVE_LEFT_ONLY", 0);  // boots off
  EXPECT_EQ(Worn().at("COAT"), "CLOTHING_ITEM_M_COAT_000_TINT_001");
  EXPECT_EQ(Worn().count("BOOTS"), 0u);
  // Accept pressed in the same frame: cancel is read after it and wins.
  host.Press("INPUT_FRONTEND_ACCEPT", 0);
  Leave("INPUT_FRONTEND_CANCEL");

  EXPECT_EQ(Worn(), entryOutfit);
  EXPECT_EQ(Worn().at("BOOTS"), "CLOTHING_ITEM_M_BOOTS_001_TINT_001");
  EXPECT_EQ(SaveText(), save);
  EXPECT_EQ(host.world.scene.money, 5000);
  EXPECT_TRUE(host.Calls(RemovePlayerMoney).empty());
  ExpectAt(kValentine.exit);

  // The next visit starts from the same outfit.
  EnterShop(kValentine);
  EXPECT_EQ(Worn(), entryOutfit);
}

TEST_F(WardrobeTest, PagesAndRowsWrapAndAPositionPastEitherEndEditsNothing) {
  StartFreeRoam();
  EnterShop(kValentine);
  Press("INPUT_MOVE_DOWN_ONLY", 0);
  Press("INPUT_MOVE_DOWN_ONLY", 0, 2);
  EXPECT_FLOAT_EQ(HighlightY(), 0.485f);
  host.ClearTrace();
  Press("INPUT_DIVE", 0);  // Q on "1/4"
  Press("INPUT_MOVE_RIGHT_ONLY", 0);
  EXPECT_EQ(PageLabel(), nullptr);  // no page for one frame
  EXPECT_EQ(HighlightY(), -1.0f);
  EXPECT_TRUE(host.Calls(ApplyShopItemToPed).empty());
  host.RunFrame();
  ASSERT_NE(PageLabel(), nullptr);
  EXPECT_EQ(PageLabel()->plain, "4/4");
  EXPECT_FLOAT_EQ(HighlightY(), 0.385f);
  EXPECT_TRUE(Drawn("Neckerchief"));
  EXPECT_TRUE(Drawn("Suspenders Tint"));

  Press("INPUT_MELEE_GRAPPLE_CHOKE", 0);  // E on "4/4": categories past the last are never read
  host.Press("INPUT_FRONTEND_ACCEPT", 0);
  host.Press("INPUT_MOVE_LEFT_ONLY", 0);
  host.RunFrame();
  EXPECT_EQ(PageLabel(), nullptr);
  host.RunFrame();
  EXPECT_EQ(PageLabel()->plain, "1/4");
  EXPECT_TRUE(host.Calls(ApplyShopItemToPed).empty());
  // Accept does not depend on the row: read in that frame too (and without the fee, refused).
  EXPECT_EQ(host.world.ui.CountNotices(sim::NoticeKind::Help, "Insufficient Funds."), 1);

  Press("INPUT_MOVE_UP_ONLY", 0);  // W on row 0
  host.RunFrame();
  EXPECT_EQ(HighlightY(), -1.0f);
  host.RunFrame();
  EXPECT_FLOAT_EQ(HighlightY(), 0.835f);
  EXPECT_EQ(PageLabel()->plain, "1/4");
  const sim::DrawnText* label = host.world.ui.lastFrame.FindTextAt(0.555f, 0.82f);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->plain, "Pants Tint");
}

// Accept in the frame where the row wraps (W on row 0) still confirms and pays.
TEST_F(WardrobeTest, AcceptInTheFrameARowWrapsConfirms) {
  StartFreeRoam();
  host.world.scene.money = 2000;
  EnterShop(kValentine);
  Press("INPUT_MOVE_UP_ONLY", 0);  // row -1: the next frame shows no row and wraps it
  Leave("INPUT_FRONTEND_ACCEPT");
  EXPECT_EQ(host.world.scene.money, 0);
  EXPECT_EQ(SaveValue("Character", "Outfit Part 0"), "0");  // the outfit as worn, now saved
}

TEST_F(WardrobeTest, EachShopReturnsThePlayerToItsOwnExit) {
  StartFreeRoam();
  for (const ShopDoor& shop : kShops) {
    EnterShop(shop);
    Leave("INPUT_FRONTEND_CANCEL");
    ExpectAt(shop.exit);
    EXPECT_EQ(host.world.PlayerEntity().heading, shop.exitHeading);
    host.RunFrames(5);
  }
}

TEST_F(WardrobeTest, ANewPedFromTheModelSwitchIsDressedAndKeepsTheWalkStyleAndBoughtHealth) {
  EnterFreeRoam("[Rank]\nRank=10\nXP=0\nXPToRank=100\nHealth Lvl 1=True\n",
                "Walking Style=GUNSLINGER\n");
  host.RunFrames(30);
  // The game gave the player another model; the switch back builds a new ped.
  host.world.PlayerEntity().model = GameHash("PLAYER_ZERO");
  const int32_t oldPed = host.world.player.ped;
  EnterShop(kValentine);
  const int32_t ped = host.world.player.ped;
  ASSERT_NE(ped, oldPed);
  EXPECT_EQ(PlayerLook().walkStyle, "MP_STYLE_GUNSLINGER");
  EXPECT_EQ(host.world.scene.peds[ped].maxHealth, 500);
  EXPECT_EQ(Worn().at("HAT"), "CLOTHING_ITEM_M_HAT_000_TINT_000");
  int camerasOnThePed = 0;
  for (const auto& [handle, camera] : host.world.cameras.cameras) {
    if (camera.attachedTo == ped && camera.pointedAt == ped) ++camerasOnThePed;
  }
  EXPECT_EQ(camerasOnThePed, 1);
  ASSERT_NE(host.world.cameras.AnimOf(ped), nullptr);
  EXPECT_EQ(host.world.cameras.AnimOf(ped)->clip, "base");
}

TEST_F(WardrobeTest, NoPromptOrEntryWhileTheMenuIsOpenOrTheSkillTreeBusy) {
  StartFreeRoam();
  StandAt(kValentine.door);
  Press("INPUT_FRONTEND_LS", 2);
  ASSERT_TRUE(WaitUntilDrawn("View Player Options", 300));
  const size_t prompts = PromptsShown();
  Press("INPUT_MELEE_GRAPPLE_CHOKE", 2, 60);
  EXPECT_EQ(PromptsShown(), prompts);
  EXPECT_TRUE(host.world.cameras.teleports.empty());
  Press("INPUT_FRONTEND_CANCEL", 2, 30);

  Screens.SkillTreeBusy = true;
  const size_t prompts2 = PromptsShown();
  Press("INPUT_MELEE_GRAPPLE_CHOKE", 2, 30);
  EXPECT_EQ(PromptsShown(), prompts2);
  EXPECT_TRUE(host.world.cameras.teleports.empty());
}

TEST_F(WardrobeTest, NeitherTheMenuNorTheSkillTreeOpensDuringAVisitSoEnterChargesOnlyOnce) {
  StartFreeRoam();
  host.world.scene.money = 5000;
  EnterShop(kValentine);
  Press("INPUT_FRONTEND_LS", 2, 60);
  EXPECT_FALSE(Drawn("INTERACTION MENU"));
  EXPECT_TRUE(host.Calls(CreateCameraByName).empty());
  Press("INPUT_AIM_IN_AIR", 2, 60);
  EXPECT_FALSE(Drawn("SKILL TREE"));
  EXPECT_EQ(host.world.life.timeScale, 1.0f);
  Leave("INPUT_FRONTEND_ACCEPT");
  EXPECT_EQ(host.world.scene.money, 3000);
}

TEST_F(WardrobeTest, ADeathDuringAVisitCancelsItWithoutChargingOrSaving) {
  StartFreeRoam();
  host.world.scene.money = 5000;
  const int camerasBefore = host.world.cameras.LiveCameras();
  EnterShop(kValentine);
  const auto entryOutfit = Worn();
  const std::string save = SaveText();
  Press("INPUT_MOVE_RIGHT_ONLY", 0);
  host.world.Kill(host.world.player.ped, host.Frame());
  host.RunFrame();
  EXPECT_FALSE(Drawn("1/4"));
  EXPECT_EQ(Worn(), entryOutfit);
  EXPECT_EQ(host.world.cameras.LiveCameras(), camerasBefore);
  EXPECT_FALSE(host.world.cameras.rendering);
  EXPECT_TRUE(host.world.scene.worldDisplay);
  EXPECT_FALSE(host.world.scene.sceneDisplay);
  EXPECT_TRUE(host.world.trains.radarShown);
  ASSERT_TRUE(host.RunUntil([&] { return !host.world.player.dead; }, 900));
  EXPECT_EQ(Worn(), entryOutfit);
  EXPECT_EQ(SaveText(), save);
  EXPECT_EQ(host.world.scene.money, 5000);
}

}  // namespace
}  // namespace brimvale
