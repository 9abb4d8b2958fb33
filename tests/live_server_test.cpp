// The live server as a browser meets it: started on a free port, it serves the page, streams
// frames, takes keys, refuses bad requests and keeps the game going whatever viewers do.
#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "live/live_game.h"
#include "live/live_server.h"

namespace brimvale {
namespace {

using nlohmann::json;

class LiveServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    port_ = server_.Bind("127.0.0.1", 0);
    ASSERT_GT(port_, 0);
    game_.Start();
    server_.Start();
  }
  void TearDown() override {
    server_.Stop();
    game_.Stop();
  }

  httplib::Client Client() {
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(10, 0);
    client.set_connection_timeout(5, 0);
    return client;
  }

  // Reads frames from the event stream until `enough` says so or `max` frames came.
  std::vector<json> Frames(const std::function<bool(const json&)>& enough, int max = 600) {
    std::vector<json> frames;
    std::string pending;
    httplib::Client client = Client();
    client.Get("/events", [&](const char* data, size_t length) {
      pending.append(data, length);
      for (size_t end; (end = pending.find("\n\n")) != std::string::npos;) {
        const std::string event = pending.substr(0, end);
        pending.erase(0, end + 2);
        if (!event.starts_with("data: ")) continue;
        frames.push_back(json::parse(event.substr(6)));
        if (enough(frames.back()) || static_cast<int>(frames.size()) >= max) return false;
      }
      return true;
    });
    return frames;
  }

  int Post(const std::string& body) {
    httplib::Client client = Client();
    auto res = client.Post("/input", body, "application/json");
    return res ? res->status : -1;
  }

  static bool Logged(const json& frame, const std::string& line) {
    for (const json& l : frame["log"]["lines"])
      if (l == line) return true;
    return false;
  }

  // The latest frame message, as a viewer that connects now gets it first.
  json Now() {
    return Frames([](const json&) { return true; }, 1).at(0);
  }

  static bool DrawsText(const json& frame, const std::string& text) {
    for (const json& item : frame["screen"]["items"])
      if (item.value("text", "") == text) return true;
    return false;
  }

  sim::LiveGame game_{sim::LiveOptions{}};
  sim::LiveServer server_{game_};
  int port_ = 0;
};

TEST_F(LiveServerTest, ServesOnlyThePageAndRefusesBadInputWhileTheGameGoesOn) {
  httplib::Client client = Client();
  auto page = client.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->body.find("<title>Brimvale live</title>"), std::string::npos);
  EXPECT_EQ(client.Get("/page.js")->status, 200);
  for (const char* path : {"/nothing", "/../CMakeLists.txt", "/%2e%2e/etc/passwd", "/page/page.js"})
    EXPECT_EQ(client.Get(path)->status, 404) << path;

  EXPECT_EQ(Post("{not json"), 400);
  EXPECT_EQ(Post("[1,2]"), 400);
  EXPECT_EQ(Post(R"({"type":"speed","speed":100})"), 400);
  EXPECT_EQ(Post(R"({"type":"launch"})"), 400);
  EXPECT_EQ(Post(std::string(20000, ' ')), 413);
  // An unknown key is taken but drives nothing; the log says so.
  EXPECT_EQ(Post(R"({"type":"key","key":"KeyZ","down":true})"), 200);

  const std::vector<json> frames = Frames([](const json& f) {
    for (const json& line : f["log"]["lines"])
      if (line == "ignored the key 'KeyZ': it drives no control") return true;
    return false;
  });
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.back()["log"]["lines"].back(), "ignored the key 'KeyZ': it drives no control");
  const auto later = Frames([](const json&) { return false; }, 3);
  ASSERT_EQ(later.size(), 3u);
  EXPECT_GT(later[2]["frame"].get<int64_t>(), later[0]["frame"].get<int64_t>());
  EXPECT_EQ(client.Get("/")->status, 200);
}

