// A game that fails the plugin now and then: natives that create nothing for a while, resources
// that load late, a player who dies in the middle of a blocking sequence, and the script stopped
// at any frame. Nothing may crash or leak, and the save file always loads afterwards with the
// progress it had.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "character/creator.h"
#include "core/campaign.h"
#include "free_roam.h"
#include "host.h"
#include "player.h"
#include "scenario.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using sim::GameHash;
using sim::HostConfig;

// Every line of the file is blank, a section or a key with its value.
void ExpectWellFormedSave(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const bool section = line.size() > 2 && line.front() == '[' && line.back() == ']';
    const size_t equals = line.find('=');
    EXPECT_TRUE(line.empty() || section || (equals != std::string::npos && equals > 0))
        << "line \"" << line << "\" in\n"
        << text;
  }
  if (!text.empty()) {
    EXPECT_EQ(text.back(), '\n');
  }
}

// Every scenario of a part of the campaign; each new part's scenario goes here.
constexpr const char* kScenarios[] = {"campaign", "robbery"};

struct CampaignRun {
  bool ok = false;
  std::string out;              // what the scripted player reported
  std::vector<int64_t> frames;  // the frame of each of its milestones
  std::string save;             // the save file it left
  bool tempLeft = false;        // a half-made replacement of the save was left beside it
};

// A new session on `save` greets the player where its progress left them: the story's start
// point once a character exists, the creator before.
void ExpectLoadsWithItsProgress(const std::string& save) {
  testing::WriteFile("Brimvale.ini", save);
  sim::SimHost host;
  host.LoadPlugin();
  const bool created = save.find("Create Character=True") != std::string::npos;
  host.MovePlayer(created ? kStartPoint : kCreatorEntryPoint);
  const std::string prompt =
      created ? kStartPrompt : "Press ~INPUT_LOOT~ to Create Your Brimvale Character.";
  EXPECT_TRUE(host.RunUntil([&] { return host.world.ui.LastHelpText() == prompt; }, 300))
      << "no \"" << prompt << "\" for\n"
      << save;
  host.UnloadPlugin();
}

// The scenarios that play the campaign's parts as far as they are built, each in a game directory
// of this test's own.
class CampaignUnderFaults : public ::testing::Test {
 protected:
  CampaignRun Play(const char* scenario, const HostConfig& config) {
    // The scenario makes its game directory under the temporary directory: this test's own.
    const char* oldTemp = std::getenv("TMPDIR");
    const std::string restore = oldTemp ? oldTemp : "";
    setenv("TMPDIR", dir.path().c_str(), 1);
    std::ostringstream out;
    CampaignRun run;
    run.ok = sim::PlayScenario(*sim::FindScenario(scenario), config, out);
    oldTemp ? setenv("TMPDIR", restore.c_str(), 1) : unsetenv("TMPDIR");
    run.out = out.str();
    static const std::regex milestone(R"(\[frame (\d+), )");
    for (std::sregex_iterator it(run.out.begin(), run.out.end(), milestone), end; it != end; ++it)
      run.frames.push_back(std::stoll((*it)[1]));
    // The save file is printed after "save file:", up to the list of natives if there is one.
    const size_t saveAt = run.out.find("save file:\n");
    if (saveAt != std::string::npos) {
      const size_t from = saveAt + 11;
      run.save = run.out.substr(from, run.out.find("natives called", from) - from);
    }
    return run;
  }

  testing::GameDirectory dir;
};

// One host, one fresh game: a new player at the creator, with whatever faults the test arranges.
class NativeFaults : public testing::SimTest {
 protected:
  explicit NativeFaults(HostConfig config = {}) : SimTest(config) {}
  bool MakeCharacterAndStart() {
    host.LoadPlugin();
    host.RunFrames(30);
    return sim::MakeCharacter(player) && sim::StartCampaign(player);
  }
  std::ostringstream log;
  sim::Player player{host, log};
};

TEST_F(NativeFaults, BlipsTheGameRefusesForAWhileAppearOnceItMakesThem) {
  host.config.faults.RefuseUntilFrame(AddBlipForCoord, 90);
  host.LoadPlugin();
  host.RunFrames(60);
  EXPECT_TRUE(host.world.blips.blips.empty());
  EXPECT_GT(host.config.faults.Refused(AddBlipForCoord), 0);
  host.RunFrames(40);
  EXPECT_FALSE(host.world.blips.blips.empty());
  ASSERT_TRUE(sim::MakeCharacter(player) && sim::StartCampaign(player)) << log.str();
}

