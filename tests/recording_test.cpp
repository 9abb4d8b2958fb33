// Recordings: a playthrough kept and played again to the same save file, a changed input found at
// the frame it shows, and every kind of bad file refused with its line, nothing written.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "live/recording.h"
#include "live/replay.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

constexpr const char* kStart =
    R"({"kind":"start","version":1,"source":"play","seed":1,"frame_ms":33.3,"scenario":"",)"
    R"("scenario_game":false,"build":"b","save":null})"
    "\n";

class Recordings : public ::testing::Test {
 protected:
  int Replay(const std::string& text) {
    std::ofstream(dir.path() / "in.jsonl", std::ios::binary) << text;
    return Replay(dir.path() / "in.jsonl");
  }
  int Replay(const fs::path& file, const std::string& plugin = "") {
    sim::ReplayOptions options;
    options.file = file;
    options.plugin = plugin;
    options.out = dir.path() / "replayed";
    printed.str("");
    errors.str("");
    return sim::RunReplay(options, {}, printed, errors);
  }
  // The creator scenario (a gender change, in a game that ignores the model globals once) played
  // and recorded.
  fs::path Record(const std::string& scenario = "creator", const fs::path& save = {}) {
    sim::PlayOptions options;
    options.scenario = scenario;
    options.save = save;
    options.out = dir.path() / "played";
    options.shots = false;
    options.trace = false;
    const fs::path file = dir.path() / (scenario + ".jsonl");
    sim::PlayRecording recording(file, 1, options.frameMs, "test");
    options.listener = &recording;
    std::ostringstream out, err;
    EXPECT_EQ(sim::RunPlaythrough(options, {}, out, err), 0) << out.str() << err.str();
    return file;
  }

  testing::GameDirectory dir;
  std::ostringstream printed, errors;
};

TEST_F(Recordings, ReplayEndsWithThePlayedSaveFileAndEveryDigestMatched) {
  const fs::path file = Record();
  ASSERT_EQ(Replay(file), 0) << printed.str() << errors.str();
  EXPECT_NE(printed.str().find("every digest matched"), std::string::npos) << printed.str();
  const std::string save = ReadFile(dir.path() / "replayed" / "Brimvale.ini");
  EXPECT_NE(save.find("Gender=1"), std::string::npos) << save;
  EXPECT_EQ(save, ReadFile(dir.path() / "played" / "Brimvale.ini"));
}

TEST_F(Recordings, AChangedMoveIsFoundAtTheNextDigestWithThePlayersPosition) {
  const std::string text = ReadFile(Record());
  // The first move of the player lands a metre east of where it was recorded.
  const size_t move = text.find("\"kind\":\"move\",\"x\":");
  ASSERT_NE(move, std::string::npos);
  const size_t x = move + std::string("\"kind\":\"move\",\"x\":").size();
  const size_t comma = text.find(',', x);
  const double east = std::stod(text.substr(x, comma - x)) + 1.0;
  std::string changed = text.substr(0, x) + std::to_string(east) + text.substr(comma);
  // The frame of that move, and the first digest after it.
  const size_t lineStart = text.rfind('\n', move) + 1;
  const std::string moveLine = text.substr(lineStart, text.find('\n', move) - lineStart);
  const int64_t moveFrame = std::stoll(moveLine.substr(moveLine.find("\"frame\":") + 8));
  int64_t digestFrame = -1;
  for (size_t at = text.find("\"kind\":\"digest\"", move); at != std::string::npos;
       at = text.find("\"kind\":\"digest\"", at + 1)) {
    const size_t begin = text.rfind('\n', at) + 1;
    const int64_t frame = std::stoll(text.substr(text.find("\"frame\":", begin) + 8));
    if (frame >= moveFrame) {
      digestFrame = frame;
      break;
    }
  }
  ASSERT_GE(digestFrame, 0);
  EXPECT_EQ(Replay(changed), 1) << printed.str() << errors.str();
  EXPECT_NE(printed.str().find("differs from the recording at frame " +
                               std::to_string(digestFrame) + " "),
            std::string::npos)
      << printed.str();
  EXPECT_NE(printed.str().find("the player's position: recorded"), std::string::npos);
}

// A plugin build that awards one point of experience more than the one that was recorded: the
// replay stops at the frame the recording saved the robbery's experience and names that key.
TEST_F(Recordings, ABuildWithOneMorePointOfExperienceDiffersAtTheSavedXP) {
  const fs::path save = dir.path() / "start.ini";
  testing::WriteFile(save,
                     "[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n"
                     "[Rank]\nRank=3\nXP=0\nXPToRank=900\nSkill Points=0\n");
  const fs::path file = Record("robbery", save);
  const std::string text = ReadFile(file);
  const size_t xp = text.find(R"("key":"XP","kind":"save","section":"Rank","value":")");
  ASSERT_NE(xp, std::string::npos) << "the robbery saved no experience";
  const size_t lineStart = text.rfind('\n', xp) + 1;
  const std::string frame = text.substr(lineStart + 9, text.find(',', lineStart) - lineStart - 9);
  const size_t value = text.find("\"value\":\"", xp) + 9;
  const int awarded = std::stoi(text.substr(value, text.find('"', value) - value));
  ASSERT_GT(awarded, 0);

  EXPECT_EQ(Replay(file, BRIMVALE_EXTRA_XP_MODULE_PATH), 1) << printed.str() << errors.str();
  EXPECT_NE(printed.str().find("differs from the recording at frame " + frame + " "),
            std::string::npos)
      << printed.str();
  EXPECT_NE(printed.str().find("the save file's [Rank] XP: recorded \"" + std::to_string(awarded) +
                               "\", replayed \"" + std::to_string(awarded + 1) + "\""),
            std::string::npos)
      << printed.str();
  // The same recording with the build it was made with matches.
  EXPECT_EQ(Replay(file, BRIMVALE_MODULE_PATH), 0) << printed.str() << errors.str();
}

