// The live server as a browser meets it: started on a free port, it serves the page, streams
// frames, takes keys, refuses bad requests and keeps the game going whatever viewers do.
#include <gtest/gtest.h>
#include <httplib.h>

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

}  // namespace
}  // namespace brimvale