TEST_F(NativeFaults, DISABLED_ACameraNotCreatedLeavesTheSceneWithoutItAndNoCameraBehind) {
  host.config.faults.RefuseNext(CreateCameraAt, 1);
  ASSERT_TRUE(MakeCharacterAndStart()) << log.str();
  EXPECT_EQ(host.config.faults.Refused(CreateCameraAt), 1);
  EXPECT_EQ(host.world.cameras.LiveCameras(), 0);
  EXPECT_NE(SaveText().find("Create Character=True"), std::string::npos);
}

TEST_F(NativeFaults, DISABLED_AModelSwitchTheGameRefusesAndResourcesThatLoadLateHoldUntilTheyCome) {
  // The switch through the script globals fails, so the model is loaded and set directly, and
  // the game takes its time over that and over every dictionary.
  host.config.faults.RefuseNext(RefreshPlayerState, 2);
  host.config.faults.RefuseNext(HasModelLoaded, 50);
  host.config.faults.RefuseNext(HasTextureDictLoaded, 150);
  host.config.faults.RefuseNext(HasAnimDictLoaded, 150);
  ASSERT_TRUE(MakeCharacterAndStart()) << log.str();
  EXPECT_EQ(host.config.faults.Refused(HasModelLoaded), 50);
  EXPECT_EQ(host.config.faults.Refused(HasTextureDictLoaded), 150);
  EXPECT_EQ(host.config.faults.Refused(HasAnimDictLoaded), 150);
  EXPECT_EQ(host.world.PlayerEntity().model, GameHash("MP_MALE"));
}

class LateResources : public NativeFaults {
 protected:
  static HostConfig SlowLoads() {
    HostConfig config;
    config.modelLoadFrames = 90;
    config.textureLoadFrames = 60;
    config.animDictLoadFrames = 75;
    return config;
  }
  LateResources() : NativeFaults(SlowLoads()) {}
};

TEST_F(LateResources,
       DISABLED_ModelsTexturesAndAnimationsThatLoadSecondsLateStillMakeTheCharacter) {
  ASSERT_TRUE(MakeCharacterAndStart()) << log.str();
  EXPECT_EQ(host.world.PlayerEntity().model, GameHash("MP_MALE"));
  EXPECT_EQ(host.world.cameras.LiveCameras(), 0);
}

TEST_F(CampaignUnderFaults, DISABLED_APlayerWhoDiesInTheMiddleOfEachSequenceKeepsTheProgress) {
  for (const char* scenario : kScenarios) {
    SCOPED_TRACE(scenario);
    const CampaignRun clean = Play(scenario, {});
    ASSERT_TRUE(clean.ok) << clean.out;
    // A long wait of the scripted player between two milestones is a blocking sequence of the
    // plugin (the creator's entry, its finish, the campaign's start, ...): a death in its middle.
    int sequences = 0;
    for (size_t i = 1; i < clean.frames.size(); ++i) {
      if (clean.frames[i] - clean.frames[i - 1] < 60) continue;
      ++sequences;
      const int64_t death = (clean.frames[i - 1] + clean.frames[i]) / 2;
      SCOPED_TRACE("death at frame " + std::to_string(death));
      HostConfig config;
      config.faults.KillPlayerAtFrame(death);
      const CampaignRun run = Play(scenario, config);
      // The scripted player may walk on while the death screen holds the game (a real player
      // could not), so its run need not reach the end; the save must keep what was made.
      ExpectWellFormedSave(run.save);
      for (const char* kept : {"Create Character=True\n", "Progress=1\n"}) {
        EXPECT_EQ(run.save.find(kept) != std::string::npos,
                  clean.save.find(kept) != std::string::npos)
            << kept << run.out;
      }
      ExpectLoadsWithItsProgress(run.save);
    }
    EXPECT_GE(sequences, 2);  // at least the start of the campaign and of what it plays
  }
}

TEST_F(CampaignUnderFaults,
       DISABLED_TheScriptStoppedAtAnyFrameLeavesASaveThatLoadsWithItsProgress) {
  for (const char* scenario : kScenarios) {
    SCOPED_TRACE(scenario);
    const CampaignRun clean = Play(scenario, {});
    ASSERT_TRUE(clean.ok) << clean.out;
    // Frames spread over the whole campaign, and frames just inside each sequence.
    std::vector<int64_t> stops;
    const int64_t stride = std::max<int64_t>(1, clean.frames.back() / 24);
    for (int64_t frame = 1; frame < clean.frames.back(); frame += stride)
      stops.push_back(frame);
    for (int64_t milestone : clean.frames)
      stops.push_back(milestone + 3);
    for (int64_t stop : stops) {
      SCOPED_TRACE("stopped at frame " + std::to_string(stop));
      HostConfig config;
      config.faults.StopScriptAtFrame(stop);
      const CampaignRun run = Play(scenario, config);
      ExpectWellFormedSave(run.save);
      // What was saved by then is what the whole run saves by then: each line of it is one the
      // finished run also wrote, or wrote over later.
      std::istringstream lines(run.save);
      std::string line;
      while (std::getline(lines, line)) {
        const std::string key = line.substr(0, line.find('='));
        EXPECT_NE(clean.save.find(key), std::string::npos) << line;
      }
      ExpectLoadsWithItsProgress(run.save);
    }
  }
}