TEST_F(LiveServerTest, LootAtTheCreatorsEntryOpensTheCreator) {
  // The creator's blip is up a moment after the plugin loads; the player jumps to it.
  Frames([](const json& f) { return !f["map"]["blips"].empty(); });
  ASSERT_EQ(Post(R"({"type":"teleport","x":2549.794,"y":-1169.821})"), 200);
  Frames([](const json& f) {
    for (const json& line : f["milestones"]["lines"])
      if (line.get<std::string>().find("to Create Your Brimvale Character") != std::string::npos)
        return true;
    return false;
  });
  ASSERT_EQ(Post(R"({"type":"key","key":"KeyE","down":true})"), 200);
  ASSERT_EQ(Post(R"({"type":"key","key":"KeyE","down":false})"), 200);
  const auto frames = Frames([](const json& f) { return DrawsText(f, "CREATOR"); });
  ASSERT_FALSE(frames.empty());
  EXPECT_TRUE(DrawsText(frames.back(), "CREATOR"));
  EXPECT_TRUE(DrawsText(frames.back(), "CHARACTER"));
}

TEST_F(LiveServerTest, ViewersSeeTheSameFramesAndADroppedOneDoesNotStopTheGame) {
  std::vector<json> first, second;
  std::thread other([&] { second = Frames([](const json&) { return false; }, 20); });
  first = Frames([](const json&) { return false; }, 20);
  other.join();
  std::set<int64_t> seenByFirst;
  for (const json& f : first)
    seenByFirst.insert(f["frame"].get<int64_t>());
  int shared = 0;
  for (const json& f : second) {
    if (!seenByFirst.count(f["frame"].get<int64_t>())) continue;
    ++shared;
    for (const json& g : first) {
      if (g["frame"] == f["frame"]) {
        EXPECT_EQ(g.dump(), f.dump());
      }
    }
  }
  EXPECT_GT(shared, 2);

  // Viewers that leave mid-stream, many times over: the game keeps its pace.
  for (int i = 0; i < 100; ++i)
    Frames([](const json&) { return true; }, 1);
  const auto before = Frames([](const json&) { return true; }, 1);
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const auto after = Frames([](const json&) { return true; }, 1);
  const int64_t advanced = after[0]["frame"].get<int64_t>() - before[0]["frame"].get<int64_t>();
  // Two seconds are 60 frames at the game's pace; a busy machine may run some behind, never ahead.
  EXPECT_GE(advanced, 20);
  EXPECT_LE(advanced, 70);
}

