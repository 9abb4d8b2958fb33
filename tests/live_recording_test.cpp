// A live session kept as it plays: the page's input with the frame it was applied at, played
// again headless to the same world, a changed input found where it shows, and a live game begun
// from a recording's frame.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <iostream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "live/live_game.h"
#include "live/live_server.h"
#include "live/recording.h"
#include "live/replay.h"
#include "player/save_text.h"
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
    options.seed = 7;
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

  int Replay(const fs::path& file, int64_t to = -1, const std::string& plugin = "",
             const std::string& build = "") {
    sim::ReplayOptions options;
    options.file = file;
    options.out = dir.path() / "replayed";
    options.to = to;
    options.plugin = plugin;
    options.build = build;
    printed.str("");
    errors.str("");
    return sim::RunReplay(options, {}, printed, errors);
  }

  // The save file as the page's panel shows it, and as a file's text reads.
  static std::string SavePanel(const json& frame) {
    std::string lines;
    for (const json& e : frame["save"])
      lines += "[" + e["section"].get<std::string>() + "] " + e["key"].get<std::string>() + "=" +
               e["value"].get<std::string>() + "\n";
    return lines;
  }
  static std::string SaveLines(const std::string& text) {
    std::map<std::pair<std::string, std::string>, std::string> sorted;
    for (const sim::SaveEntry& e : sim::ParseSaveText(text))
      sorted[{e.section, e.key}] = e.value;
    std::string lines;
    for (const auto& [key, value] : sorted)
      lines += "[" + key.first + "] " + key.second + "=" + value + "\n";
    return lines;
  }
  static sim::LiveCommand Teleport(double x, double y) {
    sim::LiveCommand c = Of(sim::LiveCommand::Kind::TeleportTo);
    c.x = x, c.y = y;
    return c;
  }
  static sim::LiveCommand RewindTo(int64_t frame) {
    sim::LiveCommand c = Of(sim::LiveCommand::Kind::Rewind);
    c.frame = frame;
    return c;
  }
  // The page's fastest pace, and the scripted player playing the next part.
  static void AtEightTimes(sim::LiveGame& game, bool playForMe) {
    sim::LiveCommand speed = Of(sim::LiveCommand::Kind::Speed),
                     play = Of(sim::LiveCommand::Kind::PlayForMe);
    speed.speed = 8;
    play.on = true;
    game.Submit(speed);
    if (playForMe) game.Submit(play);
  }
  static std::function<bool(const json&)> Told(const std::string& start) {
    return [start](const json& f) { return f["replayed"].get<std::string>().starts_with(start); };
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
  EXPECT_NE(branch.find(R"("seed":7,)"), std::string::npos) << branch.substr(0, 300);
  EXPECT_NE(branch.find(R"("kind":"restart","scenario":"robbery")"), std::string::npos);
  EXPECT_EQ(branch.find(R"("kind":"walk")"), std::string::npos) << "the future is not kept";
}