TEST_F(CampaignUnderFaults, DISABLED_TheCampaignPlaysToItsEndWhateverTheSeedAndLoadTimes) {
  for (uint32_t seed : {2u, 17u, 4242u, 90001u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const int spread = static_cast<int>(seed % 7);
    HostConfig config;
    config.seed = seed;
    config.modelLoadFrames = 1 + spread;
    config.textureLoadFrames = 1 + spread % 5;
    config.animDictLoadFrames = 1 + spread % 4;
    for (const char* scenario : kScenarios) {
      const CampaignRun run = Play(scenario, config);
      EXPECT_TRUE(run.ok) << scenario << "\n" << run.out;
      ExpectWellFormedSave(run.save);
      EXPECT_NE(run.save.find("Create Character=True"), std::string::npos);
    }
  }
}

// Free roam's own blocking sequences with a death in their middle: the game comes back to play
// with no scene camera left, and the save holds what it held.
class FreeRoamFaults : public testing::FreeRoamTest {
 protected:
  // Lets the sequence that `start` begins run `frames` frames, kills the player there, and waits
  // until the death has been dealt with and no script camera is shown.
  void DieDuring(const std::function<void()>& start, int frames) {
    start();
    host.RunFrames(frames);
    host.world.Kill(host.world.player.ped, host.Frame());
    ASSERT_TRUE(host.RunUntil(
        [&] {
          return !host.world.player.dead && !host.world.cameras.rendering &&
                 !host.world.blips.fades.back().out;
        },
        3000));
    host.RunFrames(60);
    EXPECT_TRUE(host.ScriptRunning());
  }
};

TEST_F(FreeRoamFaults, ADeathWhileEnteringAWardrobeLeavesNoCameraAndChargesNothing) {
  StartFreeRoam();
  host.world.scene.money = 5000;
  const int cameras = host.world.cameras.LiveCameras();
  const std::string save = SaveText();
  DieDuring(
      [&] {
        host.MovePlayer({-326.392f, 797.185f, 121.512f});  // the door of the first shop
        host.RunFrame();
        host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
      },
      20);
  EXPECT_EQ(host.world.cameras.LiveCameras(), cameras);
  EXPECT_EQ(host.world.scene.money, 5000);
  EXPECT_EQ(SaveText(), save);
}

TEST_F(FreeRoamFaults, ADeathWhileLeavingAWardrobeKeepsWhatTheVisitSaved) {
  StartFreeRoam();
  host.world.scene.money = 5000;
  const int cameras = host.world.cameras.LiveCameras();
  host.MovePlayer({-326.392f, 797.185f, 121.512f});
  host.RunFrame();
  host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 2);
  ASSERT_TRUE(WaitUntilDrawn("1/4", 900));
  Press("INPUT_MOVE_RIGHT_ONLY", 0);  // the hat one part on
  DieDuring([&] { host.Press("INPUT_FRONTEND_ACCEPT", 0); }, 10);
  EXPECT_EQ(host.world.cameras.LiveCameras(), cameras);
  ExpectWellFormedSave(SaveText());
  EXPECT_NE(SaveText().find("Outfit Part 0=1\n"), std::string::npos) << SaveText();
}

TEST_F(FreeRoamFaults, ADeathInTheMiddleOfACharacterResetPutsTheLookBackOn) {
  StartFreeRoam("Head Type=4\n");
  const std::string save = SaveText();
  Press("INPUT_FRONTEND_LS", 2);
  ASSERT_TRUE(WaitUntilDrawn("View Player Options", 300));
  Press("INPUT_FRONTEND_ACCEPT", 2, 2);
  Press("INPUT_GAME_MENU_DOWN", 2, 2);
  ASSERT_TRUE(host.world.ui.lastFrame.FindText("Reset your character model if it breaks."));
  DieDuring([&] { host.Press("INPUT_FRONTEND_ACCEPT", 2); }, 15);
  EXPECT_NE(host.world.look.Of(host.world.player.ped).Layer("mp_head_mr1_005"), nullptr);
  EXPECT_EQ(SaveText(), save);
}

}  // namespace
}  // namespace brimvale