TEST_F(LiveServerTest, PauseHoldsTheGameStepRunsOneFrameAndSpeedSetsThePace) {
  ASSERT_EQ(Post(R"({"type":"pause"})"), 200);
  const auto paused = Frames([](const json& f) { return f["paused"] == true; });
  ASSERT_TRUE(paused.back()["paused"]);
  const int64_t held = paused.back()["frame"];
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(Now()["frame"], held);
  ASSERT_EQ(Post(R"({"type":"step"})"), 200);
  EXPECT_EQ(Frames([&](const json& f) { return f["frame"] == held + 1; }).back()["frame"],
            held + 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(Now()["frame"], held + 1) << "one step, one frame";

  // A second of wall time at a quarter speed and at four times: about 7 and 120 frames.
  auto framesInASecond = [&](const char* speed) {
    EXPECT_EQ(Post(std::string(R"({"type":"speed","speed":)") + speed + "}"), 200);
    EXPECT_EQ(Post(R"({"type":"resume"})"), 200);
    Frames([&](const json& f) { return f["paused"] == false && f["speed"] == std::stod(speed); });
    const int64_t from = Now()["frame"];
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return Now()["frame"].get<int64_t>() - from;
  };
  const int64_t slow = framesInASecond("0.25");
  EXPECT_GE(slow, 3);
  EXPECT_LE(slow, 12);
  const int64_t fast = framesInASecond("4");
  EXPECT_GE(fast, 60);
  EXPECT_LE(fast, 130);
}

TEST_F(LiveServerTest, RestartFromAScenarioThenPlayForMeUntilTheViewerTakesTheKeysBack) {
  ASSERT_EQ(Post(R"({"type":"restart","scenario":"progression"})"), 200);
  auto startedFrom = [](const std::string& start) {
    return [start](const json& f) { return f["start"] == start; };
  };
  const json rankFourteen = Frames(startedFrom("the start of scenario progression")).back();
  EXPECT_EQ(rankFourteen["stats"]["rank"], "14");
  EXPECT_LT(rankFourteen["frame"].get<int64_t>(), 60) << "a new game, not the old one";

  // The prologue's start: a character made, the campaign not started.
  ASSERT_EQ(Post(R"({"type":"restart","scenario":"prologue"})"), 200);
  const json prologue = Frames(startedFrom("the start of scenario prologue")).back();
  EXPECT_EQ(prologue["stats"]["rank"], "");
  ASSERT_EQ(Post(R"({"type":"speed","speed":8})"), 200);
  ASSERT_EQ(Post(R"({"type":"playForMe","on":true})"), 200);
  const auto startPoint = Frames(
      [](const json& f) { return Logged(f, "the scripted player finished the start point"); },
      3000);
  ASSERT_TRUE(Logged(startPoint.back(), "the scripted player plays the start point"));
  ASSERT_TRUE(Logged(startPoint.back(), "the scripted player finished the start point"));

  // The next part is the prologue; a key of the viewer's stops the scripted player in it.
  ASSERT_EQ(Post(R"({"type":"playForMe","on":true})"), 200);
  const auto playing = Frames([](const json& f) { return f["playing"] == "the prologue"; });
  ASSERT_EQ(playing.back()["playing"], "the prologue");
  ASSERT_EQ(Post(R"({"type":"key","key":"KeyW","down":true})"), 200);
  const json back = Frames([](const json& f) {
                      return Logged(f, "the scripted player stopped in the prologue");
                    }).back();
  EXPECT_TRUE(Logged(back, "the viewer has the keys again"));
  EXPECT_EQ(back["playing"], "");
}

// A game that has not started yet takes no input off the queue; the server turns the rest away.
class LiveServerFloodTest : public LiveServerTest {
 protected:
  void SetUp() override {
    port_ = server_.Bind("127.0.0.1", 0);
    ASSERT_GT(port_, 0);
    server_.Start();
  }
};

TEST_F(LiveServerFloodTest, AFullInputQueueIsAnswered429AndTheGameKeepsItsPace) {
  const std::string input = R"({"type":"speed","speed":1})";
  for (int i = 0; i < 256; ++i)
    ASSERT_EQ(Post(input), 200) << "message " << i;
  EXPECT_EQ(Post(input), 429);
  EXPECT_EQ(Post(input), 429);

  game_.Start();
  Frames([](const json& f) { return f["frame"] > 10; });
  EXPECT_EQ(Post(input), 200) << "the game took the queue";
  // Two viewers' worth of input as fast as it goes for two seconds: every message is taken or
  // turned away, and the game runs on at 30 frames a second.
  std::atomic<bool> flooding{true};
  std::atomic<int> answered{0}, other{0};
  std::vector<std::thread> flood;
  for (int t = 0; t < 2; ++t) {
    flood.emplace_back([&] {
      httplib::Client client = Client();
      while (flooding) {
        auto res = client.Post("/input", R"({"type":"key","key":"KeyW","down":false})",
                               "application/json");
        ++((res && (res->status == 200 || res->status == 429)) ? answered : other);
      }
    });
  }
  const int64_t from = Now()["frame"];
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const int64_t advanced = Now()["frame"].get<int64_t>() - from;
  flooding = false;
  for (std::thread& t : flood)
    t.join();
  EXPECT_GT(answered.load(), 200);
  EXPECT_EQ(other.load(), 0);
  EXPECT_GE(advanced, 20);
  EXPECT_LE(advanced, 70);
}

// The plugin's script stopping is a fault the page shows and the terminal prints; the game and
// its frames go on.
TEST(LiveGameFaults, AScriptThatStopsShowsOnThePageAndInTheTerminal) {
  sim::LiveOptions options;
  options.faults.StopScriptAtFrame(40);
  std::mutex printing;
  std::vector<std::string> printed;
  options.log = [&](const std::string& line) {
    std::lock_guard lock(printing);
    printed.push_back(line);
  };
  sim::LiveGame game(options);
  game.Start();
  json shown;
  uint64_t seen = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < until) {
    auto frame = game.WaitAfter(seen, std::chrono::milliseconds(500));
    if (!frame) continue;
    seen = frame->sequence;
    shown = json::parse(frame->json);
    if (shown["frame"].get<int64_t>() > 60) break;
  }
  game.Stop();
  ASSERT_GT(shown["frame"].get<int64_t>(), 60);
  EXPECT_EQ(shown["fault"], "the plugin's script stopped at frame 40");
  std::lock_guard lock(printing);
  EXPECT_NE(
      std::find(printed.begin(), printed.end(), "fault: the plugin's script stopped at frame 40"),
      printed.end());
}

}  // namespace
}  // namespace brimvale
