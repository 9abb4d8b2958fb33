// Death and respawn: the death screen, the black screen, the player set down away from the place
// of death in the saved outfit, and nothing of the story or the missions touched.
#include <cmath>
#include <string>

#include "core/campaign.h"
#include "free_roam.h"
#include "missions/prologue.h"
#include "progression/progression.h"

namespace brimvale {
namespace {

using testing::FreeRoamTest;

constexpr Vector3 kDeathPlace{-310.0f, 820.0f, 118.5f};

class Death : public FreeRoamTest {
 protected:
  void SetUp() override { StartFreeRoam(); }

  void DieAt(Vector3 at) {
    host.MovePlayer(at);
    host.RunFrame();
    host.world.Kill(host.world.player.ped, host.Frame());
  }

  // Runs until the respawn pulse shows; false if it never did.
  bool RunUntilRespawned(int maxFrames = 1200) {
    return host.RunUntil([&] { return Life().CountEffects("RespawnPulse01") > 0; }, maxFrames);
  }

  // Dies at the usual place and runs until the respawn pulse shows, which only this death's counts.
  bool DieAndRespawn() {
    Life().screenEffects.clear();
    DieAt(kDeathPlace);
    return RunUntilRespawned();
  }

  bool ScreenBlack() { return host.world.blips.FadedOut(host.GameTime()); }
};

TEST_F(Death, TheSequenceRunsItsHoldsAndComesBackWithThePulse) {
  DieAt(kDeathPlace);
  host.RunFrame();
  const int32_t seen = host.GameTime();
  EXPECT_EQ(Life().CountEffects("DeathFailMP01"), 1);
  EXPECT_TRUE(Life().deathState);
  EXPECT_FALSE(host.world.scene.playerControl);
  EXPECT_TRUE(host.world.look.deathFlow[2] == 1 && host.world.look.deathFlow[3] == 1);

  ASSERT_TRUE(host.RunUntil([&] { return ScreenBlack(); }, 200));
  const int32_t black = host.GameTime();
  EXPECT_NEAR(black - seen, 2000, 70);
  EXPECT_FALSE(Life().deathDisplay);
  EXPECT_TRUE(host.world.player.dead);

  ASSERT_TRUE(host.RunUntil([&] { return !host.world.player.dead; }, 200));
  EXPECT_NEAR(host.GameTime() - black, 4000, 70);
  const auto& sounds = host.world.ui.sounds;
  ASSERT_GE(sounds.size(), 2u);
  EXPECT_EQ(sounds.back().name, "DEATH_SCREEN_EXIT");
  EXPECT_EQ(sounds.back().set, "DEATH_FAIL_RESPAWN_SOUNDS");
  EXPECT_TRUE(Life().protectedPed);

  ASSERT_TRUE(RunUntilRespawned());
  EXPECT_NEAR(host.GameTime() - black, 7000, 100);
  EXPECT_FALSE(Life().protectedPed);
  EXPECT_FALSE(Life().deathState);
  EXPECT_TRUE(Life().deathDisplay);
  EXPECT_TRUE(host.world.scene.playerControl);
  EXPECT_EQ(Life().viewResets, 1);
  EXPECT_FALSE(host.world.blips.fades.back().out);
  EXPECT_EQ(host.world.blips.fades.back().ms, 500);
  EXPECT_EQ(Life().resurrections, 1);

  // The next frames find the player alive: no second sequence.
  host.RunFrames(60);
  EXPECT_EQ(Life().CountEffects("DeathFailMP01"), 1);
}

// Each quadrant drawn sets the player down 50 to 60 units off on each axis, a first, b second.
TEST_F(Death, ThePlayerIsSetDownInTheQuadrantDrawn) {
  const struct {
    int32_t quadrant;
    float dx, dy;
  } cases[] = {{0, 52.5f, 57.25f}, {1, -52.5f, -57.25f}, {2, 52.5f, -57.25f}, {3, -52.5f, 57.25f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.quadrant);
    Life().random.forcedInts = {c.quadrant};
    Life().random.forcedFloats = {52.5f, 57.25f};
    ASSERT_TRUE(DieAndRespawn());
    EXPECT_FLOAT_EQ(PlayerAt().x, kDeathPlace.x + c.dx);
    EXPECT_FLOAT_EQ(PlayerAt().y, kDeathPlace.y + c.dy);
    EXPECT_FLOAT_EQ(PlayerAt().z, kDeathPlace.z);
  }
}

TEST_F(Death, TheGamesOwnDrawsLandFiftyToSixtyUnitsAwayOnEachAxis) {
  for (int death = 0; death < 3; ++death) {
    ASSERT_TRUE(DieAndRespawn());
    const float dx = std::fabs(PlayerAt().x - kDeathPlace.x);
    const float dy = std::fabs(PlayerAt().y - kDeathPlace.y);
    EXPECT_TRUE(dx >= 50.0f && dx <= 60.0f) << dx;
    EXPECT_TRUE(dy >= 50.0f && dy <= 60.0f) << dy;
  }
}

TEST_F(Death, AQuadrantOutsideTheFourSearchesFromThePlaceOfDeath) {
  for (int32_t quadrant : {4, -1}) {
    SCOPED_TRACE(quadrant);
    Life().random.forcedInts = {quadrant};
    Life().safeSpotQueries.clear();
    host.ClearTrace();
    ASSERT_TRUE(DieAndRespawn());
    ASSERT_EQ(Life().safeSpotQueries.size(), 1u);
    EXPECT_FLOAT_EQ(Life().safeSpotQueries[0].x, kDeathPlace.x);
    EXPECT_FLOAT_EQ(Life().safeSpotQueries[0].y, kDeathPlace.y);
    EXPECT_TRUE(host.Calls(RandomFloat).empty());
    EXPECT_FLOAT_EQ(PlayerAt().x, kDeathPlace.x);
  }
}

TEST_F(Death, ThePlayerFirstGoesToTheNearbyNodeBehindTheBlackScreen) {
  Life().nodeOffset = {3.0f, -4.0f, 0.5f};
  ASSERT_TRUE(DieAndRespawn());
  ASSERT_EQ(Life().teleports.size(), 2u);
  EXPECT_FLOAT_EQ(Life().teleports[0].to.x, kDeathPlace.x + 3.0f);
  EXPECT_FLOAT_EQ(Life().teleports[0].to.y, kDeathPlace.y - 4.0f);
  EXPECT_FLOAT_EQ(Life().teleports[0].to.z, kDeathPlace.z + 0.5f);
}

TEST_F(Death, WithoutANearbyNodeThePlayerMovesOnlyOnceToTheSafeSpot) {
  Life().nodeRefusals = 1;
  Life().random.forcedInts = {0};
  Life().random.forcedFloats = {50.0f, 60.0f};
  ASSERT_TRUE(DieAndRespawn());
  ASSERT_EQ(Life().teleports.size(), 1u);
  EXPECT_FLOAT_EQ(Life().teleports[0].to.x, kDeathPlace.x + 50.0f);
  EXPECT_FLOAT_EQ(Life().teleports[0].to.y, kDeathPlace.y + 60.0f);
}

TEST_F(Death, ASafeSpotSearchFailingForAHundredFramesKeepsTheScreenBlackThenSucceeds) {
  Life().safeSpotRefusals = 100;
  Life().random.forcedInts = {1};
  Life().random.forcedFloats = {55.0f, 55.0f};
  DieAt(kDeathPlace);
  ASSERT_TRUE(host.RunUntil([&] { return !Life().safeSpotQueries.empty(); }, 400));
  while (Life().safeSpotRefusals > 0) {
    EXPECT_TRUE(ScreenBlack());
    host.RunFrame();
  }
  ASSERT_TRUE(RunUntilRespawned());
  EXPECT_EQ(Life().safeSpotQueries.size(), 101u);
  EXPECT_FLOAT_EQ(PlayerAt().x, kDeathPlace.x - 55.0f);
  EXPECT_FLOAT_EQ(PlayerAt().y, kDeathPlace.y - 55.0f);
}

// Deep water or a cliff: the game never reports a safe spot. After about ten seconds behind the
// black screen the player is put on the nearby node, or where it died, and the game goes on.
TEST_F(Death, WithNoSafeSpotAnywhereThePlayerGoesToTheNodeAfterTenSeconds) {
  Life().safeSpotRefusals = 1 << 30;
  DieAt(kDeathPlace);
  ASSERT_TRUE(host.RunUntil([&] { return !Life().safeSpotQueries.empty(); }, 400));
  const int32_t searchFrom = host.GameTime();
  ASSERT_TRUE(RunUntilRespawned(1200));
  EXPECT_GE(host.GameTime() - searchFrom, 10000 + 3000);
  EXPECT_LE(host.GameTime() - searchFrom, 10000 + 3200);
  EXPECT_FLOAT_EQ(PlayerAt().x, kDeathPlace.x + 1.5f);
  EXPECT_FLOAT_EQ(PlayerAt().y, kDeathPlace.y - 2.0f);
  EXPECT_FALSE(host.world.player.dead);
}

TEST_F(Death, WithNoSafeSpotAndNoNodeThePlayerStaysWhereItDied) {
  Life().safeSpotRefusals = 1 << 30;
  Life().nodeRefusals = 1;
  ASSERT_TRUE(DieAndRespawn());
  EXPECT_FLOAT_EQ(PlayerAt().x, kDeathPlace.x);
  EXPECT_FLOAT_EQ(PlayerAt().y, kDeathPlace.y);
  EXPECT_TRUE(host.world.scene.playerControl);
}

TEST_F(Death, TheSavedOutfitIsOnAgainAfterTheRespawn) {
  sim::PedLook& look = host.world.look.Of(host.world.player.ped);
  ASSERT_TRUE(look.Wears("CLOTHING_ITEM_M_BOOTS_001_TINT_001"));
  DieAt(kDeathPlace);
  ASSERT_TRUE(host.RunUntil([&] { return Life().resurrections > 0; }, 400));
  ASSERT_TRUE(RunUntilRespawned());
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_HAT_000_TINT_000"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_SHIRT_001_TINT_001"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_BOOTS_001_TINT_001"));
  EXPECT_TRUE(look.Removed("coats"));
}

TEST_F(Death, ADeathWithTheSkillTreeOpenClosesItFirstAndRunsAtNormalSpeed) {
  host.Press("INPUT_AIM_IN_AIR", 2);
  ASSERT_TRUE(host.RunUntil([&] { return host.world.ui.lastFrame.FindText("SKILL TREE"); }, 60));
  host.RunFrames(20);
  ASSERT_FLOAT_EQ(Life().timeScale, 0.2f);
  DieAt(kDeathPlace);
  host.RunFrame();
  EXPECT_EQ(Life().CountEffects("DeathFailMP01"), 1);
  EXPECT_FLOAT_EQ(Life().timeScale, 1.0f);
  EXPECT_EQ(host.world.ui.lastFrame.FindText("SKILL TREE"), nullptr);
  ASSERT_TRUE(RunUntilRespawned());
  host.RunFrames(5);
  EXPECT_EQ(host.world.ui.lastFrame.FindText("SKILL TREE"), nullptr);
  // Not left busy: the tree opens again.
  host.Press("INPUT_AIM_IN_AIR", 2);
  EXPECT_TRUE(host.RunUntil([&] { return host.world.ui.lastFrame.FindText("SKILL TREE"); }, 60));
}

// A mission in progress simply goes on from where the player died.
TEST_F(Death, ADeathDuringAMissionKeepsItsStageEntitiesBlipsAndTheSave) {
  ReplaceStoryStep(RunPrologue, [] {});
  Campaign.StoryProgress = 0;
  Prologue.PrologueStage = PrologueStageId{4};
  const int32_t guard = host.world.Spawn(sim::EntityKind::Ped, sim::GameHash("S_M_M_GUARD"),
                                         {kDeathPlace.x + 5.0f, kDeathPlace.y, kDeathPlace.z}, 0);
  host.world.entities[guard].missionOwned = true;
  const int32_t blip = 60001;
  host.world.blips.blips[blip].handle = blip;
  Campaign.ObjectiveBlip = Blip{blip};
  const std::string save = SaveText();

  ASSERT_TRUE(DieAndRespawn());
  host.RunFrames(5);

  EXPECT_EQ(Prologue.PrologueStage, 4);
  EXPECT_EQ(Campaign.StoryProgress, 0);
  ASSERT_NE(host.world.Find(guard), nullptr);
  EXPECT_TRUE(host.world.Find(guard)->missionOwned);
  EXPECT_NE(host.world.blips.Find(blip), nullptr);
  EXPECT_EQ(Campaign.ObjectiveBlip, Blip{blip});
  EXPECT_EQ(SaveText(), save);
}

}  // namespace
}  // namespace brimvale
