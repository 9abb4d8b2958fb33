// A live session kept as it plays: the page's input with the frame it was applied at, played
// again headless to the same world, a changed input found where it shows, and a live game begun
// from a recording's frame.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "live/live_game.h"
#include "live/recording.h"
#include "live/replay.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::ReadFile;

class LiveRecordings : public ::testing::Test {
 protected:
  // The last frame message the page got, once `enough` holds for one (or the time is up).
  static json Until(sim::LiveGame& game, const std::function<bool(const json&)>& enough) {
    json shown;
    uint64_t seen = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (std::chrono::steady_clock::now() < until) {
      auto frame = game.WaitAfter(seen, std::chrono::milliseconds(500));
      if (!frame || frame->sequence == seen) continue;
      seen = frame->sequence;
      shown = json::parse(frame->json);
      if (enough(shown)) break;
    }
    return shown;
  }
  static bool Logged(const json& frame, const std::string& line) {
    for (const json& l : frame["log"]["lines"])
      if (l == line) return true;
    return false;
  }
  static std::function<bool(const json&)> PastFrame(int64_t frame) {
    return [frame](const json& f) { return f["frame"].get<int64_t>() > frame; };
  }
  static sim::LiveCommand Key(const char* key, bool down) {
    sim::LiveCommand c;
    c.kind = sim::LiveCommand::Kind::Key;
    c.key = key;
    c.down = down;
    return c;
  }
  static sim::LiveCommand Of(sim::LiveCommand::Kind kind) {
    sim::LiveCommand c;
    c.kind = kind;
    return c;
  }

  // A made character: the scripted player plays the start point and part of the prologue, the
  // viewer takes the keys back, walks, is teleported, presses E, then restarts the robbery's
  // start and walks there; at eight times the real pace.
  fs::path RecordSession() {
    const fs::path file = dir.path() / "live.jsonl";
    sim::LiveOptions options;
    options.scenario = "prologue";
    options.record = file;
    options.build = "test";
    sim::LiveGame game(options);
    game.Start();
    using K = sim::LiveCommand::Kind;
    sim::LiveCommand speed = Of(K::Speed);
    speed.speed = 8;
    game.Submit(speed);
    sim::LiveCommand play = Of(K::PlayForMe);
    play.on = true;
    game.Submit(play);
    json f = Until(game, [](const json& f) {
      return Logged(f, "the scripted player finished the start point; next: the prologue");
    });
    EXPECT_EQ(f["finished"], "the start point");
    game.Submit(play);
    f = Until(game, [](const json& f) { return f["playing"] == "the prologue"; });
    f = Until(game, PastFrame(f["frame"].get<int64_t>() + 90));
    game.Submit(Key("KeyW", true));  // takes the keys back
    f = Until(game, [](const json& f) { return f["playing"] == ""; });
    game.Submit(Key("KeyW", true));
    f = Until(game, PastFrame(f["frame"].get<int64_t>() + 20));
    game.Submit(Key("KeyW", false));
    sim::LiveCommand teleport = Of(K::TeleportTo);
    teleport.x = 1400.5;
    teleport.y = -1300.25;
    game.Submit(teleport);
    game.Submit(Key("KeyE", true));
    game.Submit(Key("KeyE", false));
    f = Until(game, PastFrame(f["frame"].get<int64_t>() + 70));
    sim::LiveCommand restart = Of(K::Restart);
    restart.scenario = "robbery";
    game.Submit(restart);
    f = Until(game, [](const json& f) { return f["start"] == "the start of scenario robbery"; });
    f = Until(game, PastFrame(f["frame"].get<int64_t>() + 30));
    sim::LiveCommand walk = Of(K::WalkTo);
    walk.x = f["map"]["player"]["x"].get<double>() + 30;
    walk.y = f["map"]["player"]["y"].get<double>();
    game.Submit(walk);
    Until(game, PastFrame(f["frame"].get<int64_t>() + 60));
    game.Stop();
    return file;
  }

  int Replay(const fs::path& file, int64_t to = -1) {
    sim::ReplayOptions options;
    options.file = file;
    options.out = dir.path() / "replayed";
    options.to = to;
    printed.str("");
    errors.str("");
    return sim::RunReplay(options, {}, printed, errors);
  }

