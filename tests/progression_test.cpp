// Experience and rank, the rank panel, the skill tree and the skill effects, played in free roam.
#include <string>
#include <vector>

#include "core/campaign.h"
#include "free_roam.h"
#include "menu/interaction_menu.h"
#include "progression/progression.h"
#include "progression/rank_hud.h"
#include "progression/skill_tree.h"

namespace brimvale {
namespace {

using testing::FreeRoamTest;

// Experience handed out by the last free-roam step of the frame, as a mission's reward would be
// if it came after the rank display.
int32_t PendingXP = 0;
void AwardPendingXP() {
  if (PendingXP != 0) AddXP(PendingXP);
  PendingXP = 0;
}

class Progress : public FreeRoamTest {
 protected:
  void TearDown() override {
    PendingXP = 0;
    FreeRoamTest::TearDown();
  }

  int CountSounds(const std::string& name) {
    int n = 0;
    for (const sim::FrontendSound& s : host.world.ui.sounds)
      n += (!s.stop && s.name == name) ? 1 : 0;
    return n;
  }
  const sim::DrawList& Drawn() { return host.world.ui.lastFrame; }
  const sim::DrawnText* TextAt(float x, float y) { return Drawn().FindTextAt(x, y); }
  bool TextAt(const char* text, float x, float y) {
    const sim::DrawnText* t = Drawn().FindTextAt(x, y);
    return t && t->plain == text;
  }
  const sim::DrawnSprite* SpriteAt(const char* texture, float x, float y) {
    for (const sim::DrawnSprite& s : Drawn().sprites) {
      if (s.texture == texture && s.x > x - 0.001f && s.x < x + 0.001f && s.y > y - 0.001f &&
          s.y < y + 0.001f)
        return &s;
    }
    return nullptr;
  }
  // The white or green selection frame over the chosen level (the row outlines are red).
  const sim::DrawnSprite* SelectionFrame() {
    for (const sim::DrawnSprite& s : Drawn().sprites) {
      if (s.texture == "crafting_outline" && s.g == 255) return &s;
    }
    return nullptr;
  }
  int32_t PanelAlpha() {
    const sim::DrawnText* rank = Drawn().FindText("RANK");
    return rank ? rank->a : -1;
  }
  void Press(const char* control, int frames = 1) {
    host.Press(control, 2);
    host.RunFrames(frames);
  }
  void OpenTree() {
    host.Press("INPUT_AIM_IN_AIR", 2);
    // Open once the prices show, the frame after the fade-in ends.
    ASSERT_TRUE(host.RunUntil([&] { return Drawn().FindText("SP: 2"); }, 60));
  }
  int32_t PlayerMaxHealth() { return host.world.scene.peds[host.world.player.ped].maxHealth; }
};

TEST_F(Progress, AFreshSaveRanksUpToRankOneOnTheFirstFreeRoamFrameWithSoundAndPanel) {
  Life().random.forcedInts = {88};
  EnterFreeRoam();
  const auto draws = host.Calls(RandomIntInRange);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0]->Int(0), 75);
  EXPECT_EQ(draws[0]->Int(1), 101);
  EXPECT_EQ(SaveValue("Rank", "Rank"), "1");
  EXPECT_EQ(SaveValue("Rank", "Skill Points"), "1");
  EXPECT_EQ(SaveValue("Rank", "XP"), "0");
  EXPECT_EQ(SaveValue("Rank", "XPToRank"), "88");
  EXPECT_EQ(CountSounds("Gain_Point"), 1);
  EXPECT_EQ(host.world.ui.sounds.back().set, "HUD_MP_PITP");

