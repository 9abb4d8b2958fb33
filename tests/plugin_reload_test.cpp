// A new build of the plugin loaded into the running game: the edit-build-see loop of the live
// game, played with the plugin's real shared library.
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hook/plugin_link.h"
#include "hook/plugin_reload.h"
#include "live/live_game.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::ReadFile;
using testing::WriteFile;

constexpr Vector3 kCreatorPoint{2549.794f, -1169.821f, 53.684f};
constexpr const char* kPrompt = "Press ~INPUT_LOOT~ to Create Your Brimvale Character.";
constexpr const char* kEditedPrompt = "Press ~INPUT_LOOT~ to Design Your Brimvale Character.";

class PluginReload : public testing::SimTest {
 protected:
  void SetUp() override {
    build = dir.path() / "libbrimvale.so";
    std::filesystem::copy_file(BRIMVALE_MODULE_PATH, build);
    sim::SetPluginPath(build.string());
    WriteSave("[Character]\nGender=0\n");
    host.LoadPlugin();
    ASSERT_NE(host.PluginModule(), nullptr) << sim::PluginLoadError();
    host.MovePlayer(kCreatorPoint);
    ASSERT_TRUE(host.RunUntil([&] { return LastHelp() == kPrompt; }, 120));
  }
  void TearDown() override {
    testing::SimTest::TearDown();
    sim::SetPluginPath("");
  }

  std::string LastHelp() const {
    const sim::Notice* notice = host.world.ui.LastNotice(sim::NoticeKind::Help);
    return notice ? notice->text : std::string();
  }

  // The same build with one visible text changed, as an edit of one line and a rebuild make it.
  void DropInEditedBuild() {
    std::string bytes = ReadFile(BRIMVALE_MODULE_PATH);
    const std::string from = "to Create Your Brimvale", to = "to Design Your Brimvale";
    size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos);
    for (; at != std::string::npos; at = bytes.find(from, at))
      bytes.replace(at, from.size(), to);
    WriteFile(build, bytes);
  }

  std::filesystem::path build;
};

TEST_F(PluginReload, ANewBuildShowsItsTextWhereThePlayerStandsAndTheOldOneCallsNothingMore) {
  const sim::PluginBuild first = sim::LoadedPluginBuild();
  void* oldModule = host.PluginModule();
  const Vector3 standing = host.PlayerPosition();
  const std::string save = SaveText();

  DropInEditedBuild();
  std::string reason;
  ASSERT_TRUE(sim::ReloadPlugin(host, reason)) << reason;
  const int64_t oldCalls = host.CallsFromModule(oldModule);
  ASSERT_TRUE(host.RunUntil([&] { return LastHelp() == kEditedPrompt; }, 120)) << LastHelp();

  EXPECT_NE(sim::LoadedPluginBuild().id, first.id);
  EXPECT_EQ(host.CallsFromModule(oldModule), oldCalls);
  EXPECT_GT(host.CallsFromModule(host.PluginModule()), 0);
  const Vector3 now = host.PlayerPosition();
  EXPECT_EQ(now.x, standing.x);
  EXPECT_EQ(now.y, standing.y);
  EXPECT_EQ(now.z, standing.z);
  EXPECT_EQ(SaveText(), save);
  // The old build unregistered before the new one registered, as on a game's unload.
  ASSERT_GE(host.HookLog().size(), 5u);
  const std::vector<std::string> tail(host.HookLog().end() - 5, host.HookLog().end());
  EXPECT_EQ(tail, (std::vector<std::string>{"FreeConsole", "scriptUnregister",
                                            "keyboardHandlerUnregister", "scriptRegister",
                                            "keyboardHandlerRegister"}));
}

TEST_F(PluginReload, ABuildThatDoesNotLoadIsRefusedAndTheOldOneKeepsPlaying) {
  const sim::PluginBuild first = sim::LoadedPluginBuild();
  struct Broken {
    const char* what;
    std::string bytes;
  };
  const std::string notALibrary = "this is not a library\n";
  for (const Broken& broken :
       {Broken{"a text file", notALibrary},
        Broken{"a library without the entry", ReadFile("/lib/x86_64-linux-gnu/libm.so.6")}}) {
    SCOPED_TRACE(broken.what);
    WriteFile(build, broken.bytes);
    std::string reason;
    EXPECT_FALSE(sim::ReloadPlugin(host, reason));
    EXPECT_NE(reason.find(build.string()), std::string::npos) << reason;
    EXPECT_EQ(sim::LoadedPluginBuild().id, first.id);
    // Still the old build's prompt, frame after frame.
    const int64_t before = host.Frame();
    host.RunFrames(5);
    EXPECT_EQ(host.Frame(), before + 5);
    EXPECT_EQ(LastHelp(), kPrompt);
    EXPECT_TRUE(host.ScriptRunning());
  }
  std::filesystem::remove(build);
  std::string reason;
  EXPECT_FALSE(sim::ReloadPlugin(host, reason));
  EXPECT_NE(reason.find("cannot read"), std::string::npos) << reason;
}

