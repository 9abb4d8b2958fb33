// The playthrough command's output: milestone lines, the save file, the trace and the index, and
// how it treats a player's save file.
#include <sstream>

#include "core/native/natives.h"
#include "hook/trace_json.h"
#include "player/playthrough.h"
#include "player/save_text.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::ReadFile;

class Playthrough : public ::testing::Test {
 protected:
  Playthrough() {
    options.out = dir.path() / "out";
    options.shots = false;
  }
  int Run(const sim::ShotWriter& shots = {}) {
    return sim::RunPlaythrough(options, shots, printed, errors);
  }

  testing::GameDirectory dir;
  sim::PlayOptions options;
  std::ostringstream printed, errors;
};

TEST_F(Playthrough, TheCreatorScenarioSavesTheCharacterAndPrintsWhatHappened) {
  options.scenario = "creator";
  options.shots = true;
  int pictures = 0;
  const sim::ShotWriter countShots = [&](const sim::ScreenFrame& screen, const std::string& path,
                                         std::string&) {
    ++pictures;
    EXPECT_NE(screen.caption.find("creator"), std::string::npos);
    std::ofstream(path) << "png";
    return true;
  };
  ASSERT_EQ(Run(countShots), 0) << printed.str() << errors.str();

  const std::string save = ReadFile(options.out / "Brimvale.ini");
  EXPECT_EQ(sim::ReadSaveValue(save, "Character", "Create Character"), "True");
  EXPECT_EQ(sim::ReadSaveValue(save, "Character", "Gender"), "1");
  const std::string lines = printed.str();
  // Lines from the host itself: the help text and the save file's changes.
  EXPECT_NE(lines.find("] help: Press [LOOT] to Create Your Brimvale Character.\n"),
            std::string::npos);
  EXPECT_NE(lines.find("] save: [Character] Gender=1\n"), std::string::npos);
  EXPECT_NE(lines.find("] on the creator's EXTRAS page\n"), std::string::npos);
  EXPECT_NE(lines.find("unknown natives    0\n"), std::string::npos);
  // Every creator page has its picture: 10 face, 2 body, 2 hair, and the female's body and hair.
  EXPECT_GE(pictures, 16);
  // A new help text is pictured the moment it first shows, before the player's own pictures.
  EXPECT_TRUE(
      std::filesystem::exists(options.out / "001-help-press-loot-to-create-your-brimvale.png"));
  EXPECT_TRUE(std::filesystem::exists(options.out / "004-creator-face-eyes.png"));
  const std::string index = ReadFile(options.out / "index.html");
  EXPECT_NE(index.find("<img src=\"004-creator-face-eyes.png\""), std::string::npos);
  EXPECT_NE(index.find("save: [Character] Face Feature 1=0.100000"), std::string::npos);

  std::ifstream trace(options.out / "trace.jsonl");
  std::string first;
  ASSERT_TRUE(std::getline(trace, first));
  EXPECT_EQ(first.front(), '{');
  EXPECT_NE(first.find("\"frame\":"), std::string::npos);
}

TEST_F(Playthrough, APlayersSaveIsCopiedAndNeverChanged) {
  const std::string theirs = "[Character]\nCreate Character=True\nGender=0\n";
  testing::WriteFile(dir.path() / "theirs.ini", theirs);
  options.scenario = "prologue";
  options.save = dir.path() / "theirs.ini";
  options.trace = false;
  EXPECT_EQ(Run(), 0) << printed.str() << errors.str();
  EXPECT_EQ(ReadFile(dir.path() / "theirs.ini"), theirs);
  EXPECT_NE(printed.str().find("the campaign has started"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(options.out / "trace.jsonl"));

  options.save = dir.path() / "missing.ini";
  EXPECT_EQ(Run(), 2);
  EXPECT_NE(errors.str().find("cannot read the save file"), std::string::npos);
}

// A traced call as trace.jsonl shows it: arguments read by the catalogue's forms.
TEST(TraceJson, ArgumentsAndResultsReadByTheirForms) {
  sim::SimHost host;
  host.LoadPlugin();
  ASSERT_TRUE(host.RunScript([] {
    ControlJustPressed(2, HashName("INPUT_LOOT"));
    DrawSprite("generic_textures", "inkroller_1a", 0.7f, 0.5f, 0.4f, 0.9f, 0.0f, 0, 0, 0, 255,
               false);
    GetEntityCoords(PlayerPed(), true, true);
  }));
  sim::HashNames names;
  std::string lines;
  for (const sim::TraceEntry& entry : host.Trace()) {
    names.Learn(entry);
    sim::AppendTraceJson(entry, names, lines);
  }
  host.UnloadPlugin();
  EXPECT_NE(lines.find("\"native\":\"HashName\",\"hash\":\"0xFD340785ADF8CFB7\",\"args\":["
                       "\"INPUT_LOOT\"],\"result\":\"INPUT_LOOT (0x"),
            std::string::npos)
      << lines;
  EXPECT_NE(lines.find("\"native\":\"ControlJustPressed\",\"hash\":\"0x580417101DDB492F\","
                       "\"args\":[2,\"INPUT_LOOT (0x"),
            std::string::npos);
  EXPECT_NE(lines.find("\"args\":[\"generic_textures\",\"inkroller_1a\",0.7,0.5,0.4,0.9,0,0,0,"
                       "0,255,false]}\n"),
            std::string::npos);
  EXPECT_NE(lines.find("\"native\":\"GetEntityCoords\",\"hash\":\"0xA86D5F069399F44D\","
                       "\"args\":[100,true,true],\"result\":[0,0,0]}\n"),
            std::string::npos);
}

}  // namespace
}  // namespace brimvale
