// The live server as a browser meets it: started on a free port, it serves the page, streams
// frames, takes keys, refuses bad requests and keeps the game going whatever viewers do.
#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <latch>
#include <mutex>
#include <nlohmann/json.hpp>
#include <ostream>
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

  // What a viewer got of the event stream: the answer's status, a refusal's reason, the frames.
  struct Stream {
    int status = -1;
    std::string refusal;
    std::vector<json> frames;
  };

  // Reads frames from the event stream until `enough` says so or `max` frames came.
  Stream Watch(const std::function<bool(const json&)>& enough, int max = 600) {
    Stream stream;
    std::string pending;
    httplib::Client client = Client();
    client.Get(
        "/events",
        [&](const httplib::Response& res) {
          stream.status = res.status;
          return true;
        },
        [&](const char* data, size_t length) {
          if (stream.status != 200) {
            stream.refusal.append(data, length);
            return true;
          }
          return ReadFrames(pending, data, length, [&](json frame) {
            stream.frames.push_back(std::move(frame));
            return !enough(stream.frames.back()) && static_cast<int>(stream.frames.size()) < max;
          });
        });
    return stream;
  }

  // Gives each whole frame of the stream's bytes to `frame`, while it asks for more.
  static bool ReadFrames(std::string& pending, const char* data, size_t length,
                         const std::function<bool(json)>& frame) {
    pending.append(data, length);
    for (size_t end; (end = pending.find("\n\n")) != std::string::npos;) {
      const std::string event = pending.substr(0, end);
      pending.erase(0, end + 2);
      if (event.starts_with("data: ") && !frame(json::parse(event.substr(6)))) return false;
    }
    return true;
  }

  // The first frame for which `enough` holds; fails with the refusal's reason or the frames seen.
  void Until(const std::function<bool(const json&)>& enough, json& found, int max = 600) {
    const Stream stream = Watch(enough, max);
    ASSERT_EQ(stream.status, 200) << stream.refusal;
    ASSERT_FALSE(stream.frames.empty());
    found = stream.frames.back();
    ASSERT_TRUE(enough(found)) << "none of " << stream.frames.size()
                               << " frames held; the last is frame " << found["frame"];
  }

  // The frame a viewer that connects now gets first, and when it got it.
  struct Tick {
    int64_t frame = -1;
    std::chrono::steady_clock::time_point at;
  };
  void Now(Tick& tick) {
    json frame;
    ASSERT_NO_FATAL_FAILURE(Until([](const json&) { return true; }, frame, 1));
    tick = {frame["frame"].get<int64_t>(), std::chrono::steady_clock::now()};
  }

  // Frames the game ran while about `wall` of wall time passed, with the time that did pass.
  struct Pace {
    int64_t frames = 0;
    double seconds = 0;
    double PerSecond() const { return seconds > 0 ? frames / seconds : 0; }
    // The game at `speed` is never ahead of 30 frames a second of wall time, but for the quarter
    // second it may catch up after a slow frame, however quiet the machine.
    bool NotAhead(double speed) const { return frames <= (seconds + 0.25) * 30 * speed + 2; }
    // At least half the pace of `before`, measured the same way a moment earlier: a busy machine
    // slows both alike, so only what happened in between can hold this one back.
    bool KeepsUpWith(const Pace& before) const {
      return frames > 0 && PerSecond() >= before.PerSecond() / 2 && NotAhead(1);
    }
    // The pace `speed` sets, or as near as the machine can run, `capacity` showing how fast that
    // is right now.
    bool Runs(double speed, const Pace& capacity) const {
      const double expected = std::min(30 * speed, capacity.PerSecond());
      return frames > 0 && PerSecond() >= expected / 2 && NotAhead(speed);
    }
  };
  void Measure(std::chrono::milliseconds wall, Pace& pace) {
    Tick from, to;
    ASSERT_NO_FATAL_FAILURE(Now(from));
    std::this_thread::sleep_for(wall);
    ASSERT_NO_FATAL_FAILURE(Now(to));
    pace = {to.frame - from.frame, std::chrono::duration<double>(to.at - from.at).count()};
    ASSERT_GT(pace.frames, 0) << "the game ran no frame in " << pace.seconds << " s";
  }
  // The pace after something that must not have held the game back, in up to three windows of
  // `wall`: a busy moment of the machine slows one window, what held the game back every one.
  void MeasureAfter(std::chrono::milliseconds wall, const Pace& before, Pace& pace) {
    for (int window = 0; window < 3 && (window == 0 || !pace.KeepsUpWith(before)); ++window)
      ASSERT_NO_FATAL_FAILURE(Measure(wall, pace));
  }
  friend std::ostream& operator<<(std::ostream& out, const Pace& pace) {
    return out << pace.frames << " frames in " << pace.seconds << " s of wall time";
  }

  int Post(const std::string& body, const httplib::Headers& headers = {},
           const std::string& type = "application/json") {
    httplib::Client client = Client();
    auto res = client.Post("/input", headers, body, type);
    return res ? res->status : -1;
  }

  static bool Logged(const json& frame, const std::string& line) {
    for (const json& l : frame["log"]["lines"])
      if (l == line) return true;
    return false;
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
  // A session that is not recorded has nothing to download.
  EXPECT_EQ(client.Get("/recording")->status, 404);
  for (const char* path : {"/nothing", "/../CMakeLists.txt", "/%2e%2e/etc/passwd", "/page/page.js"})
    EXPECT_EQ(client.Get(path)->status, 404) << path;

  EXPECT_EQ(Post("{not json"), 400);
  EXPECT_EQ(Post("[1,2]"), 400);
  EXPECT_EQ(Post(R"({"type":"speed","speed":100})"), 400);
  EXPECT_EQ(Post(R"({"type":"launch"})"), 400);
  EXPECT_EQ(Post(std::string(20000, ' ')), 413);
  // An unknown key is taken but drives nothing; the log says so.
  EXPECT_EQ(Post(R"({"type":"key","key":"KeyZ","down":true})"), 200);

  json logged;
  ASSERT_NO_FATAL_FAILURE(
      Until([](const json& f) { return Logged(f, "ignored the key 'KeyZ': it drives no control"); },
            logged));
  EXPECT_EQ(logged["log"]["lines"].back(), "ignored the key 'KeyZ': it drives no control");
  const Stream later = Watch([](const json&) { return false; }, 3);
  ASSERT_EQ(later.status, 200) << later.refusal;
  ASSERT_EQ(later.frames.size(), 3u);
  EXPECT_GT(later.frames[2]["frame"].get<int64_t>(), later.frames[0]["frame"].get<int64_t>());
  EXPECT_EQ(client.Get("/")->status, 200);
}