// The scripted player makes the character; the viewer rewinds into the middle of it, after the
// character was made and the player teleported away, then plays on from there.
TEST_F(LiveRecordings, ARewindIsTheReplayToThatFrameAndWhatIsDoneAfterItReplacesTheOldFuture) {
  using K = sim::LiveCommand::Kind;
  const fs::path file = dir.path() / "rewound.jsonl";
  sim::LiveOptions options;
  options.record = file;
  sim::LiveGame game(options);
  game.Start();
  AtEightTimes(game, true);
  // A character half made: some of its keys saved, not yet finished.
  const json half = Until(
      game, [](const json& f) { return f["save"].size() >= 4 && f["playing"] == "the creator"; });
  ASSERT_EQ(half["playing"], "the creator") << half["log"].dump();
  const int64_t n = half["frame"].get<int64_t>();
  json f = Until(game, [](const json& f) { return f["finished"] == "the creator"; });
  ASSERT_NE(SavePanel(f).find("[Character] Create Character=True\n"), std::string::npos);
  game.Submit(Teleport(1400.5, -1300.25));
  f = Until(game, PastFrame(f["frame"].get<int64_t>() + 40));
  fs::copy_file(file, dir.path() / "before.jsonl");

  const std::string rewound = "rewound to frame " + std::to_string(n) + " in ";
  game.Submit(RewindTo(n));
  const json at = Until(game, Told(rewound));
  const std::string told = at["replayed"];
  ASSERT_TRUE(told.starts_with(rewound)) << at["log"].dump();
  EXPECT_TRUE(told.ends_with(" s (every digest matched); paused")) << told;
  std::cout << told << "\n";
  EXPECT_EQ(at["frame"], n);
  EXPECT_EQ(SavePanel(at).find("Create Character=True"), std::string::npos) << SavePanel(at);
  EXPECT_NE(at["map"]["player"]["x"].get<double>(), 1400.5);

  // From there the viewer goes elsewhere; the recording keeps that, not the old teleport.
  game.Submit(Teleport(1500.25, -1250.5));
  game.Submit(Of(K::Resume));
  Until(game, PastFrame(n + 60));
  game.Submit(Of(K::Pause));
  f = Until(game, [](const json& f) { return f["paused"] == true; });
  game.Stop();
  const std::string branch = ReadFile(file);
  EXPECT_EQ(branch.find(R"("x":1400.5)"), std::string::npos) << "the old future is gone";
  EXPECT_NE(branch.find(R"("kind":"teleport","x":1500.25,"y":-1250.5)"), std::string::npos);
  EXPECT_FALSE(fs::exists(file.string() + ".rewound"));
  ASSERT_EQ(Replay(file), 0) << printed.str() << errors.str();
  EXPECT_EQ(SavePanel(f), SaveLines(ReadFile(dir.path() / "replayed" / "Brimvale.ini")));

  // The world and the save file at the rewound frame were those of the session replayed to it.
  ASSERT_EQ(Replay(dir.path() / "before.jsonl", n), 0) << printed.str() << errors.str();
  EXPECT_EQ(SavePanel(at), SaveLines(ReadFile(dir.path() / "replayed" / "Brimvale.ini")));
  auto recording = std::make_shared<sim::Recording>();
  sim::RecordingError error;
  ASSERT_TRUE(sim::ReadRecordingFile(dir.path() / "before.jsonl", *recording, error)) << error.why;
  sim::LiveOptions again;
  again.follow = recording;
  again.followTo = n;
  sim::LiveGame replayed(again);
  replayed.Start();
  const json g = Until(replayed, [](const json& f) { return f["paused"] == true; });
  replayed.Stop();
  ASSERT_EQ(g["frame"], n);
  for (const char* part : {"map", "screen", "stats", "save"})
    EXPECT_EQ(at[part], g[part]) << part;
}

// A build that saves the made character under another key, dropped in while the game stands
// paused after the creator: the session is played again with it and says where it went apart.
TEST_F(LiveRecordings, ReloadAndReplayPlaysTheSessionAgainWithTheNewBuildAndSaysWhereItDiffers) {
  using K = sim::LiveCommand::Kind;
  const fs::path build = dir.path() / "libbrimvale.so";
  fs::copy_file(BRIMVALE_MODULE_PATH, build);
  sim::LiveOptions options;
  options.plugin = build.string();
  options.record = dir.path() / "reloaded.jsonl";
  sim::LiveGame game(options);
  game.Start();
  AtEightTimes(game, false);
  game.Submit(Teleport(2549.794, -1169.821));
  json f = Until(game, [](const json& f) {
    return f["guide"] == "Press E to Create Your Brimvale Character.";
  });
  const std::string firstBuild = f["build"]["id"];
  game.Submit(Key("KeyE", true));
  game.Submit(Key("KeyE", false));
  f = Until(game, [](const json& f) {
    return f.dump().find(R"("text":"FEATURES")") != std::string::npos;
  });
  for (const char* key : {"ArrowDown", "ArrowDown", "ArrowDown", "Enter"}) {
    game.Submit(Key(key, true));
    game.Submit(Key(key, false));
    f = Until(game, PastFrame(f["frame"].get<int64_t>() + 8));
  }
  f = Until(game, [](const json& f) {
    return SavePanel(f).find("[Character] Create Character=True\n") != std::string::npos;
  });
  ASSERT_NE(SavePanel(f).find("[Character] Create Character=True\n"), std::string::npos);
  Until(game, PastFrame(f["frame"].get<int64_t>() + 40));
  game.Submit(Of(K::Pause));
  const int64_t stood = Until(game, [](const json& f) { return f["paused"] == true; })["frame"];

  std::string bytes = ReadFile(BRIMVALE_MODULE_PATH);
  for (size_t at = bytes.find("Create Character"); at != std::string::npos;
       at = bytes.find("Create Character", at))
    bytes.replace(at, 16, "Create Charactex");
  testing::WriteFile(dir.path() / "next.so", bytes);
  fs::rename(dir.path() / "next.so", build);
  game.Submit(Of(K::ReloadAndReplay));
  f = Until(game, Told("replayed the session with build "));
  game.Stop();
  EXPECT_NE(f["build"]["id"], firstBuild);
  EXPECT_EQ(
      f["replayed"].get<std::string>().substr(0, f["replayed"].get<std::string>().find(" in ")),
      "replayed the session with build " + f["build"]["id"].get<std::string>() + " to frame " +
          std::to_string(stood));
  EXPECT_NE(
      f["replayed"].get<std::string>().find(
          R"(: the save file's [Character] Create Character: recorded "True", replayed nothing); paused)"),
      std::string::npos)
      << f["replayed"];
  EXPECT_NE(SavePanel(f).find("[Character] Create Charactex=True\n"), std::string::npos);
}