// The live game takes a new build by itself when the file changes: the page's next frames draw
// the new text where the player stood, and a broken build leaves the old one playing.
TEST(LivePluginReload, TheLiveGameTakesEachNewBuildAndRefusesABrokenOne) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("brimvale_live_reload_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::filesystem::path build = dir / "libbrimvale.so";
  std::filesystem::copy_file(BRIMVALE_MODULE_PATH, build,
                             std::filesystem::copy_options::overwrite_existing);
  sim::LiveOptions options;
  options.plugin = build.string();
  sim::LiveGame game(options);
  game.Start();
  // Frames until `done` holds for one, within `seconds` of wall time; `waited` says how far the
  // game got when none did, so that a slow machine tells apart from a stuck game.
  uint64_t seen = 0;
  std::string waited;
  auto waitFor = [&](const std::function<bool(const nlohmann::json&)>& done, int seconds) {
    const auto from = std::chrono::steady_clock::now();
    int frames = 0;
    int64_t last = -1;
    while (std::chrono::steady_clock::now() < from + std::chrono::seconds(seconds)) {
      auto frame = game.WaitAfter(seen, std::chrono::milliseconds(500));
      if (!frame || frame->sequence == seen) continue;
      seen = frame->sequence;
      ++frames;
      const nlohmann::json f = nlohmann::json::parse(frame->json);
      last = f["frame"];
      if (done(f)) return f;
    }
    waited = std::to_string(frames) + " frames up to frame " + std::to_string(last) + " in " +
             std::to_string(seconds) + " s of wall time";
    return nlohmann::json();
  };
  auto says = [](const nlohmann::json& f, const std::string& text) {
    return f.dump().find(text) != std::string::npos;
  };
  // The screen's words as the page draws them, one item a word.
  auto shows = [](const nlohmann::json& f, const std::string& text) {
    std::string words;
    for (const nlohmann::json& item : f["screen"]["items"]) {
      const std::string word = item.value("text", "");
      if (!word.empty()) words += word + " ";
    }
    return words.find(text) != std::string::npos;
  };
  sim::LiveCommand teleport;
  teleport.kind = sim::LiveCommand::Kind::TeleportTo;
  teleport.x = kCreatorPoint.x;
  teleport.y = kCreatorPoint.y;
  ASSERT_TRUE(game.Submit(teleport));
  const nlohmann::json before = waitFor(
      [&](const nlohmann::json& f) { return shows(f, "to Create Your Brimvale Character."); }, 60);
  ASSERT_FALSE(before.is_null()) << waited;
  const std::string firstBuild = before["build"]["id"];

  std::string bytes = ReadFile(BRIMVALE_MODULE_PATH);
  for (size_t at = bytes.find("to Create Your Brimvale"); at != std::string::npos;
       at = bytes.find("to Create Your Brimvale", at))
    bytes.replace(at, 23, "to Design Your Brimvale");
  // Written beside and moved into place, as a linker leaves a finished build.
  WriteFile(dir / "next.so", bytes);
  std::filesystem::rename(dir / "next.so", build);
  const nlohmann::json after = waitFor(
      [&](const nlohmann::json& f) { return shows(f, "to Design Your Brimvale Character."); }, 60);
  ASSERT_FALSE(after.is_null()) << waited;
  EXPECT_NE(after["build"]["id"], firstBuild);
  EXPECT_TRUE(says(after["milestones"], "plugin reloaded: build"));
  EXPECT_EQ(after["map"]["player"]["x"], before["map"]["player"]["x"]);
  EXPECT_EQ(after["map"]["player"]["y"], before["map"]["player"]["y"]);
  EXPECT_EQ(after["save"], before["save"]);

  WriteFile(dir / "next.so", "not a library\n");
  std::filesystem::rename(dir / "next.so", build);
  const nlohmann::json refused =
      waitFor([&](const nlohmann::json& f) { return says(f["milestones"], "reload refused"); }, 60);
  ASSERT_FALSE(refused.is_null()) << waited;
  const nlohmann::json later = waitFor(
      [&](const nlohmann::json& f) { return f["frame"] > refused["frame"].get<int64_t>() + 10; },
      30);
  ASSERT_FALSE(later.is_null()) << waited;
  EXPECT_EQ(later["build"]["id"], after["build"]["id"]);
  EXPECT_TRUE(shows(later, "to Design Your Brimvale Character."));
  game.Stop();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace brimvale