TEST_F(Recordings, EachBadFileIsRefusedWithItsLineAndNothingIsWritten) {
  const std::string digest =
      R"({"kind":"digest","frame":5,"player":[0,0,0,0],"peds":[0,"0000000000000000"],)"
      R"("vehicles":[0,"0000000000000000"],"objects":[0,"0000000000000000"],)"
      R"("world":"0000000000000000","save":"0000000000000000"})"
      "\n";
  const std::string start = kStart;
  const struct {
    std::string text, message;
  } cases[] = {
      {"", "in.jsonl: the file is empty"},
      {start + "{\"kind\":\"press\",\"frame\":3,,}\n", "in.jsonl:2: the line is not JSON"},
      {start + "{\"kind\":\"press\",\"frame\":3,\"control\":\"INPUT_LOOT\"",
       "in.jsonl:2: the line is cut short"},
      {start + R"({"kind":"press","frame":3,"control":"INPUT_LOOT","pad":0})",
       "in.jsonl:2: the line is cut short (no line end)"},
      {start + "{\"kind\":\"lasso\",\"frame\":3}\n", "in.jsonl:2: unknown kind \"lasso\""},
      {start + digest + "{\"kind\":\"put_down\",\"frame\":4}\n",
       "in.jsonl:3: frame 4 comes after frame 5"},
      {start + "{\"kind\":\"money\",\"frame\":1,\"cents\":\"" + std::string(70000, '9') + "\"}\n",
       "in.jsonl:2: the line is longer than 64 KB (70037 bytes)"},
      {std::string(kStart).replace(std::string(kStart).find("\"save\":null"), 11,
                                   "\"save\":\"Gender\""),
       "in.jsonl:1: the save file does not fit: its line 1 is neither a [section] nor a key=value"},
      {start + "{\"kind\":\"relaunch\",\"frame\":3,\"save\":\"[Story\\nx\"}\n",
       "in.jsonl:2: the save file does not fit: its line 1 is neither"},
      {digest, "in.jsonl:1: a recording begins with its \"start\" line"},
      {start + "{\"kind\":\"kill\",\"frame\":-2,\"target\":1}\n",
       "in.jsonl:2: \"frame\" is out of range"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Replay(c.text), 2) << c.message;
    EXPECT_NE(errors.str().find(c.message), std::string::npos) << errors.str();
    EXPECT_FALSE(fs::exists(dir.path() / "replayed")) << c.message;
  }
}

// Arbitrary damage to real recordings, a playthrough's and a live session's by turns (their lines
// are of other kinds): the reader refuses or takes them, names a line the text has, and never
// reads out of bounds (the sanitizer builds watch).
TEST_F(Recordings, TheReaderTakesDamagedRecordingsWithoutFaultBounded) {
  const std::string texts[] = {
      ReadFile(Record()).substr(0, 20000),
      ReadFile(fs::path(BRIMVALE_KEPT_RECORDINGS) / "creator-gender-change.jsonl")
          .substr(0, 20000)};
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    const std::string& text = texts[round % 2];
    ASSERT_GT(text.size(), 1000u);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    std::string damaged = text.substr(0, random() % text.size());
    for (int cut = random() % 6; cut > 0; --cut) {
      const size_t at = random() % (damaged.size() + 1);
      switch (random() % 4) {
        case 0:
          damaged.insert(at, 1, "{}[]\",:0e-\n\\x"[random() % 14]);
          break;
        case 1:
          if (at < damaged.size()) damaged.erase(at, 1 + random() % 8);
          break;
        case 2: {
          // A whole field dropped, its line still JSON: what the field checks must catch.
          const size_t name = damaged.find(",\"", at);
          if (name == std::string::npos) break;
          const size_t next = damaged.find_first_of(",}", damaged.find(':', name + 1));
          if (next != std::string::npos && damaged.find('\n', name) > next)
            damaged.erase(name, next - name);
          break;
        }
        default:
          if (at < damaged.size()) damaged[at] = static_cast<char>(random());
      }
    }
    sim::Recording recording;
    sim::RecordingError error;
    if (!sim::ParseRecording(damaged, recording, error)) {
      EXPECT_GE(error.line, 0);
      EXPECT_LE(error.line, lines + 8);
      EXPECT_FALSE(error.why.empty());
    }
  }
}

}  // namespace
}  // namespace brimvale