  host.RunFrames(18);
  EXPECT_EQ(PanelAlpha(), 255);
  EXPECT_TRUE(TextAt("1", 0.032f, 0.055f));
  EXPECT_TRUE(TextAt("0 | 88", 0.21f, 0.0f));
  EXPECT_TRUE(TextAt("Ashby Cole", 0.17f, 0.025f));
  EXPECT_FLOAT_EQ(TextAt(0.21f, 0.0f)->scaleX, 0.5f);
  EXPECT_EQ(Drawn().CountSprites("honor_bg"), 3);
  EXPECT_EQ(Drawn().CountSprites("shield"), 4);

  // Four seconds on, the panel fades out over 51 frames.
  host.RunFrames(120);
  ASSERT_TRUE(host.RunUntil([&] { return PanelAlpha() == 0; }, 60));
  EXPECT_NE(Drawn().FindText("RANK"), nullptr);  // drawn at alpha 0 all the same
}

TEST_F(Progress, ExperienceOverTheThresholdRanksUpOnceAndTheRestIsLost) {
  Life().random.forcedInts = {80};
  EnterFreeRoam("[Rank]\nRank=5\nXP=300\nXPToRank=100\nSkill Points=0\n");
  host.RunFrames(10);
  EXPECT_EQ(SaveValue("Rank", "Rank"), "6");
  EXPECT_EQ(SaveValue("Rank", "XP"), "0");
  EXPECT_EQ(SaveValue("Rank", "XPToRank"), "180");
  EXPECT_EQ(SaveValue("Rank", "Skill Points"), "1");
  EXPECT_EQ(CountSounds("Gain_Point"), 1);
}

TEST_F(Progress, AddedExperienceRanksUpOnlyOnTheNextFrame) {
  EnterFreeRoam("[Rank]\nRank=3\nXP=0\nXPToRank=100\n");
  ReplaceStoryStep(RunInteractionMenu, AwardPendingXP);
  PendingXP = 150;
  host.RunFrame();
  EXPECT_EQ(SaveValue("Rank", "XP"), "150");
  EXPECT_EQ(SaveValue("Rank", "Rank"), "3");
  host.RunFrame();
  EXPECT_EQ(SaveValue("Rank", "Rank"), "4");
  EXPECT_EQ(SaveValue("Rank", "XP"), "0");
}

TEST_F(Progress, SetsThePlayerScalarEveryFrame) {
  EnterFreeRoam();
  const int32_t before = Life().scalarCalls;
  host.RunFrames(10);
  EXPECT_EQ(Life().scalarCalls - before, 10);
  EXPECT_FLOAT_EQ(Life().scalar, 100.0f);
}

TEST_F(Progress, TheRevealControlShowsAndHidesThePanel) {
  EnterFreeRoam("[Rank]\nRank=7\nXPToRank=500\n");
  host.RunFrames(3);
  EXPECT_EQ(PanelAlpha(), 0);

  Press("INPUT_REVEAL_HUD", 19);
  EXPECT_EQ(PanelAlpha(), 255);
  // Pressed while shown, it hides at once: the fade-out starts on the next frame.
  Press("INPUT_REVEAL_HUD", 3);
  EXPECT_EQ(PanelAlpha(), 250);
  host.RunFrame();
  EXPECT_EQ(PanelAlpha(), 245);
  // Shown again part-way down, the counter climbs past 255 (235, 250, 265) but no draw gets
  // more than 255.
  Press("INPUT_REVEAL_HUD", 3);
  EXPECT_EQ(PanelAlpha(), 250);
  host.RunFrame();
  EXPECT_EQ(RankHud.RankHudAlpha, 265);
  for (const sim::DrawnSprite& s : Drawn().sprites)
    EXPECT_LE(s.a, 255);
  for (const sim::DrawnText& t : Drawn().texts)
    EXPECT_LE(t.a, 255);
  EXPECT_EQ(PanelAlpha(), 255);
  // It stays up for 4000 ms before fading.
  host.RunFrames(110);
  EXPECT_EQ(PanelAlpha(), 255);
  host.RunFrames(15);
  EXPECT_LT(PanelAlpha(), 255);
}

