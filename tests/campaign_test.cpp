// The campaign controller: the start point, the start sequence, the one-time application of the
// character and the dispatch on the story progress.
#include <string>
#include <vector>

#include "character/character_record.h"
#include "core/campaign.h"
#include "progression/progression.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::SimTest;

// Which story steps ran, in order; the steps are swapped in by the tests that watch the dispatch.
std::vector<std::string> StepLog;

void LogPrologue() {
  StepLog.push_back("prologue");
}
void LogTrainRobbery() {
  StepLog.push_back("train robbery");
}
void LogWardrobe() {
  StepLog.push_back("wardrobe");
}
void LogRankHud() {
  StepLog.push_back("rank");
}
void LogInteractionMenu() {
  StepLog.push_back("menu");
}
// The prologue's last frame: it passes the story and saves it.
void PassPrologue() {
  StepLog.push_back("prologue");
  Campaign.StoryProgress = 1;
}

class CampaignStart : public SimTest {
 protected:
  // A player whose character was made in an earlier session. The story steps only log, so that
  // what the controller does is not mixed with what the missions and screens do.
  void LoadWithCharacter(const std::string& save = "") {
    WriteSave("[Character]\nCreate Character=True\n" + save);
    host.LoadPlugin();
    WatchStorySteps();
    host.RunFrames(3);
  }

  void WatchStorySteps() {
    StepLog.clear();
    Story = {};
    ReplaceStoryStep(RunPrologue, LogPrologue);
    ReplaceStoryStep(RunTrainRobbery, LogTrainRobbery);
    ReplaceStoryStep(UpdateWardrobe, LogWardrobe);
    ReplaceStoryStep(UpdateRankHud, LogRankHud);
    ReplaceStoryStep(RunInteractionMenu, LogInteractionMenu);
  }

  const sim::SimBlip* StartBlip() {
    for (const auto& [handle, blip] : host.world.blips.blips) {
      if (blip.kind == sim::BlipKind::Coord && blip.position.x == kStartPoint.x &&
          blip.position.y == kStartPoint.y && blip.position.z == kStartPoint.z) {
        return &blip;
      }
    }
    return nullptr;
  }

  // x is large enough that kStartPoint.x + 3.0f is exact, so the distance is exactly 3.0.
  void StandEastOfStart(float distance) {
    host.MovePlayer({kStartPoint.x + distance, kStartPoint.y, kStartPoint.z});
  }

  size_t PromptsShown() {
    size_t count = 0;
    for (const sim::TraceEntry* e : host.Calls(CreateVarString)) {
      if (e->strings.size() == 2 && e->strings[1] == kStartPrompt) ++count;
    }
    return count;
  }

  // Walk up to the start point, press the start control, and wait for the screen to come back.
  void AcceptStart() {
    StandEastOfStart(1.0f);
    host.RunFrame();
    host.Press("INPUT_CARRIABLE_SUICIDE", 2);
    ASSERT_TRUE(host.RunUntil(
        [&] {
          const auto& fades = host.world.blips.fades;
          return !fades.empty() && !fades.back().out;
        },
        600));
  }

  sim::PedLook& PlayerLook() { return host.world.look.Of(host.world.player.ped); }
};

TEST_F(CampaignStart, WithoutACharacterNothingOfTheControllerRuns) {
  host.LoadPlugin();
  StandEastOfStart(0.5f);
  host.RunFrames(5);
  host.Press("INPUT_CARRIABLE_SUICIDE", 2);
  host.RunFrames(5);

  EXPECT_EQ(StartBlip(), nullptr);
  EXPECT_EQ(PromptsShown(), 0u);
  EXPECT_FALSE(host.world.look.campaignStartFlag.has_value());
  EXPECT_TRUE(host.world.look.worldHashes.empty());
}