// Another site's page in the developer's browser: its POSTs carry its own Origin, and a name of
// its own pointed at this address (DNS rebinding) carries its Host. Neither reaches the game.
TEST_F(LiveServerTest, OnlyThePageItselfDrivesTheGame) {
  const std::string self = "127.0.0.1:" + std::to_string(port_);
  // The pace of a game under way: its first frames load the plugin, slowly on a busy machine.
  json running;
  ASSERT_NO_FATAL_FAILURE(Until([](const json& f) { return f["frame"] > 10; }, running));
  Pace before;
  ASSERT_NO_FATAL_FAILURE(Measure(std::chrono::milliseconds(500), before));
  EXPECT_EQ(Post(R"({"type":"pause"})", {{"Origin", "http://evil.example"}}, "text/plain"), 403);
  EXPECT_EQ(Post(R"({"type":"pause"})", {{"Origin", "http://evil.example"}}), 403);
  EXPECT_EQ(Post(R"({"type":"pause"})", {{"Origin", "null"}}), 403);
  EXPECT_EQ(Post(R"({"type":"pause"})", {{"Origin", "http://" + self + ".evil.example"}}), 403);
  // The page's own origin still sends only JSON: a form's or a plain text's body is refused.
  EXPECT_EQ(Post(R"({"type":"pause"})", {{"Origin", "http://" + self}}, "text/plain"), 415);
  EXPECT_EQ(Post(R"({"type":"pause"})", {}, "application/x-www-form-urlencoded"), 415);
  EXPECT_EQ(Post(R"({"type":"key","key":"KeyZ","down":true})", {{"Origin", "http://" + self}},
                 "application/json; charset=utf-8"),
            200);

  httplib::Client client = Client();
  for (const std::string& host :
       std::vector<std::string>{"evil.example", "evil.example:" + std::to_string(port_),
                                "127.0.0.1.evil.example", "localhost.evil.example", ""}) {
    auto page = client.Get("/", {{"Host", host}});
    ASSERT_TRUE(page) << host;
    EXPECT_EQ(page->status, 403) << host;
    EXPECT_EQ(page->body, "this server answers only its own address\n") << host;
    auto events = client.Get("/events", {{"Host", host}});
    ASSERT_TRUE(events) << host;
    EXPECT_EQ(events->status, 403) << host;
    EXPECT_EQ(
        client.Post("/input", {{"Host", host}}, R"({"type":"pause"})", "application/json")->status,
        403)
        << host;
  }
  for (const std::string& host :
       std::vector<std::string>{self, "localhost:" + std::to_string(port_), "LocalHost",
                                "[::1]:" + std::to_string(port_)}) {
    auto page = client.Get("/", {{"Host", host}});
    ASSERT_TRUE(page) << host;
    EXPECT_EQ(page->status, 200) << host;
    EXPECT_FALSE(page->has_header("Access-Control-Allow-Origin")) << host;
  }
  // Listening on every address, a viewer on the network names the machine by its address.
  EXPECT_TRUE(sim::ServesHostName("192.168.1.20:8080", "0.0.0.0"));
  EXPECT_TRUE(sim::ServesHostName("[fe80::1]:8080", "::"));
  EXPECT_FALSE(sim::ServesHostName("evil.example:8080", "0.0.0.0"));
  EXPECT_FALSE(sim::ServesHostName("192.168.1.20:8080", "127.0.0.1"));
  EXPECT_TRUE(sim::ServesHostName("192.168.1.20:8080", "192.168.1.20"));
  EXPECT_TRUE(sim::ServesHostName("[fe80::1]", "fe80::1"));
  EXPECT_FALSE(sim::ServesHostName("localhost:80x", "127.0.0.1"));

  // The refused pauses held nothing: the game goes on, and the page's own key got through.
  json after;
  ASSERT_NO_FATAL_FAILURE(
      Until([](const json& f) { return Logged(f, "ignored the key 'KeyZ': it drives no control"); },
            after));
  EXPECT_EQ(after["paused"], false);
  Pace pace;
  ASSERT_NO_FATAL_FAILURE(MeasureAfter(std::chrono::milliseconds(500), before, pace));
  EXPECT_TRUE(pace.KeepsUpWith(before)) << "after the refusals " << pace << "; before " << before;
}