// The page's download and rewind as the server takes them: the recording as it stands, and bad
// rewinds turned away while the game plays on.
TEST_F(LiveRecordings, TheRecordingIsServedAsItStandsAndBadRewindsAreRefused) {
  sim::LiveOptions options;
  options.record = dir.path() / "served \"one\"\r\n.jsonl";
  options.build = "test";
  sim::LiveGame game(options);
  sim::LiveServer server(game);
  const int port = server.Bind("127.0.0.1", 0);
  ASSERT_GT(port, 0);
  game.Start();
  server.Start();
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(10, 0);
  Until(game, PastFrame(40));

  auto got = client.Get("/recording");
  ASSERT_TRUE(got);
  EXPECT_EQ(got->status, 200);
  EXPECT_EQ(got->get_header_value("Content-Type"), "application/x-ndjson");
  EXPECT_EQ(got->get_header_value("Content-Disposition"),
            R"(attachment; filename="served__one___.jsonl")");
  sim::Recording recording;
  sim::RecordingError error;
  ASSERT_TRUE(sim::ParseRecording(got->body, recording, error)) << error.line << " " << error.why;
  EXPECT_EQ(recording.start.build, "test");
  EXPECT_EQ(client.Get("/recording", {{"Host", "evil.example"}})->status, 403);

  for (const char* frame : {"", R"(,"frame":-1)", R"(,"frame":"10")", R"(,"frame":2.5)",
                            R"(,"frame":1e300)", R"(,"frame":18446744073709551615)"})
    EXPECT_EQ(
        client.Post("/input", std::string(R"({"type":"rewind")") + frame + "}", "application/json")
            ->status,
        400)
        << frame;
  auto past = client.Post("/input", R"({"type":"rewind","frame":100000000})", "application/json");
  ASSERT_TRUE(past);
  EXPECT_EQ(past->status, 400);
  EXPECT_EQ(past->body, "rewind: frame 100000000 is past now\n");
  // Past now by the time the game takes it (a restart began a new game since that frame).
  game.Submit(RewindTo(90000000));
  json f = Until(game, [](const json& f) {
    return f["log"].dump().find("rewind refused: frame 90000000 is past now (frame ") !=
           std::string::npos;
  });
  const int64_t refused = f["frame"].get<int64_t>();
  f = Until(game, PastFrame(refused + 15));
  EXPECT_GT(f["frame"].get<int64_t>(), refused + 15);
  EXPECT_EQ(f["paused"], false);
  EXPECT_EQ(f["replayed"], "");
  server.Stop();
  game.Stop();
}

