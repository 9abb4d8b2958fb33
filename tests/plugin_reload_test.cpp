// A new build of the plugin loaded into the running game: the edit-build-see loop of the live
// game, played with the plugin's real shared library.
#include <filesystem>
#include <string>
#include <vector>

#include "hook/plugin_link.h"
#include "hook/plugin_reload.h"
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

}  // namespace
}  // namespace brimvale
