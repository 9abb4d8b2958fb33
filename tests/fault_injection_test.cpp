// A game that fails the plugin now and then: natives that create nothing for a while, resources
// that load late, a player who dies in the middle of a blocking sequence, and the script stopped
// at any frame. Nothing may crash or leak, and the save file always loads afterwards with the
// progress it had.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "character/creator.h"
#include "core/campaign.h"
#include "free_roam.h"
#include "hook/host.h"
#include "player/player.h"
#include "player/save_text.h"
#include "player/scenario.h"
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
    if (!line.empty() && line.back() == '\r') line.pop_back();
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

std::string StoryProgress(const std::string& save) {
  return sim::ReadSaveValue(save, "Story", "Progress");
}
bool CharacterCreated(const std::string& save) {
  return sim::ReadSaveValue(save, "Character", "Create Character") == "True";
}

// The scenario without its repeated segments: they play the same part many times over, which
// adds nothing under faults but minutes under the sanitizers.
sim::Scenario WithoutRepeats(const sim::Scenario& scenario) {
  sim::Scenario played = scenario;
  std::erase_if(played.segments, [](const sim::Segment& segment) { return segment.repeats; });
  return played;
}

struct Milestone {
  int64_t frame;
  std::string what;
};

struct CampaignRun {
  bool ok = false;
  std::string out;                    // what the scripted player reported
  std::vector<Milestone> milestones;  // each of its lines with its frame
  std::string save;                   // the save file it left
  std::string startSave;              // the save file it started from

  // The frame of the first milestone that mentions `what`; -1 when there is none.
  int64_t FrameOf(const char* what) const {
    for (const Milestone& m : milestones) {
      if (m.what.find(what) != std::string::npos) return m.frame;
    }
    return -1;
  }
  // The story progress this run had saved by `frame` ("" or "0" before the prologue is passed),
  // or null while the prologue's hand-over, between its result screen and its toast, writes it.
  const char* ProgressBy(int64_t frame) const {
    if (StoryProgress(startSave) == "1") return "1";
    const int64_t passed = FrameOf("\"MISSION PASSED\"");
    const int64_t toast = FrameOf("the prologue's toast");
    if (passed < 0 || frame <= passed) return "";
    return toast >= 0 && frame >= toast ? "1" : nullptr;
  }
};

// Whether a saved progress is the one expected of ProgressBy: "0" stands for "" too, and null
// takes any of the story's values.
bool SameProgress(const std::string& progress, const char* expected) {
  if (!expected) return progress == "" || progress == "0" || progress == "1";
  return progress == expected || (std::string(expected).empty() && progress == "0");
}

// A new session on `save` greets the player where its progress left them: the creator before a
// character exists; else the story's start point, and once that is accepted the prologue's
// opening banner, or the rank panel of free roam when the prologue is passed.
void ExpectLoadsWithItsProgress(const std::string& save) {
  testing::WriteFile("Brimvale.ini", save);
  sim::SimHost host;
  host.LoadPlugin();
  const bool created = CharacterCreated(save);
  host.MovePlayer(created ? kStartPoint : kCreatorEntryPoint);
  const std::string prompt =
      created ? kStartPrompt : "Press ~INPUT_LOOT~ to Create Your Brimvale Character.";
  EXPECT_TRUE(host.RunUntil([&] { return host.world.ui.LastHelpText() == prompt; }, 300))
      << "no \"" << prompt << "\" for\n"
      << save;
  if (created) {
    host.Press("INPUT_CARRIABLE_SUICIDE", 2);
    const bool freeRoam = StoryProgress(save) == "1";
    EXPECT_TRUE(host.RunUntil(
        [&] {
          return freeRoam ? host.world.ui.lastFrame.FindText("RANK") != nullptr
                          : host.world.ui.LastNotice(sim::NoticeKind::Banner) != nullptr;
        },
        900))
        << (freeRoam ? "no rank panel" : "no prologue") << " for\n"
        << save;
  }
  host.UnloadPlugin();
}