TEST_F(LiveServerTest, LootAtTheCreatorsEntryOpensTheCreator) {
  // The creator's blip is up a moment after the plugin loads; the player jumps to it.
  json frame;
  ASSERT_NO_FATAL_FAILURE(Until([](const json& f) { return !f["map"]["blips"].empty(); }, frame));
  // The player panel shows only what the game holds: no maximum health before the character.
  EXPECT_EQ(frame["stats"]["health"], "alive");
  EXPECT_EQ(frame["stats"]["character"], "not made yet");
  // The guidance line points a new player at the creator's blip, far outside the map's view.
  EXPECT_EQ(frame["guide"],
            "The creator's blip is 2.8 km south-east: click it on the map, or Shift-click to go "
            "there at once.");
  ASSERT_EQ(Post(R"({"type":"teleport","x":2549.794,"y":-1169.821})"), 200);
  ASSERT_NO_FATAL_FAILURE(Until(
      [](const json& f) {
        for (const json& line : f["milestones"]["lines"])
          if (line.get<std::string>().find("to Create Your Brimvale Character") !=
              std::string::npos)
            return true;
        return false;
      },
      frame));
  EXPECT_EQ(frame["guide"], "Press E to Create Your Brimvale Character.");
  ASSERT_EQ(Post(R"({"type":"key","key":"KeyE","down":true})"), 200);
  ASSERT_EQ(Post(R"({"type":"key","key":"KeyE","down":false})"), 200);
  ASSERT_NO_FATAL_FAILURE(Until([](const json& f) { return DrawsText(f, "CREATOR"); }, frame));
  EXPECT_TRUE(DrawsText(frame, "CHARACTER"));
}