TEST_F(CampaignStart, TheStartPointBlipIsMadeOnOneFrameAndTestedFromTheNext) {
  WriteSave("[Character]\nCreate Character=True\n");
  host.LoadPlugin();
  WatchStorySteps();
  ASSERT_TRUE(host.RunUntil([&] { return StartBlip() != nullptr; }, 10));
  const int64_t made = host.Frame();
  EXPECT_TRUE(host.Calls(GetBlipCoords).empty());

  const sim::SimBlip* blip = StartBlip();
  EXPECT_EQ(blip->style, sim::GameHash("BLIP_STYLE_PICKUP"));
  EXPECT_EQ(blip->sprite, kStartPointSprite);
  EXPECT_EQ(blip->name, "Brimvale");

  host.RunFrame();
  const auto reads = host.Calls(GetBlipCoords);
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0]->frame, made + 1);
  host.RunFrames(3);
  size_t madeAtStart = 0;
  for (const sim::TraceEntry* e : host.Calls(AddBlipForCoord))
    madeAtStart += e->Float(1) == kStartPoint.x && e->Float(2) == kStartPoint.y;
  EXPECT_EQ(madeAtStart, 1u);  // kept, not made again
}

TEST_F(CampaignStart, ThePromptIsOfferedBelowThreeUnitsOnly) {
  LoadWithCharacter();
  StandEastOfStart(3.0f);
  host.RunFrames(3);
  EXPECT_EQ(PromptsShown(), 0u);
  host.MovePlayer({kStartPoint.x, kStartPoint.y, kStartPoint.z + 3.01f});  // straight above
  host.RunFrames(3);
  EXPECT_EQ(PromptsShown(), 0u);

  StandEastOfStart(2.99f);
  host.RunFrames(3);
  EXPECT_EQ(PromptsShown(), 3u);  // every frame while the player stands there
  EXPECT_EQ(host.Calls(ShowHelpNotice).size(), 3u);
}

TEST_F(CampaignStart, APlayerOnAHorseOrInAVehicleIsNotOffered) {
  LoadWithCharacter();
  host.world.player.occupied = true;
  StandEastOfStart(1.0f);
  host.RunFrames(3);
  host.Press("INPUT_CARRIABLE_SUICIDE", 2);
  host.RunFrames(3);
  EXPECT_EQ(PromptsShown(), 0u);
  EXPECT_TRUE(host.world.blips.fades.empty());
}

TEST_F(CampaignStart, AcceptingTheStartLoadsProgressAndBecomesTheCharacterBehindAFade) {
  LoadWithCharacter("Gender=1\n[Story]\nProgress=1\n[Rank]\nRank=4\nXP=150\nXPToRank=300\n");
  const int32_t pedBefore = host.world.player.ped;
  AcceptStart();
  ReplaceStoryStep(LogRankHud, UpdateRankHud);  // the rank panel shows what was loaded
  ASSERT_TRUE(host.RunUntil([&] { return host.world.ui.lastFrame.FindText("RANK"); }, 60));
  StepLog.clear();
  host.RunFrame();

  EXPECT_EQ(host.world.PlayerEntity().model, sim::GameHash("MP_FEMALE"));
  EXPECT_NE(host.world.player.ped, pedBefore);
  EXPECT_EQ(StepLog, (std::vector<std::string>{"train robbery", "wardrobe", "menu"}));
  EXPECT_TRUE(host.world.ui.lastFrame.FindText("4"));  // the rank, with its experience:
  EXPECT_TRUE(host.world.ui.lastFrame.FindText("150 | 300"));

  const auto& fades = host.world.blips.fades;
  ASSERT_EQ(fades.size(), 2u);
  EXPECT_TRUE(fades[0].out);
  EXPECT_EQ(fades[0].ms, 1000);
  EXPECT_EQ(fades[1].ms, 500);
  // A second behind the fade before the switch, half a second after it.
  EXPECT_GE(fades[1].frame - fades[0].frame, 45);

  EXPECT_EQ(StartBlip(), nullptr);
  const auto& look = host.world.look;
  EXPECT_EQ(look.deathFlow[0], 1);
  EXPECT_EQ(look.deathFlow[1], 1);
  EXPECT_EQ(look.deathFlow[2], 0);
  EXPECT_EQ(look.deathFlow[3], 0);
  EXPECT_EQ(look.campaignStartFlag, 1);
  // The blip textures are ready before the screen goes dark.
  const sim::TraceEntry* texturesChecked = nullptr;
  for (const sim::TraceEntry* e : host.Calls(HasTextureDictLoaded)) {
    if (!texturesChecked && e->strings[0] == "BLIPS_MP") texturesChecked = e;
  }
  ASSERT_NE(texturesChecked, nullptr);
  EXPECT_LE(texturesChecked->frame, fades[0].frame);
}