class RankNumber : public Progress, public ::testing::WithParamInterface<std::pair<int, float>> {};

TEST_P(RankNumber, MovesLeftAsItGainsDigits) {
  const auto [rank, x] = GetParam();
  EnterFreeRoam("[Rank]\nRank=" + std::to_string(rank) + "\nXPToRank=500\n");
  EXPECT_TRUE(TextAt(std::to_string(rank).c_str(), x, 0.055f));
}

INSTANTIATE_TEST_SUITE_P(Ranks, RankNumber,
                         ::testing::Values(std::pair{9, 0.032f}, std::pair{10, 0.024f},
                                           std::pair{99, 0.024f}, std::pair{100, 0.016f}));

// A "Rank" section edited by hand.
TEST_F(Progress, ANegativeThresholdRanksUpOnceAsAFreshSaveDoes) {
  Life().random.forcedInts = {90};
  EnterFreeRoam("[Rank]\nRank=4\nXP=0\nXPToRank=-5000\n");
  host.RunFrames(30);
  EXPECT_EQ(SaveValue("Rank", "Rank"), "5");
  EXPECT_EQ(SaveValue("Rank", "XPToRank"), "90");
  EXPECT_EQ(CountSounds("Gain_Point"), 1);
}

TEST_F(Progress, ValuesAtTheEdgeOfTheRangeSaturateInsteadOfOverflowing) {
  Life().random.forcedInts = {100};
  EnterFreeRoam(
      "[Rank]\nRank=2147483647\nXP=2147483647\nXPToRank=2147483600\nSkill Points=2147483647\n");
  EXPECT_EQ(SaveValue("Rank", "Rank"), "2147483647");
  EXPECT_EQ(SaveValue("Rank", "XPToRank"), "2147483647");
  EXPECT_EQ(SaveValue("Rank", "Skill Points"), "2147483647");
  ReplaceStoryStep(RunInteractionMenu, AwardPendingXP);
  PendingXP = 2147483000;
  host.RunFrame();
  PendingXP = 1000;
  host.RunFrame();
  EXPECT_EQ(SaveValue("Rank", "XP"), "2147483647");
}

TEST_F(Progress, WithTheTreeOpenNoPanelIsDrawnHereButAPendingRankUpHappens) {
  EnterFreeRoam("[Rank]\nRank=3\nXPToRank=100\n");
  OpenTree();
  ReplaceStoryStep(RunInteractionMenu, AwardPendingXP);
  PendingXP = 100;
  host.RunFrames(2);
  EXPECT_EQ(SaveValue("Rank", "Rank"), "4");
  EXPECT_EQ(CountSounds("Gain_Point"), 1);
  EXPECT_EQ(Drawn().CountSprites("honor_bg"), 3);  // the tree's own copy only
  EXPECT_EQ(Drawn().FindTextAt(0.17f, 0.025f), nullptr);
  EXPECT_TRUE(TextAt("4", 0.032f, 0.055f));
}

TEST_F(Progress, OpeningFadesInSlowsTheGameAndShowsTheScreen) {
  EnterFreeRoam("[Rank]\nRank=10\nXPToRank=500\nSkill Points=3\n");
  host.Press("INPUT_AIM_IN_AIR", 2);
  host.RunFrame();
  EXPECT_TRUE(Screens.SkillTreeBusy);
  ASSERT_TRUE(host.RunUntil([&] { return Drawn().FindText("SP: 2"); }, 30));  // open: prices
  EXPECT_EQ(Life().timeScales, std::vector<float>{0.2f});
  EXPECT_EQ(Life().CountEffects("WheelHUDIn"), 1);
  EXPECT_EQ(CountSounds("Leaderboard_Show"), 1);
  EXPECT_TRUE(TextAt("SKILL TREE", 0.44f, 0.09f));
  EXPECT_TRUE(TextAt("Ashby Cole", 0.12f, 0.09f));
  EXPECT_TRUE(TextAt("Skill Points: 3", 0.71f, 0.09f));
  EXPECT_TRUE(TextAt("SP: 2", 0.165f, 0.45f));
  EXPECT_TRUE(TextAt("+300", 0.16f, 0.37f));  // level 1 at rank 10
  EXPECT_TRUE(TextAt("20", 0.38f, 0.37f));    // level 2 locked
  EXPECT_NE(SpriteAt("lock", 0.4f, 0.4f), nullptr);
  const sim::DrawnSprite* frame = SelectionFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_FLOAT_EQ(frame->x, 0.2f);
  EXPECT_EQ(frame->r, 255);  // white: not bought
}