TEST_F(LiveServerTest, ViewersSeeTheSameFramesAndADroppedOneDoesNotStopTheGame) {
  Stream first, second;
  std::thread other([&] { second = Watch([](const json&) { return false; }, 20); });
  first = Watch([](const json&) { return false; }, 20);
  other.join();
  ASSERT_EQ(first.status, 200) << first.refusal;
  ASSERT_EQ(second.status, 200) << second.refusal;
  std::set<int64_t> seenByFirst;
  for (const json& f : first.frames)
    seenByFirst.insert(f["frame"].get<int64_t>());
  int shared = 0;
  for (const json& f : second.frames) {
    if (!seenByFirst.count(f["frame"].get<int64_t>())) continue;
    ++shared;
    for (const json& g : first.frames) {
      if (g["frame"] == f["frame"]) {
        EXPECT_EQ(g.dump(), f.dump());
      }
    }
  }
  EXPECT_GT(shared, 2);

  // Viewers that leave mid-stream, many times over: each finds a place, and the game keeps the
  // pace it had just before they came.
  Pace before;
  ASSERT_NO_FATAL_FAILURE(Measure(std::chrono::seconds(2), before));
  for (int i = 0; i < 100; ++i) {
    const Stream quick = Watch([](const json&) { return true; }, 1);
    ASSERT_EQ(quick.status, 200) << "viewer " << i << ": " << quick.refusal;
  }
  Pace pace;
  ASSERT_NO_FATAL_FAILURE(MeasureAfter(std::chrono::seconds(2), before, pace));
  EXPECT_TRUE(pace.KeepsUpWith(before))
      << "after the dropped viewers " << pace << "; before them " << before;
}