TEST_F(CampaignStart, TheCharacterIsPutOnOnceOnTheFrameAfterTheStart) {
  LoadWithCharacter("Hair Style=7\n[Story]\nProgress=1\n");
  AcceptStart();
  EXPECT_TRUE(host.Calls(SetPedBodyType).empty());  // nothing of the look before the fade-in

  host.RunFrames(30);
  EXPECT_EQ(host.Calls(SetPedBodyType).size(), 1u);
  EXPECT_EQ(host.Calls(SetPedVoice).size(), 1u);
  EXPECT_EQ(host.Calls(SetPedWalkStyle).size(), 1u);

  sim::PedLook& look = PlayerLook();
  EXPECT_TRUE(look.Wears("mp_hair_mr1_007"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_BOOTS_001_TINT_001"));
  EXPECT_EQ(look.flags["HAS_VOICE"], 0);
  EXPECT_EQ(look.walkStyle, "MP_Style_Casual");
  ASSERT_EQ(host.world.look.lawOptions.size(), 1u);
  EXPECT_EQ(host.world.look.lawOptions[0].context, host.world.look.lawContext);
  EXPECT_EQ(host.world.look.lawOptions[0].option, 37);
  EXPECT_EQ(host.world.look.lawOptions[0].value, 1);
}

TEST_F(CampaignStart, TheWorldHashesAreAppliedInOrderWithTheCharacter) {
  LoadWithCharacter();
  AcceptStart();
  host.RunFrames(2);
  const auto& hashes = host.world.look.worldHashes;
  ASSERT_EQ(hashes.size(), 32u);
  EXPECT_EQ(hashes.front(), 0x2D1A7AF2u);
  EXPECT_EQ(hashes[16], 0x5647E155u);
  EXPECT_EQ(hashes.back(), 0x9652B96Eu);
}

TEST_F(CampaignStart, ThePlayersOwnBlipIsStyledAsAPosseLeader) {
  LoadWithCharacter();
  AcceptStart();
  host.RunFrame();
  const sim::SimBlip* blip = host.world.blips.PlayerBlip();
  ASSERT_NE(blip, nullptr);
  EXPECT_EQ(blip->style, sim::GameHash("BLIP_STYLE_MP_PLAYER_POSSE_LEADER"));
  EXPECT_EQ(blip->modifiers, std::vector<Hash>{sim::GameHash("BLIP_MODIFIER_POSSE_ALLY")});
  EXPECT_EQ(blip->player, host.world.player.index);
}

TEST_F(CampaignStart, AResetOfTheCharacterPutsItOnAgainOnTheNextFrame) {
  LoadWithCharacter();
  AcceptStart();
  host.RunFrames(3);
  ASSERT_EQ(host.Calls(SetPedBodyType).size(), 1u);

  Campaign.characterApplied = false;  // what the interaction menu's reset does
  host.RunFrames(3);
  EXPECT_EQ(host.Calls(SetPedBodyType).size(), 2u);
  EXPECT_EQ(host.world.look.worldHashes.size(), 64u);
}

TEST_F(CampaignStart, AnUnknownGenderSwitchesAndDressesNothingButStillSetsTheWorld) {
  LoadWithCharacter("Gender=2\n");
  const int32_t pedBefore = host.world.player.ped;
  AcceptStart();
  host.RunFrames(2);
  EXPECT_EQ(host.world.player.ped, pedBefore);
  EXPECT_TRUE(host.Calls(SetPedTextureLayer).empty());
  EXPECT_EQ(host.world.look.worldHashes.size(), 32u);
}

class CampaignWalkStyle : public CampaignStart {};

TEST_F(CampaignWalkStyle, AStyleChosenInTheMenuIsAppliedByItsGameNameAfterARestart) {
  LoadWithCharacter("Walking Style=CRAZY\n");
  AcceptStart();
  host.RunFrame();
  EXPECT_EQ(PlayerLook().walkStyle, "MP_STYLE_CRAZY");
  EXPECT_EQ(SaveValue("Character", "Walking Style"), "CRAZY");  // the file is unchanged
}

TEST_F(CampaignWalkStyle, AFullStyleNameIsAppliedUnchanged) {
  LoadWithCharacter("Walking Style=MP_Style_Refined\n");
  AcceptStart();
  host.RunFrame();
  EXPECT_EQ(PlayerLook().walkStyle, "MP_Style_Refined");
}

class CampaignStory : public CampaignStart {};

TEST_F(CampaignStory, ASaveWithoutAStorySectionRunsThePrologueEveryFrame) {
  LoadWithCharacter();
  AcceptStart();
  WatchStorySteps();
  host.RunFrames(3);
  EXPECT_EQ(StepLog, (std::vector<std::string>{"prologue", "prologue", "prologue"}));
}

TEST_F(CampaignStory, APassedPrologueRunsTheFreeRoamStepsInOrder) {
  LoadWithCharacter("[Story]\nProgress=1\n");
  AcceptStart();
  WatchStorySteps();
  host.RunFrame();
  EXPECT_EQ(StepLog, (std::vector<std::string>{"train robbery", "wardrobe", "rank", "menu"}));
}

TEST_F(CampaignStory, AnyProgressAboveOneCountsAsPassed) {
  LoadWithCharacter("[Story]\nProgress=7\n");
  AcceptStart();
  WatchStorySteps();
  host.RunFrame();
  EXPECT_EQ(StepLog.size(), 4u);
  EXPECT_EQ(StepLog.front(), "train robbery");
}

TEST_F(CampaignStory, ANegativeProgressRunsNeither) {
  LoadWithCharacter("[Story]\nProgress=-1\n");
  AcceptStart();
  WatchStorySteps();
  host.RunFrames(3);
  EXPECT_TRUE(StepLog.empty());
  EXPECT_EQ(host.Calls(SetPedBodyType).size(), 1u);  // the character is still put on
}

TEST_F(CampaignStory, TheFrameThatPassesThePrologueAlreadyRunsFreeRoam) {
  LoadWithCharacter();
  AcceptStart();
  WatchStorySteps();
  ReplaceStoryStep(LogPrologue, PassPrologue);
  host.RunFrame();
  EXPECT_EQ(StepLog,
            (std::vector<std::string>{"prologue", "train robbery", "wardrobe", "rank", "menu"}));
  StepLog.clear();
  host.RunFrame();
  EXPECT_EQ(StepLog.front(), "train robbery");  // the prologue does not run again
}

TEST_F(CampaignStory, BeforeTheStartNoStoryStepRuns) {
  LoadWithCharacter("[Story]\nProgress=1\n");
  WatchStorySteps();
  host.RunFrames(5);
  EXPECT_TRUE(StepLog.empty());
}

class CampaignDeadEye : public CampaignStart {};

TEST_F(CampaignDeadEye, FiveBoughtLevelsSetFiveMultipliersEachFrameTheHighestLast) {
  LoadWithCharacter(
      "[Rank]\nDeadeye Lvl 1=True\nDeadeye Lvl 2=True\nDeadeye Lvl 3=True\n"
      "Deadeye Lvl 4=True\nDeadeye Lvl 5=True\n");
  EXPECT_TRUE(host.Calls(SetDeadEyeMultiplier).empty());  // loaded only when the campaign starts
  AcceptStart();
  host.ClearTrace();
  host.RunFrame();
  const auto calls = host.Calls(SetDeadEyeMultiplier);
  ASSERT_EQ(calls.size(), 5u);
  const float expected[5] = {3.0f, 5.0f, 10.0f, 20.0f, 30.0f};
  for (size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i]->Int(0), host.world.player.index);
    EXPECT_EQ(calls[i]->Float(1), expected[i]);
  }
}

}  // namespace
}  // namespace brimvale