TEST_F(Progress, AtRank14TheDeadEyeRowIsCoveredAndUpDownDoNothing) {
  EnterFreeRoam("[Rank]\nRank=14\nXPToRank=500\nSkill Points=30\n");
  OpenTree();
  const sim::DrawnSprite* cover = SpriteAt("hud_menu_4a", 0.5f, 0.7f);
  ASSERT_NE(cover, nullptr);
  EXPECT_FLOAT_EQ(cover->width, 0.8f);
  EXPECT_EQ(cover->r + cover->g + cover->b, 3 * 255);
  const sim::DrawnSprite* lock = SpriteAt("lock", 0.5f, 0.7f);
  ASSERT_NE(lock, nullptr);
  EXPECT_EQ(lock->r, 255);
  EXPECT_EQ(lock->g, 0);
  const sim::DrawnText* fifteen = TextAt(0.475f, 0.675f);
  ASSERT_NE(fifteen, nullptr);
  EXPECT_EQ(fifteen->plain, "15");
  EXPECT_EQ(fifteen->r + fifteen->g + fifteen->b, 0);
  EXPECT_EQ(Drawn().FindText("DEADEYE"), nullptr);

  Press("INPUT_MOVE_UP_ONLY", 2);
  Press("INPUT_MOVE_DOWN_ONLY", 2);
  ASSERT_NE(SelectionFrame(), nullptr);
  EXPECT_FLOAT_EQ(SelectionFrame()->y, 0.4f);
}

TEST_F(Progress, AtRank25WithoutDeadEyeOneLevelTwoStaysLocked) {
  EnterFreeRoam("[Rank]\nRank=25\nXPToRank=500\nSkill Points=20\n");
  OpenTree();
  EXPECT_NE(SpriteAt("lock", 0.32f, 0.7f), nullptr);
  EXPECT_TRUE(TextAt("25", 0.3f, 0.68f));
  Press("INPUT_MOVE_UP_ONLY", 2);
  Press("INPUT_MOVE_RIGHT_ONLY", 2);
  ASSERT_NE(SelectionFrame(), nullptr);
  EXPECT_FLOAT_EQ(SelectionFrame()->x, 0.32f);
  Press("INPUT_FRONTEND_ACCEPT", 2);
  EXPECT_TRUE(TextAt("Skill Points: 20", 0.71f, 0.09f));
  EXPECT_FALSE(SaveHasKey("Rank", "Deadeye Lvl 2"));
  EXPECT_EQ(CountSounds("CHECKPOINT_PERFECT"), 0);
}