  testing::GameDirectory dir;
  std::ostringstream printed, errors;
};

// One recorded session serves each case: recording it at the live pace takes the most time.
TEST_F(LiveRecordings, ASessionReplaysToItsWorldAndAChangedTeleportShowsAtTheNextDigest) {
  const fs::path file = RecordSession();
  const std::string text = ReadFile(file);
  // The page's input as it was applied; the pace is not part of it.
  EXPECT_NE(text.find(R"("down":true,"frame":)"), std::string::npos) << text.substr(0, 2000);
  EXPECT_NE(text.find(R"("kind":"play_for_me")"), std::string::npos);
  EXPECT_NE(text.find(R"("kind":"restart","scenario":"robbery")"), std::string::npos);
  EXPECT_EQ(text.find("speed"), std::string::npos);

  ASSERT_EQ(Replay(file), 0) << printed.str() << errors.str();
  EXPECT_NE(printed.str().find("every digest matched"), std::string::npos) << printed.str();
  // The robbery's game began from the save of a character past the prologue.
  const std::string save = ReadFile(dir.path() / "replayed" / "Brimvale.ini");
  EXPECT_EQ(sim::ReadSaveValue(save, "Story", "Progress"), "1") << save;

  // The teleport lands five metres east of where it was recorded.
  const std::string from = R"("kind":"teleport","x":1400.5)";
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << text.substr(0, 3000);
  std::string moved = text;
  moved.replace(at, from.size(), R"("kind":"teleport","x":1405.5)");
  const size_t lineStart = text.rfind('\n', at) + 1;
  const int64_t teleported = std::stoll(text.substr(text.find("\"frame\":", lineStart) + 8));
  int64_t digest = -1;
  for (size_t d = text.find("\"kind\":\"digest\"", at); d != std::string::npos && digest < 0;
       d = text.find("\"kind\":\"digest\"", d + 1)) {
    const int64_t frame = std::stoll(text.substr(text.find("\"frame\":", text.rfind('\n', d)) + 8));
    if (frame >= teleported) digest = frame;
  }
  ASSERT_GT(digest, 0);
  testing::WriteFile(dir.path() / "moved.jsonl", moved);
  EXPECT_EQ(Replay(dir.path() / "moved.jsonl"), 1) << printed.str();
  EXPECT_NE(
      printed.str().find("differs from the recording at frame " + std::to_string(digest) + " "),
      std::string::npos)
      << printed.str();
  EXPECT_NE(printed.str().find("the player's position: recorded (1400.50, -1300.25"),
            std::string::npos)
      << printed.str();

  // A live game begun from the recording stands paused at the frame asked for in its last
  // game, just before the walk there, and keeps the replayed input in its own recording.
  const size_t walk = text.find(R"("kind":"walk")");
  ASSERT_NE(walk, std::string::npos);
  const int64_t walked =
      std::stoll(text.substr(text.find("\"frame\":", text.rfind('\n', walk)) + 8));
  auto recording = std::make_shared<sim::Recording>();
  sim::RecordingError error;
  ASSERT_TRUE(sim::ReadRecordingFile(file, *recording, error)) << error.why;
  sim::LiveOptions options;
  options.follow = recording;
  options.followTo = walked - 1;
  options.record = dir.path() / "branch.jsonl";
  sim::LiveGame game(options);
  game.Start();
  const json f = Until(game, [](const json& f) { return f["paused"] == true; });
  game.Stop();
  EXPECT_EQ(f["frame"], walked - 1) << f["log"].dump() << f["progress"];
  EXPECT_EQ(f["start"], "the start of scenario robbery");
  EXPECT_TRUE(Logged(f, "replayed the recording to frame " + std::to_string(walked - 1) +
                            " (every digest matched); paused"))
      << f["log"].dump();
  const std::string branch = ReadFile(dir.path() / "branch.jsonl");
  EXPECT_NE(branch.find(R"("kind":"teleport","x":1400.5,"y":-1300.25)"), std::string::npos);
  EXPECT_NE(branch.find(R"("kind":"restart","scenario":"robbery")"), std::string::npos);
  EXPECT_EQ(branch.find(R"("kind":"walk")"), std::string::npos) << "the future is not kept";
}

}  // namespace
}  // namespace brimvale