// A live session recorded with one build and replayed with another that awards one point of
// experience more: it is told, plays on through the live game and names the saved experience.
TEST_F(LiveRecordings, AnotherBuildsSessionReplaysWithAWarningAndNamesTheSavedExperience) {
  const fs::path save = dir.path() / "start.ini";
  testing::WriteFile(save,
                     "[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n"
                     "[Rank]\nRank=3\nXP=0\nXPToRank=900\nSkill Points=0\n");
  const fs::path file = dir.path() / "robbery.jsonl";
  {
    sim::LiveOptions options;
    options.save = save;
    options.record = file;
    options.build = "recorded-build";
    sim::LiveGame game(options);
    game.Start();
    AtEightTimes(game, true);
    Until(game, [](const json& f) { return f["finished"] == "the start point"; });
    AtEightTimes(game, true);
    const json f = Until(game, [](const json& f) { return f["finished"] == "the train robbery"; });
    game.Stop();
    ASSERT_EQ(f["finished"], "the train robbery") << f["log"].dump();
  }
  const std::string text = ReadFile(file);
  const size_t xp = text.find(R"("key":"XP","kind":"save","section":"Rank","value":")");
  ASSERT_NE(xp, std::string::npos) << "the robbery saved no experience";
  const size_t value = text.find("\"value\":\"", xp) + 9;
  const int awarded = std::stoi(text.substr(value, text.find('"', value) - value));
  ASSERT_GT(awarded, 0);

  EXPECT_EQ(Replay(file, -1, BRIMVALE_EXTRA_XP_MODULE_PATH, "replaying-build"), 1)
      << printed.str() << errors.str();
  EXPECT_NE(printed.str().find("warning: recorded with build recorded-build, replayed with build "
                               "replaying-build: the world may differ"),
            std::string::npos)
      << printed.str();
  EXPECT_NE(printed.str().find("the save file's [Rank] XP: recorded \"" + std::to_string(awarded) +
                               "\", replayed \"" + std::to_string(awarded + 1) + "\""),
            std::string::npos)
      << printed.str();
  EXPECT_EQ(Replay(file, -1, BRIMVALE_MODULE_PATH), 0) << printed.str() << errors.str();
}

// What only a live session's recording holds (the page's input, games that restart at frame 0)
// refused by its line, as a playthrough's recording is, with nothing written.
TEST_F(LiveRecordings, EachBadLiveFileIsRefusedWithItsLineAndNothingIsWritten) {
  const std::string start =
      R"({"kind":"start","version":1,"source":"live","seed":1,"frame_ms":33.3,"scenario":"",)"
      R"("scenario_game":false,"build":"b","save":null})"
      "\n";
  std::string played = start;
  played.replace(played.find("\"live\""), 6, "\"play\"");
  const std::string end =
      R"({"kind":"end","frame":50,"player":[0,0,0,0],"peds":[0,"0000000000000000"],)"
      R"("vehicles":[0,"0000000000000000"],"objects":[0,"0000000000000000"],)"
      R"("world":"0000000000000000","save":"0000000000000000"})"
      "\n";
  const struct {
    std::string text, message;
  } cases[] = {
      {start + "{\"kind\":\"key\",\"frame\":3,\"down\":true}\n", "in.jsonl:2: has no \"key\""},
      {start + "{\"kind\":\"key\",\"frame\":3,\"key\":\"" + std::string(300, 'K') +
           "\",\"down\":true}\n",
       "in.jsonl:2: \"key\" is too long"},
      {start + "{\"kind\":\"teleport\",\"frame\":3,\"x\":\"east\",\"y\":1}\n",
       "in.jsonl:2: \"x\" is not a number"},
      {start + "{\"kind\":\"walk\",\"frame\":3,\"x\":1,\"y\":1e300}\n",
       "in.jsonl:2: \"y\" is out of range"},
      {start + "{\"kind\":\"play_for_me\",\"frame\":3,\"on\":1}\n",
       "in.jsonl:2: \"on\" is not true or false"},
      {start + "{\"kind\":\"restart\",\"frame\":3,\"scenario\":7}\n",
       "in.jsonl:2: \"scenario\" is not a text"},
      // After a restart only the game's end lets the frames begin again at 0.
      {start + "{\"kind\":\"restart\",\"frame\":40,\"scenario\":\"\"}\n" +
           "{\"kind\":\"reload\",\"frame\":3}\n",
       "in.jsonl:3: frame 3 comes after frame 40"},
      {start + end + "{\"kind\":\"reload\",\"frame\":60}\n",
       "in.jsonl:3: a line after the recording's end"},
      {start + "{\"kind\":\"press\",\"frame\":3,\"control\":\"INPUT_LOOT\",\"pad\":0}\n",
       "in.jsonl:2: a live session's recording holds no scripted player's input"},
      {played + "{\"kind\":\"key\",\"frame\":3,\"key\":\"KeyE\",\"down\":true}\n",
       "in.jsonl:2: a scripted playthrough's recording holds no page input"},
  };
  for (const auto& c : cases) {
    testing::WriteFile(dir.path() / "in.jsonl", c.text);
    EXPECT_EQ(Replay(dir.path() / "in.jsonl"), 2) << c.message << "\n" << printed.str();
    EXPECT_NE(errors.str().find(c.message), std::string::npos) << errors.str();
    EXPECT_FALSE(fs::exists(dir.path() / "replayed")) << c.message;
  }
}

}  // namespace
}  // namespace brimvale