TEST_F(Progress, AcceptOnABoughtLevelChangesNothingOnEitherRow) {
  EnterFreeRoam(
      "[Rank]\nRank=60\nXPToRank=500\nSkill Points=100\nHealth Lvl 1=True\nHealth Lvl "
      "2=True\nHealth Lvl 3=True\nHealth Lvl 4=True\nDeadeye Lvl 1=True\nDeadeye Lvl "
      "2=True\nDeadeye Lvl 3=True\nDeadeye Lvl 4=True\nDeadeye Lvl 5=True\n");
  OpenTree();
  const std::string save = SaveText();
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < (row == 0 ? 4 : 5); ++column) {
      ASSERT_NE(SelectionFrame(), nullptr);
      EXPECT_EQ(SelectionFrame()->r, 0);  // green: bought
      Press("INPUT_FRONTEND_ACCEPT", 2);
      Press("INPUT_MOVE_RIGHT_ONLY", 2);
    }
    Press("INPUT_MOVE_DOWN_ONLY", 2);
  }
  EXPECT_TRUE(TextAt("Skill Points: 100", 0.71f, 0.09f));
  EXPECT_EQ(SaveText(), save);
  EXPECT_EQ(CountSounds("CHECKPOINT_PERFECT"), 0);
}

TEST_F(Progress, TwoPointsAtRank10BuyHealthLevelOne) {
  EnterFreeRoam("[Rank]\nRank=10\nXPToRank=500\nSkill Points=2\n");
  EXPECT_EQ(PlayerMaxHealth(), 200);
  OpenTree();
  host.Press("INPUT_FRONTEND_ACCEPT", 2);
  host.RunFrame();
  EXPECT_EQ(PlayerMaxHealth(), 500);
  EXPECT_EQ(SaveValue("Rank", "Health Lvl 1"), "True");
  EXPECT_EQ(SaveValue("Rank", "Skill Points"), "0");
  EXPECT_EQ(Life().CountEffects("PlayerOverpower"), 1);
  EXPECT_EQ(CountSounds("CHECKPOINT_PERFECT"), 1);
  host.RunFrame();
  EXPECT_TRUE(TextAt("Skill Points: 0", 0.71f, 0.09f));
  EXPECT_EQ(SelectionFrame()->r, 0);
}

// Every level of both rows, its lower levels bought: its price is shown, one point too few buys
// nothing, exactly its price buys it and leaves no point.
struct SkillLevel {
  const char* key;  // its save key, "Health Lvl 2"
  int row;          // 0 HEALTH, 1 DEADEYE
  int column;
  int32_t price;
  float priceX, priceY;
};

class SkillTreeLevels : public Progress, public ::testing::WithParamInterface<SkillLevel> {};

TEST_P(SkillTreeLevels, ThePriceIsShownAndTakenWithExactlyEnoughPoints) {
  const SkillLevel& level = GetParam();
  const char* rowName = level.row == 0 ? "Health" : "Deadeye";
  std::string bought;
  for (int lower = 1; lower <= level.column; ++lower)
    bought += std::string(rowName) + " Lvl " + std::to_string(lower) + "=True\n";
  EnterFreeRoam("[Rank]\nRank=60\nXPToRank=500\nSkill Points=" + std::to_string(level.price - 1) +
                "\n" + bought);
  OpenTree();
  const std::string price = "SP: " + std::to_string(level.price);
  EXPECT_TRUE(TextAt(price.c_str(), level.priceX, level.priceY)) << price;
  if (level.row == 1) Press("INPUT_MOVE_DOWN_ONLY", 2);
  for (int c = 0; c < level.column; ++c)
    Press("INPUT_MOVE_RIGHT_ONLY", 2);
  ASSERT_NE(SelectionFrame(), nullptr);
  EXPECT_EQ(SelectionFrame()->r, 255);  // white: not bought

  Press("INPUT_FRONTEND_ACCEPT", 2);  // one point too few
  EXPECT_NE(SaveValue("Rank", level.key), "True");
  EXPECT_TRUE(TextAt(("Skill Points: " + std::to_string(level.price - 1)).c_str(), 0.71f, 0.09f));
  EXPECT_EQ(CountSounds("CHECKPOINT_PERFECT"), 0);

  Progression.SkillPoints = level.price;  // exactly enough
  Press("INPUT_FRONTEND_ACCEPT", 2);
  EXPECT_EQ(SaveValue("Rank", level.key), "True");
  EXPECT_EQ(SaveValue("Rank", "Skill Points"), "0");
  EXPECT_TRUE(TextAt("Skill Points: 0", 0.71f, 0.09f));
  EXPECT_EQ(SelectionFrame()->r, 0);  // green: bought
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, SkillTreeLevels,
                         ::testing::Values(SkillLevel{"Health Lvl 1", 0, 0, 2, 0.165f, 0.45f},
                                           SkillLevel{"Health Lvl 2", 0, 1, 4, 0.365f, 0.45f},
                                           SkillLevel{"Health Lvl 3", 0, 2, 6, 0.565f, 0.45f},
                                           SkillLevel{"Health Lvl 4", 0, 3, 8, 0.765f, 0.45f},
                                           SkillLevel{"Deadeye Lvl 1", 1, 0, 3, 0.115f, 0.75f},
                                           SkillLevel{"Deadeye Lvl 2", 1, 1, 6, 0.285f, 0.75f},
                                           SkillLevel{"Deadeye Lvl 3", 1, 2, 9, 0.455f, 0.75f},
                                           SkillLevel{"Deadeye Lvl 4", 1, 3, 12, 0.625f, 0.75f},
                                           SkillLevel{"Deadeye Lvl 5", 1, 4, 15, 0.795f, 0.75f}),
                         [](const auto& info) {
                           std::string name = info.param.key;
                           std::erase(name, ' ');
                           return name;
                         });