// A player who reloads the page, many at once: every viewer who left gives its place back the
// moment it goes, and twelve viewers streaming leave input its way to the game.
TEST_F(LiveServerTest, ABurstOfViewersThatDropLeavesEveryPlaceFreeAndInputGetsThrough) {
  // A hundred at once: twelve get a stream, the rest are turned away; then all drop together.
  std::latch answered(100);
  std::atomic<bool> drop{false};
  std::atomic<int> refused{0};
  std::vector<std::thread> burst;
  for (int v = 0; v < 100; ++v) {
    burst.emplace_back([&] {
      bool counted = false;
      auto answer = [&] {
        if (!counted) answered.count_down();
        counted = true;
      };
      httplib::Client client = Client();
      client.Get(
          "/events",
          [&](const httplib::Response& res) {
            if (res.status == 200) return true;
            ++refused;
            answer();
            return false;
          },
          [&](const char*, size_t) {
            answer();
            while (!drop)
              std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return false;
          });
      answer();
    });
  }
  answered.wait();
  drop = true;
  for (std::thread& t : burst)
    t.join();
  const auto asked = std::chrono::steady_clock::now();
  const Stream next = Watch([](const json&) { return true; }, 1);
  const double waited =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
  ASSERT_EQ(next.status, 200) << next.refusal << "(" << refused << " of the burst refused)";
  ASSERT_EQ(next.frames.size(), 1u);
  EXPECT_LT(waited, 1.0) << "the first frame came after " << waited << " s";

  // Twelve viewers stay; the thirteenth is told why it is turned away.
  std::atomic<bool> leave{false};
  std::atomic<int> streaming{0}, sawPause{0};
  std::vector<std::thread> viewers;
  for (int v = 0; v < 12; ++v) {
    viewers.emplace_back([&] {
      bool counted = false, paused = false;
      std::string pending;
      httplib::Client client = Client();
      client.Get("/events", [&](const char* data, size_t length) {
        return ReadFrames(pending, data, length, [&](const json& frame) {
          if (!counted) ++streaming;
          counted = true;
          if (!paused && frame["paused"] == true) ++sawPause;
          paused = paused || frame["paused"] == true;
          return !leave.load();
        });
      });
    });
  }
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (streaming < 12 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(streaming.load(), 12);
  const Stream thirteenth = Watch([](const json&) { return true; }, 1);
  EXPECT_EQ(thirteenth.status, 503);
  EXPECT_EQ(thirteenth.refusal, "too many viewers\n");

  EXPECT_EQ(Post(R"({"type":"pause"})"), 200);
  while (sawPause < 12 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(sawPause.load(), 12) << "every viewer sees the game paused";
  EXPECT_EQ(Post(R"({"type":"resume"})"), 200);
  leave = true;
  for (std::thread& t : viewers)
    t.join();
}

TEST_F(LiveServerTest, AMapClickRunsToAFarTargetAndWalksItsLastMetres) {
  ASSERT_EQ(Post(R"({"type":"speed","speed":8})"), 200);
  json start;
  ASSERT_NO_FATAL_FAILURE(Until([](const json& f) { return f["speed"] == 8.0; }, start));
  const double x0 = start["map"]["player"]["x"], y = start["map"]["player"]["y"];
  const double target = x0 + 60.0;
  ASSERT_EQ(Post(R"({"type":"walk","x":)" + std::to_string(target) + R"(,"y":)" +
                 std::to_string(y) + "}"),
            200);
  const Stream walk = Watch(
      [&](const json& f) {
        return std::abs(f["map"]["player"]["x"].get<double>() - target) < 0.01;
      },
      3000);
  ASSERT_EQ(walk.status, 200) << walk.refusal;
  ASSERT_FALSE(walk.frames.empty());
  ASSERT_NEAR(walk.frames.back()["map"]["player"]["x"].get<double>(), target, 0.01);
  // Metres a game second between the first and last frame within a stretch of the way.
  auto pace = [&](double fromMetres, double toMetres) {
    const json* a = nullptr;
    const json* b = nullptr;
    for (const json& f : walk.frames) {
      const double left = target - f["map"]["player"]["x"].get<double>();
      if (left <= fromMetres && left >= toMetres) (a ? b : a) = &f;
    }
    if (!a || !b) return -1.0;
    return ((*b)["map"]["player"]["x"].get<double>() - (*a)["map"]["player"]["x"].get<double>()) /
           (((*b)["timeMs"].get<double>() - (*a)["timeMs"].get<double>()) / 1000.0);
  };
  EXPECT_NEAR(pace(50.0, 15.0), 5.5, 0.3) << "a run while the target is far";
  EXPECT_NEAR(pace(8.0, 0.5), 1.6, 0.2) << "a walk over the last metres";
}

TEST_F(LiveServerTest, TheGuidanceLineSaysTheStartPointsKeyThenWhereTheFirstGuardStands) {
  ASSERT_EQ(Post(R"({"type":"restart","scenario":"prologue"})"), 200);
  json frame;
  ASSERT_NO_FATAL_FAILURE(
      Until([](const json& f) { return f["start"] == "the start of scenario prologue"; }, frame));
  ASSERT_EQ(Post(R"({"type":"speed","speed":8})"), 200);
  ASSERT_EQ(Post(R"({"type":"teleport","x":2902.887,"y":-247.843})"), 200);
  ASSERT_NO_FATAL_FAILURE(Until(
      [](const json& f) { return f["guide"].get<std::string>().starts_with("Press C"); }, frame));
  EXPECT_EQ(frame["guide"], "Press C to Continue Your Brimvale.");
  ASSERT_EQ(Post(R"({"type":"key","key":"KeyC","down":true})"), 200);
  ASSERT_EQ(Post(R"({"type":"key","key":"KeyC","down":false})"), 200);
  // The prologue's opening scene: the line says to wait, not to roam.
  ASSERT_NO_FATAL_FAILURE(
      Until([](const json& f) { return f["guide"].get<std::string>().starts_with("A scene"); },
            frame, 3000));
  EXPECT_EQ(frame["guide"], "A scene is playing: the next step shows here when it ends.");
  ASSERT_NO_FATAL_FAILURE(
      Until([](const json& f) { return f["guide"].get<std::string>().starts_with("Take out"); },
            frame, 3000));
  EXPECT_EQ(frame["guide"],
            "Take out the Guard. Walk to him (77 m south) and press F to knock him down, or X to "
            "kill.");
}

TEST_F(LiveServerTest, PauseHoldsTheGameStepRunsOneFrameAndSpeedSetsThePace) {
  ASSERT_EQ(Post(R"({"type":"pause"})"), 200);
  json paused;
  ASSERT_NO_FATAL_FAILURE(Until([](const json& f) { return f["paused"] == true; }, paused));
  const int64_t held = paused["frame"];
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  Tick tick;
  ASSERT_NO_FATAL_FAILURE(Now(tick));
  EXPECT_EQ(tick.frame, held);
  ASSERT_EQ(Post(R"({"type":"step"})"), 200);
  json stepped;
  ASSERT_NO_FATAL_FAILURE(Until([&](const json& f) { return f["frame"] == held + 1; }, stepped));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ASSERT_NO_FATAL_FAILURE(Now(tick));
  EXPECT_EQ(tick.frame, held + 1) << "one step, one frame";

  // The fastest speed runs as fast as this machine runs frames now: each speed below keeps its
  // pace, or as near to it as that.
  EXPECT_EQ(Post(R"({"type":"speed","speed":8})"), 200);
  EXPECT_EQ(Post(R"({"type":"resume"})"), 200);
  json flatOut;
  ASSERT_NO_FATAL_FAILURE(
      Until([&](const json& f) { return f["paused"] == false && f["speed"] == 8.0; }, flatOut));
  Pace capacity;
  ASSERT_NO_FATAL_FAILURE(Measure(std::chrono::seconds(1), capacity));
  EXPECT_TRUE(capacity.NotAhead(8)) << "at 8x: " << capacity;
  EXPECT_EQ(Post(R"({"type":"pause"})"), 200);

  // A second of wall time at a quarter speed and at four times: about 7 and 120 frames.
  for (const double speed : {0.25, 4.0}) {
    EXPECT_EQ(Post(R"({"type":"speed","speed":)" + std::to_string(speed) + "}"), 200);
    EXPECT_EQ(Post(R"({"type":"resume"})"), 200);
    json running;
    ASSERT_NO_FATAL_FAILURE(
        Until([&](const json& f) { return f["paused"] == false && f["speed"] == speed; }, running));
    Pace pace;
    ASSERT_NO_FATAL_FAILURE(Measure(std::chrono::seconds(1), pace));
    EXPECT_TRUE(pace.Runs(speed, capacity))
        << "at " << speed << "x: " << pace << "; at 8x " << capacity;
  }
}

TEST_F(LiveServerTest, RestartFromAScenarioThenPlayForMeUntilTheViewerTakesTheKeysBack) {
  ASSERT_EQ(Post(R"({"type":"restart","scenario":"progression"})"), 200);
  auto startedFrom = [](const std::string& start) {
    return [start](const json& f) { return f["start"] == start; };
  };
  json rankFourteen;
  ASSERT_NO_FATAL_FAILURE(Until(startedFrom("the start of scenario progression"), rankFourteen));
  EXPECT_EQ(rankFourteen["stats"]["rank"], "14");
  EXPECT_LT(rankFourteen["frame"].get<int64_t>(), 60) << "a new game, not the old one";

  // The prologue's start: a character made, the campaign not started.
  ASSERT_EQ(Post(R"({"type":"restart","scenario":"prologue"})"), 200);
  json prologue;
  ASSERT_NO_FATAL_FAILURE(Until(startedFrom("the start of scenario prologue"), prologue));
  EXPECT_EQ(prologue["stats"]["rank"], "");
  EXPECT_EQ(prologue["stats"]["character"], "made");
  EXPECT_EQ(prologue["next"], "the start point") << "what Play for me will play";
  ASSERT_EQ(Post(R"({"type":"speed","speed":8})"), 200);
  ASSERT_EQ(Post(R"({"type":"playForMe","on":true})"), 200);
  json startPoint;
  ASSERT_NO_FATAL_FAILURE(Until(
      [](const json& f) {
        return Logged(f, "the scripted player finished the start point; next: the prologue");
      },
      startPoint, 3000));
  EXPECT_TRUE(Logged(startPoint, "the scripted player plays the start point"));
  json done;
  ASSERT_NO_FATAL_FAILURE(Until([](const json& f) { return f["playing"] == ""; }, done));
  EXPECT_EQ(done["finished"], "the start point");
  EXPECT_EQ(done["next"], "the prologue");

  // The next part is the prologue; a key of the viewer's stops the scripted player in it.
  ASSERT_EQ(Post(R"({"type":"playForMe","on":true})"), 200);
  json playing;
  ASSERT_NO_FATAL_FAILURE(
      Until([](const json& f) { return f["playing"] == "the prologue"; }, playing));
  ASSERT_EQ(Post(R"({"type":"key","key":"KeyW","down":true})"), 200);
  json back;
  ASSERT_NO_FATAL_FAILURE(
      Until([](const json& f) { return Logged(f, "the scripted player stopped in the prologue"); },
            back));
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
  json started;
  ASSERT_NO_FATAL_FAILURE(Until([](const json& f) { return f["frame"] > 10; }, started));
  EXPECT_EQ(Post(input), 200) << "the game took the queue";
  Pace before;
  ASSERT_NO_FATAL_FAILURE(Measure(std::chrono::seconds(1), before));
  // Two viewers' worth of input as fast as it goes for two seconds: every message is taken or
  // turned away, and the game runs on at its pace.
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
  Pace pace;
  Measure(std::chrono::seconds(2), pace);
  flooding = false;
  for (std::thread& t : flood)
    t.join();
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_GT(answered.load(), 200);
  EXPECT_EQ(other.load(), 0);
  EXPECT_TRUE(pace.KeepsUpWith(before)) << "in the flood " << pace << "; before it " << before;
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