// Scenarios played whole, each in a game directory of this test's own.
class CampaignUnderFaults : public ::testing::Test {
 protected:
  CampaignRun Play(const char* name, const HostConfig& config) {
    const sim::Scenario* scenario = sim::FindScenario(name);
    if (!scenario) {
      ADD_FAILURE() << "no scenario " << name;
      return {};
    }
    // The scenario makes its game directory under the temporary directory: this test's own.
    const char* oldTemp = std::getenv("TMPDIR");
    const std::string restore = oldTemp ? oldTemp : "";
    setenv("TMPDIR", dir.path().c_str(), 1);
    std::ostringstream out;
    CampaignRun run;
    run.ok = sim::PlayScenario(WithoutRepeats(*scenario), config, out);
    oldTemp ? setenv("TMPDIR", restore.c_str(), 1) : unsetenv("TMPDIR");
    run.out = out.str();
    run.startSave = scenario->startSave ? scenario->startSave : "";
    static const std::regex milestone(R"(\[frame (\d+), [^\]]*\] ([^\n]*))");
    for (std::sregex_iterator it(run.out.begin(), run.out.end(), milestone), end; it != end; ++it)
      run.milestones.push_back({std::stoll((*it)[1]), (*it)[2]});
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

// The same, one part of the campaign per scenario.
class PartUnderFaults : public CampaignUnderFaults,
                        public ::testing::WithParamInterface<const char*> {
 protected:
  // The part played without faults, to its end and with the story where that end leaves it.
  CampaignRun PlayClean() {
    CampaignRun clean = Play(GetParam(), {});
    EXPECT_TRUE(clean.ok) << clean.out;
    if (!clean.milestones.empty()) {
      EXPECT_TRUE(
          SameProgress(StoryProgress(clean.save), clean.ProgressBy(clean.milestones.back().frame)))
          << clean.save;
    }
    return clean;
  }
  // The part played again with `fault` at `frame`. What every such run keeps: a well-formed
  // save, with the character if the clean run had made it by then, that loads where its
  // progress leaves the player.
  CampaignRun PlayWithFault(const CampaignRun& clean, void (sim::FaultPlan::*fault)(int64_t),
                            int64_t frame) {
    HostConfig config;
    (config.faults.*fault)(frame);
    CampaignRun run = Play(GetParam(), config);
    ExpectWellFormedSave(run.save);
    const int64_t created = clean.FrameOf("character created");
    if (created < 0 || frame > created) {
      EXPECT_TRUE(CharacterCreated(run.save)) << run.out;
    }
    ExpectLoadsWithItsProgress(run.save);
    return run;
  }
};

INSTANTIATE_TEST_SUITE_P(Scenarios, PartUnderFaults,
                         ::testing::Values("creator", "prologue", "progression", "menu", "robbery"),
                         [](const auto& info) { return std::string(info.param); });

// One host, one fresh game: a new player at the creator, with whatever faults the test arranges.
class NativeFaults : public testing::SimTest {
 protected:
  explicit NativeFaults(HostConfig config = {}) : SimTest(config) {}
  // A new character, with no camera of the creator's left once it is made, then the story.
  void MakeCharacterAndStart() {
    host.LoadPlugin();
    host.RunFrames(30);
    ASSERT_TRUE(sim::MakeCharacter(player)) << log.str();
    EXPECT_EQ(host.world.cameras.LiveCameras(), 0);
    ASSERT_TRUE(sim::StartCampaign(player)) << log.str();
    // The scripted player made her female.
    EXPECT_EQ(host.world.PlayerEntity().model, GameHash("MP_FEMALE"));
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

TEST_F(NativeFaults, ACameraNotCreatedLeavesTheSceneWithoutItAndNoCameraBehind) {
  host.config.faults.RefuseNext(CreateCameraAt, 1);
  ASSERT_NO_FATAL_FAILURE(MakeCharacterAndStart());
  EXPECT_EQ(host.config.faults.Refused(CreateCameraAt), 1);
  EXPECT_EQ(SaveValue("Character", "Create Character"), "True");
}

TEST_F(NativeFaults, AModelSwitchTheGameRefusesAndResourcesThatLoadLateHoldUntilTheyCome) {
  // The switch through the script globals fails, so the model is loaded and set directly, and
  // the game takes its time over that and over every dictionary.
  host.config.faults.RefuseNext(RefreshPlayerState, 2);
  host.config.faults.RefuseNext(HasModelLoaded, 50);
  host.config.faults.RefuseNext(HasTextureDictLoaded, 150);
  host.config.faults.RefuseNext(HasAnimDictLoaded, 150);
  ASSERT_NO_FATAL_FAILURE(MakeCharacterAndStart());
  EXPECT_EQ(host.config.faults.Refused(HasModelLoaded), 50);
  EXPECT_EQ(host.config.faults.Refused(HasTextureDictLoaded), 150);
  EXPECT_EQ(host.config.faults.Refused(HasAnimDictLoaded), 150);
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

TEST_F(LateResources, ModelsTexturesAndAnimationsThatLoadSecondsLateStillMakeTheCharacter) {
  ASSERT_NO_FATAL_FAILURE(MakeCharacterAndStart());
  EXPECT_NE(host.world.look.Of(host.world.player.ped).Layer("mp_head_fr1_001"), nullptr);
}

// A long wait of the scripted player between two milestones is a blocking sequence of the
// plugin: the creator's entry and finish, the campaign's start, each of the prologue's cuts, a
// wardrobe's entry and exit, the robbery's start, the menu's reset. Long ones hold several cuts,
// so they get a death every 200 frames or so.
std::vector<int64_t> FramesInsideSequences(const CampaignRun& clean) {
  std::vector<int64_t> frames;
  for (size_t i = 1; i < clean.milestones.size(); ++i) {
    const int64_t from = clean.milestones[i - 1].frame, gap = clean.milestones[i].frame - from;
    if (gap < 60) continue;
    const int64_t deaths = std::max<int64_t>(1, gap / 200);
    for (int64_t k = 1; k <= deaths; ++k)
      frames.push_back(from + gap * k / (deaths + 1));
  }
  return frames;
}

TEST_P(PartUnderFaults, APlayerWhoDiesInTheMiddleOfEachSequenceKeepsTheProgress) {
  const CampaignRun clean = PlayClean();
  ASSERT_FALSE(HasFailure());
  const std::vector<int64_t> deaths = FramesInsideSequences(clean);
  EXPECT_GE(deaths.size(), 2u);  // at least the start of the campaign and of what it plays
  for (int64_t death : deaths) {
    SCOPED_TRACE("death at frame " + std::to_string(death));
    // The scripted player may walk on while the death screen holds the game (a real player
    // could not), so its run need not reach the end; the save must keep what was made by then.
    const CampaignRun run = PlayWithFault(clean, &sim::FaultPlan::KillPlayerAtFrame, death);
    // Passed before the death, the story stays passed; otherwise the prologue may or may not
    // have been played on to its end.
    const char* progress = clean.ProgressBy(death);
    const bool passedBefore = progress && std::string(progress) == "1";
    EXPECT_TRUE(SameProgress(StoryProgress(run.save), passedBefore ? "1" : nullptr)) << run.out;
    if (run.ok) {
      EXPECT_EQ(StoryProgress(run.save), StoryProgress(clean.save));
    }
  }
}

TEST_P(PartUnderFaults, TheScriptStoppedAtAnyFrameLeavesASaveThatLoadsWithItsProgress) {
  const CampaignRun clean = PlayClean();
  ASSERT_FALSE(HasFailure());
  // Frames spread over the whole part, and frames just inside each sequence.
  std::vector<int64_t> stops;
  const int64_t last = clean.milestones.back().frame;
  for (int64_t frame = 1; frame < last; frame += std::max<int64_t>(1, last / 16))
    stops.push_back(frame);
  for (int64_t inside : FramesInsideSequences(clean))
    stops.push_back(inside);
  std::sort(stops.begin(), stops.end());
  std::set<std::pair<std::string, std::string>> cleanKeys;
  for (const sim::SaveEntry& e : sim::ParseSaveText(clean.save))
    cleanKeys.insert({e.section, e.key});
  bool passed = false;
  for (int64_t stop : stops) {
    SCOPED_TRACE("stopped at frame " + std::to_string(stop));
    const CampaignRun run = PlayWithFault(clean, &sim::FaultPlan::StopScriptAtFrame, stop);
    // What was saved by then is what the whole run saves by then: each key of it is one the
    // finished run also wrote, or wrote over later, and the story is where it was.
    for (const sim::SaveEntry& e : sim::ParseSaveText(run.save))
      EXPECT_TRUE(cleanKeys.contains({e.section, e.key})) << e.section << "/" << e.key;
    EXPECT_TRUE(SameProgress(StoryProgress(run.save), clean.ProgressBy(stop))) << run.save;
    // Once saved, the story stays passed in every later stop.
    EXPECT_TRUE(!passed || StoryProgress(run.save) == "1") << run.save;
    passed = StoryProgress(run.save) == "1";
  }
}

// A game slow to make what the part asks for: its cameras, peds, vehicles, trains, objects,
// scenes and prompts come to nothing at first. Its waits hold until they are made, and it plays
// to its end. (A blip the game refuses stays away: the player can do without the marker.)
TEST_P(PartUnderFaults, PlaysToItsEndWhenTheGameMakesThingsLate) {
  HostConfig config;
  config.faults.RefuseNext(CreateCameraAt, 3);
  config.faults.RefuseNext(CreatePed, 40);
  config.faults.RefuseNext(CreateVehicle, 40);
  config.faults.RefuseNext(CreateMissionTrain, 40);
  config.faults.RefuseNext(CreateObjectNoOffset, 40);
  config.faults.RefuseNext(CreateAnimScene, 40);
  config.faults.RefuseNext(CreateCameraByName, 3);
  config.faults.RefuseNext(CreateObject, 40);
  config.faults.RefuseNext(PromptRegisterBegin, 5);
  const CampaignRun clean = PlayClean();
  const CampaignRun run = Play(GetParam(), config);
  EXPECT_TRUE(run.ok) << run.out;
  EXPECT_EQ(StoryProgress(run.save), StoryProgress(clean.save));
  EXPECT_EQ(sim::ReadSaveValue(run.save, "Rank", "Rank"),
            sim::ReadSaveValue(clean.save, "Rank", "Rank"));
}

// The soak: the whole campaign under the sanitizers with other seeds and load times.
TEST_F(CampaignUnderFaults, TheCampaignPlaysToItsEndWhateverTheSeedAndLoadTimes) {
  for (uint32_t seed : {2u, 17u, 4242u, 90001u, 123457u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const int spread = static_cast<int>(seed % 7);
    HostConfig config;
    config.seed = seed;
    config.modelLoadFrames = 1 + spread;
    config.textureLoadFrames = 1 + spread % 5;
    config.animDictLoadFrames = 1 + spread % 4;
    const CampaignRun run = Play("play", config);
    EXPECT_TRUE(run.ok) << run.out;
    ExpectWellFormedSave(run.save);
    EXPECT_TRUE(CharacterCreated(run.save));
    EXPECT_EQ(StoryProgress(run.save), "1");
    EXPECT_GE(std::atoi(sim::ReadSaveValue(run.save, "Rank", "Rank").c_str()), 1);
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
  EXPECT_EQ(SaveValue("Character", "Outfit Part 0"), "1") << SaveText();
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