TEST_F(Progress, AFileWithHealthOneAndThreeCountsBothAndLocksLevelFour) {
  EnterFreeRoam(
      "[Rank]\nRank=40\nXPToRank=500\nSkill Points=20\nHealth Lvl 1=True\nHealth Lvl 3=True\n");
  EXPECT_EQ(PlayerMaxHealth(), 800);
  OpenTree();
  EXPECT_TRUE(TextAt("+300", 0.36f, 0.37f));  // level 2 can be bought
  EXPECT_NE(SpriteAt("lock", 0.8f, 0.4f), nullptr);
  EXPECT_TRUE(TextAt("40", 0.78f, 0.37f));
}

TEST_F(Progress, CancelFadesOutOverSeventeenFramesAndOnlyThenRestoresTheTimeScale) {
  EnterFreeRoam("[Rank]\nRank=10\nXPToRank=500\n");
  OpenTree();
  host.Press("INPUT_FRONTEND_CANCEL", 2);
  host.RunFrame();
  EXPECT_EQ(CountSounds("Leaderboard_Hide"), 1);
  EXPECT_EQ(Life().CountEffects("WheelHUDOut"), 1);
  int fadeFrames = 0;
  while (Life().timeScale != 1.0f && fadeFrames < 40) {
    EXPECT_NE(Drawn().FindText("SKILL TREE"), nullptr);
    EXPECT_TRUE(Screens.SkillTreeBusy);
    host.RunFrame();
    ++fadeFrames;
  }
  EXPECT_EQ(fadeFrames, 17);
  EXPECT_FALSE(Screens.SkillTreeBusy);
  host.RunFrame();
  EXPECT_EQ(Drawn().FindText("SKILL TREE"), nullptr);
  EXPECT_NE(Drawn().FindTextAt(0.17f, 0.025f), nullptr);  // the panel is back
}

TEST_F(Progress, BelowRank15EveryAbilityIsLockedWhileTheMultiplierFollowsTheBoughtFlags) {
  EnterFreeRoam("[Rank]\nRank=12\nXPToRank=500\nDeadeye Lvl 1=True\nDeadeye Lvl 2=True\n");
  for (int ability = 1; ability <= 5; ++ability)
    EXPECT_TRUE(host.world.scene.deadEyeLocked[ability]) << ability;
  EXPECT_EQ(host.world.scene.deadEyeLevel, 0);
  EXPECT_FALSE(Life().deadEyeEnabled);
  EXPECT_TRUE(Life().deadEyeBlocked);
  host.ClearTrace();
  host.RunFrame();
  const auto calls = host.Calls(SetDeadEyeMultiplier);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_FLOAT_EQ(calls[0]->Float(1), 3.0f);
  EXPECT_FLOAT_EQ(calls[1]->Float(1), 5.0f);
}

TEST_F(Progress, FromRank15TheBoughtAbilitiesAreUnlockedUpToTheHighest) {
  EnterFreeRoam("[Rank]\nRank=30\nXPToRank=500\nDeadeye Lvl 1=True\nDeadeye Lvl 2=True\n");
  EXPECT_FALSE(host.world.scene.deadEyeLocked[1]);
  EXPECT_FALSE(host.world.scene.deadEyeLocked[2]);
  EXPECT_TRUE(host.world.scene.deadEyeLocked[3]);
  EXPECT_EQ(host.world.scene.deadEyeLevel, 2);
  EXPECT_TRUE(Life().deadEyeEnabled);
  EXPECT_FALSE(Life().deadEyeBlocked);
  EXPECT_TRUE(host.world.scene.peds[host.world.player.ped].highRank);
}

TEST_F(Progress, TheTreeDoesNotOpenWhileAnotherMenuIsUpOrTheGameBlocksMenus) {
  EnterFreeRoam("[Rank]\nRank=10\nXPToRank=500\n");
  Screens.InteractionMenuOpen = true;
  Press("INPUT_AIM_IN_AIR", 20);
  Screens.InteractionMenuOpen = false;
  Life().playerMenuBlocked = true;
  Press("INPUT_AIM_IN_AIR", 20);
  Life().playerMenuBlocked = false;
  Life().pedMenuBlocked = true;
  Press("INPUT_AIM_IN_AIR", 20);
  EXPECT_EQ(Drawn().FindText("SKILL TREE"), nullptr);
  EXPECT_TRUE(Life().timeScales.empty());
}

// Left from the first level reaches the last one frame late; in between nothing is selected and
// accept buys nothing.
TEST_F(Progress, AColumnOnePastTheEndSelectsNothingForTheFrameBeforeItWraps) {
  EnterFreeRoam(
      "[Rank]\nRank=40\nXPToRank=500\nSkill Points=30\nHealth Lvl 1=True\nHealth Lvl "
      "2=True\nHealth Lvl 3=True\n");
  OpenTree();
  Press("INPUT_MOVE_LEFT_ONLY");
  host.Press("INPUT_FRONTEND_ACCEPT", 2);
  host.RunFrame();
  EXPECT_EQ(SelectionFrame(), nullptr);
  EXPECT_FALSE(SaveHasKey("Rank", "Health Lvl 4"));
  host.RunFrame();
  ASSERT_NE(SelectionFrame(), nullptr);
  EXPECT_FLOAT_EQ(SelectionFrame()->x, 0.8f);
  Press("INPUT_MOVE_RIGHT_ONLY", 2);
  EXPECT_EQ(SelectionFrame(), nullptr);
  host.RunFrame();
  ASSERT_NE(SelectionFrame(), nullptr);
  EXPECT_FLOAT_EQ(SelectionFrame()->x, 0.2f);
}

TEST_F(Progress, UpFromTheDeadEyeRowGoesBackToHealthAndStaysThere) {
  EnterFreeRoam("[Rank]\nRank=20\nXPToRank=500\n");
  OpenTree();
  Press("INPUT_MOVE_UP_ONLY", 2);
  ASSERT_NE(SelectionFrame(), nullptr);
  EXPECT_FLOAT_EQ(SelectionFrame()->y, 0.7f);
  Press("INPUT_MOVE_UP_ONLY", 2);
  ASSERT_NE(SelectionFrame(), nullptr);
  EXPECT_FLOAT_EQ(SelectionFrame()->y, 0.4f);
}

}  // namespace
}  // namespace brimvale
