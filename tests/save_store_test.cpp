// The save file: what a start loads from it, how each kind of value is stored, and that writes
// change one value and leave the rest of the file (and any other program's lines) as they were.
#include <bit>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/campaign.h"
#include "core/entry.h"
#include "player/save_text.h"
#include "progression/progression.h"
#include "save/profile.h"
#include "save/profile_portable.h"
#include "save/store.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::GameDirectory;

class SaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetPluginState(); }
  void TearDown() override { ResetPluginState(); }

  std::filesystem::path SavePath() const { return dir.path() / "Brimvale.ini"; }
  void WriteSave(const std::string& text) { testing::WriteFile(SavePath(), text); }
  std::string SaveText() const { return testing::ReadFile(SavePath()); }
  std::string Read(const char* section, const char* key, const char* fallback = "none") {
    char text[kProfileStringSize];
    ReadString(section, key, fallback, text);
    return text;
  }

  GameDirectory dir;
};

using SaveStoreLoad = SaveFileTest;
using SaveStoreValues = SaveFileTest;
using ProfileFileWrites = SaveFileTest;
using ProfileFileReads = SaveFileTest;
using ProfileFileReplace = SaveFileTest;

// --- What a start loads ---

TEST_F(SaveStoreLoad, AFreshGameDirectoryLoadsNoProgressAndKeepsEveryDefault) {
  Campaign.StoryProgress = 1;
  Progression = {.Rank = 4, .XP = 900, .XPToRank = 1000, .SkillPoints = 2};
  Progression.HealthLevel[0] = Progression.DeadEyeLevel[4] = true;

  LoadProgress();

  EXPECT_EQ(Campaign.StoryProgress, 0);
  EXPECT_EQ(Progression.Rank, 0);
  EXPECT_EQ(Progression.XP, 0);
  EXPECT_EQ(Progression.XPToRank, 0);
  EXPECT_EQ(Progression.SkillPoints, 0);
  for (bool level : Progression.HealthLevel)
    EXPECT_FALSE(level);
  for (bool level : Progression.DeadEyeLevel)
    EXPECT_FALSE(level);
  // The character's built-in values survive a load from nothing.
  EXPECT_FLOAT_EQ(ReadFloat("Character", "Face Feature 3", 0.25f), 0.25f);
  EXPECT_TRUE(ReadBool("Character", "Create Character", true));
  EXPECT_EQ(ReadInt("Character", "Gender", 1), 1);
  EXPECT_EQ(Read("Character", "Walking Style", "MP_Style_Casual"), "MP_Style_Casual");
  EXPECT_FALSE(std::filesystem::exists(SavePath()));  // reading never creates the file
}

TEST_F(SaveStoreLoad, AHandWrittenFileLoadsEveryProgressValue) {
  WriteSave(
      "; kept by hand\r\n"
      "[story]\r\n"
      "progress = 1\r\n"
      "\r\n"
      "[ Rank ]\r\n"
      "Rank=3\r\n"
      "XP=  2450\r\n"
      "XPToRank=3000\r\n"
      "Skill Points=-2\r\n"
      "Health Lvl 1=True\r\n"
      "Health Lvl 2=false\r\n"
      "health lvl 4=true\r\n"
      "Deadeye Lvl 2=True\r\n"
      "Deadeye Lvl 5=TRUE\r\n");

  LoadProgress();

  EXPECT_EQ(Campaign.StoryProgress, 1);
  EXPECT_EQ(Progression.Rank, 3);
  EXPECT_EQ(Progression.XP, 2450);
  EXPECT_EQ(Progression.XPToRank, 3000);
  EXPECT_EQ(Progression.SkillPoints, -2);
  const bool health[kHealthLevels] = {true, false, false, true};
  const bool deadEye[kDeadEyeLevels] = {false, true, false, false, false};
  for (int i = 0; i < kHealthLevels; ++i)
    EXPECT_EQ(Progression.HealthLevel[i], health[i]) << i;
  for (int i = 0; i < kDeadEyeLevels; ++i)
    EXPECT_EQ(Progression.DeadEyeLevel[i], deadEye[i]) << i;
}

TEST_F(SaveStoreLoad, AFileWithoutARankSectionStartsAtRankZero) {
  WriteSave("[Story]\nProgress=1\n[Character]\nCreate Character=True\n");
  LoadProgress();
  EXPECT_EQ(Campaign.StoryProgress, 1);
  EXPECT_EQ(Progression.Rank, 0);
  EXPECT_EQ(Progression.XPToRank, 0);
}

// --- How each kind of value is stored ---

TEST_F(SaveStoreValues, BooleansAreTrueOnlyForTrueOrTrueInLowerCase) {
  WriteSave(
      "[Rank]\n"
      "Health Lvl 1=true\n"
      "Health Lvl 2=TRUE\n"
      "Health Lvl 3=1\n"
      "Health Lvl 4=\"True \"\n"
      "Deadeye Lvl 1=True\n"
      "Deadeye Lvl 2=False\n");
  EXPECT_TRUE(ReadBool("Rank", "Health Lvl 1", false));
  EXPECT_FALSE(ReadBool("Rank", "Health Lvl 2", false));
  EXPECT_FALSE(ReadBool("Rank", "Health Lvl 3", false));
  EXPECT_FALSE(ReadBool("Rank", "Health Lvl 4", false));  // the blank is inside the quotes
  EXPECT_TRUE(ReadBool("Rank", "Deadeye Lvl 1", false));
  EXPECT_FALSE(ReadBool("Rank", "Deadeye Lvl 2", true));  // a stored value beats the default
  EXPECT_TRUE(ReadBool("Rank", "Deadeye Lvl 3", true));   // missing: the default

  WriteBool("Rank", "Deadeye Lvl 3", false);
  WriteBool("Rank", "Deadeye Lvl 4", true);
  // New keys go to the end of their section, in the order written, with the game's spelling.
  const std::vector<sim::SaveEntry> entries = sim::ParseSaveText(SaveText());
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[entries.size() - 2].key, "Deadeye Lvl 3");
  EXPECT_EQ(entries[entries.size() - 2].value, "False");
  EXPECT_EQ(entries.back().key, "Deadeye Lvl 4");
  EXPECT_EQ(entries.back().value, "True");
  EXPECT_FALSE(ReadBool("Rank", "Deadeye Lvl 3", true));
  EXPECT_TRUE(ReadBool("Rank", "Deadeye Lvl 4", false));
}

TEST_F(SaveStoreValues, FloatsAreWrittenWithSixDecimalsAndReadLikeAtof) {
  WriteFloat("Character", "Face Feature 1", 0.5f);
  WriteFloat("Character", "Face Feature 2", -0.25f);
  WriteFloat("Character", "Face Feature 4", 1.0f / 3.0f);
  EXPECT_EQ(SaveText(),
            "[Character]\r\nFace Feature 1=0.500000\r\nFace Feature 2=-0.250000\r\n"
            "Face Feature 4=0.333333\r\n");
  EXPECT_FLOAT_EQ(ReadFloat("Character", "Face Feature 1", 9.0f), 0.5f);
  EXPECT_FLOAT_EQ(ReadFloat("Character", "Face Feature 2", 9.0f), -0.25f);
  EXPECT_FLOAT_EQ(ReadFloat("Character", "Face Feature 4", 9.0f), 0.333333f);

  WriteSave(
      "[Character]\n"
      "Face Feature 3=wide\n"
      "Face Feature 5=0.75 or so\n"
      "Face Feature 6=+.5\n"
      "Face Feature 7=nan\n"
      "Face Feature 8=1e999\n"
      "Face Feature 9=\n");
  EXPECT_EQ(ReadFloat("Character", "Face Feature 3", 0.4f), 0.0f);  // not a number
  EXPECT_FLOAT_EQ(ReadFloat("Character", "Face Feature 5", 0.4f), 0.75f);
  EXPECT_FLOAT_EQ(ReadFloat("Character", "Face Feature 6", 0.4f), 0.5f);
  EXPECT_EQ(ReadFloat("Character", "Face Feature 7", 0.4f), 0.0f);  // never a NaN onto the face
  EXPECT_EQ(ReadFloat("Character", "Face Feature 8", 0.4f), 0.0f);
  EXPECT_EQ(ReadFloat("Character", "Face Feature 9", 0.4f), 0.0f);  // there, but empty
  EXPECT_FLOAT_EQ(ReadFloat("Character", "Face Feature 10", -0.4f), -0.4f);
}

// The plugin formats floats itself (the C++ library's formatting would triple the DLL): its text
// is exactly what "%f" prints in the "C" locale, rounding ties to even, for every kind of float.
TEST(SaveFloatText, IsExactlyPrintfsSixDecimalsForEveryKindOfFloat) {
  std::vector<float> values = {0.0f,
                               -0.0f,
                               0.5f,
                               -0.25f,
                               1.0f / 3.0f,
                               0.1f,
                               -0.3f,
                               0.0000005f,
                               0.0000015f,
                               0.0000025f,
                               0.0000035f,
                               1e-7f,
                               -1e-7f,
                               0.9999995f,
                               999999.94f,
                               16777216.0f,
                               123456.789f,
                               std::numeric_limits<float>::denorm_min(),
                               std::numeric_limits<float>::min(),
                               std::numeric_limits<float>::max(),
                               -std::numeric_limits<float>::max(),
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity()};
  // Every tie a float can make at the sixth decimal: n + 0.5 millionths for small n.
  for (int n = 0; n < 64; ++n)
    values.push_back(static_cast<float>((n + 0.5) / 1e6));
  std::mt19937 random(23);
  for (int i = 0; i < 200000; ++i) {
    const uint32_t bits = static_cast<uint32_t>(random());
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isnan(value)) values.push_back(value);
  }
  for (float value : values) {
    char expected[64], text[64];
    std::snprintf(expected, sizeof expected, "%f", static_cast<double>(value));
    FormatFloat(value, text);
    ASSERT_STREQ(text, expected) << "for the float with bits " << std::bit_cast<uint32_t>(value);
  }
}

TEST_F(SaveStoreValues, IntegersKeepTheirSignAcrossAWriteAndARead) {
  WriteInt("Rank", "XP", 150);
  EXPECT_EQ(SaveText(), "[Rank]\r\nXP=150\r\n");  // a new file has CRLF, as kernel32 writes it

  WriteInt("Character", "Outfit Part 0", -1);
  WriteInt("Character", "Outfit Tint 0", INT32_MIN);
  WriteInt("Character", "Outfit Part 1", INT32_MAX);
  EXPECT_EQ(ReadInt("Character", "Outfit Part 0", 5), -1);
  EXPECT_EQ(ReadInt("Character", "Outfit Tint 0", 5), INT32_MIN);
  EXPECT_EQ(ReadInt("Character", "Outfit Part 1", 5), INT32_MAX);
  EXPECT_EQ(ReadInt("Rank", "XP", 0), 150);
}

TEST_F(SaveStoreValues, AWalkStyleIsOneLineUnderCharacter) {
  WriteString("Character", "Walking Style", "MP_Style_Gambler");
  EXPECT_EQ(SaveText(), "[Character]\r\nWalking Style=MP_Style_Gambler\r\n");
  EXPECT_EQ(Read("Character", "Walking Style"), "MP_Style_Gambler");

  // A line break in a value could otherwise plant keys of its own in the file.
  WriteString("Character", "Walking Style", "MP_Style_Drunk\r\n[Rank]\r\nXP=99999");
  EXPECT_EQ(SaveText(), "[Character]\r\nWalking Style=MP_Style_Drunk\r\n");
  EXPECT_EQ(ReadInt("Rank", "XP", 0), 0);
}

TEST_F(SaveStoreValues, ANameTheFileCannotHoldWritesNothing) {
  WriteInt("Rank", "", 5);
  WriteInt("Rank", "XP=5", 5);
  WriteInt("Ra]nk", "XP", 5);
  WriteString("Rank", nullptr, "5");
  WriteString(nullptr, "XP", "5");
  WriteString("Rank", "XP", nullptr);
  EXPECT_FALSE(std::filesystem::exists(SavePath()));
  EXPECT_EQ(ReadInt("Rank", nullptr, 7), 7);
  EXPECT_EQ(Read(nullptr, "XP", "fallback"), "fallback");
}

// --- Reading the profile format ---

TEST_F(ProfileFileReads, IntegersAreParsedUpToTheFirstNonDigit) {
  WriteSave(
      "[Rank]\n"
      "Rank=  -42 ranks\n"
      "XP=+7\n"
      "XPToRank=plenty\n"
      "Skill Points=\n"
      "Health Lvl 1=\"12\"\n"
      "Deadeye Lvl 1=4294967297\n");
  EXPECT_EQ(ReadInt("Rank", "Rank", 9), -42);
  EXPECT_EQ(ReadInt("Rank", "XP", 9), 7);
  EXPECT_EQ(ReadInt("Rank", "XPToRank", 9), 0);      // not a number
  EXPECT_EQ(ReadInt("Rank", "Skill Points", 9), 9);  // empty: the default
  EXPECT_EQ(ReadInt("Rank", "Health Lvl 1", 9), 12);
  EXPECT_EQ(ReadInt("Rank", "Deadeye Lvl 1", 9), 1);  // wraps as the Windows reader does
  EXPECT_EQ(ReadInt("Rank", "Missing", 9), 9);
  EXPECT_EQ(ReadInt("Story", "Progress", 9), 9);
}

TEST_F(ProfileFileReads, SectionsAndKeysMatchTrimmedAndWithoutRegardToCase) {
  WriteSave(
      "XP=1\n"  // before any section: belongs to the section without a name
      "  [ rank ]  \n"
      "  xp   =   5  \n"
      ";Skill Points=3\n"
      "[Character]\n"
      "XP=6\n");
  EXPECT_EQ(ReadInt("RANK", "Xp", 0), 5);
  // kernel32 knows no comments: a line with a name before '=' is a key, ';' or not.
  EXPECT_EQ(ReadInt("Rank", ";Skill Points", 0), 3);
  EXPECT_EQ(ReadInt("Character", "XP", 0), 6);
}

TEST_F(ProfileFileReads, OnlyTheFirstOfTwoSectionsWithOneNameIsReadAndWritten) {
  WriteSave("[Rank]\r\nXP=1\r\n[rank]\r\nXP=2\r\nSkill Points=3\r\n");
  EXPECT_EQ(ReadInt("Rank", "XP", 9), 1);
  EXPECT_EQ(ReadInt("Rank", "Skill Points", 9), 9);
  WriteInt("Rank", "Skill Points", 4);
  EXPECT_EQ(SaveText(), "[Rank]\r\nXP=1\r\nSkill Points=4\r\n[rank]\r\nXP=2\r\nSkill Points=3\r\n");
}

// kernel32 reads a file whose lines end in a carriage return alone line by line: so does the
// portable reader, and its writes keep that line ending.
TEST_F(ProfileFileReads, ALoneCarriageReturnEndsALine) {
  WriteSave("[Story]\rProgress=1\r[Rank]\rXP=5\rRank=2\r");
  EXPECT_EQ(ReadInt("Story", "Progress", 9), 1);
  EXPECT_EQ(ReadInt("Rank", "XP", 9), 5);
  EXPECT_EQ(ReadInt("Rank", "Rank", 9), 2);
  EXPECT_EQ(Read("Rank", "XP", "none"), "5");
  WriteInt("Rank", "XP", 6);
  WriteInt("Rank", "Skill Points", 1);
  WriteInt("Character", "Gender", 1);
  EXPECT_EQ(SaveText(),
            "[Story]\rProgress=1\r[Rank]\rXP=6\rRank=2\rSkill Points=1\r[Character]\rGender=1\r");
}

// Among LF and CR LF line breaks a CR alone still ends its line, as kernel32 reads it.
TEST_F(ProfileFileReads, ALoneCarriageReturnAmongOtherLineBreaksEndsALineToo) {
  WriteSave("[Rank]\rXP=5\n[Story]\r\nProgress=x\ry\r\n");
  EXPECT_EQ(ReadInt("Rank", "XP", 9), 5);
  EXPECT_EQ(Read("Story", "Progress", "none"), "x");
  EXPECT_EQ(Read("Story", "y", "none"), "none");  // a line of its own, and no key
}

TEST_F(ProfileFileReads, IntegersTakeHexOctalAndBinaryPrefixesAsKernel32Does) {
  WriteSave("[Rank]\r\nXP=0x1F\r\nRank=-0o17\r\nSkill Points=0b101x\r\nXPToRank=0X1F\r\n");
  EXPECT_EQ(ReadInt("Rank", "XP", 9), 31);
  EXPECT_EQ(ReadInt("Rank", "Rank", 9), -15);
  EXPECT_EQ(ReadInt("Rank", "Skill Points", 9), 5);
  EXPECT_EQ(ReadInt("Rank", "XPToRank", 9), 0);  // the prefix is lower case only
}

TEST_F(ProfileFileReads, StringsAreTrimmedUnquotedAndCutTo254Characters) {
  const std::string longValue(300, 'x');
  WriteString("Character", "Walking Style", longValue.c_str());
  EXPECT_EQ(Read("Character", "Walking Style"), longValue.substr(0, 254));
  // The whole value is in the file; only the read is cut.
  EXPECT_EQ(sim::ReadSaveValue(SaveText(), "Character", "Walking Style"), longValue);

  WriteSave("[Character]\nA=  spaced out  \nB='quoted'\nC=\"half\nD=\n");
  EXPECT_EQ(Read("Character", "A"), "spaced out");
  EXPECT_EQ(Read("Character", "B"), "quoted");
  EXPECT_EQ(Read("Character", "C"), "\"half");
  EXPECT_EQ(Read("Character", "D"), "");  // present and empty is not missing
  EXPECT_EQ(Read("Character", "E", "fallback  "), "fallback");
}

// --- Writing the profile format ---

TEST_F(ProfileFileWrites, TheFirstWritesCreateTheFileSectionsAndKeysInOrder) {
  WriteInt("Rank", "XP", 150);
  WriteInt("Story", "Progress", 1);
  WriteInt("Rank", "Rank", 2);
  WriteInt("Rank", "XP", 175);
  EXPECT_EQ(SaveText(), "[Rank]\r\nXP=175\r\nRank=2\r\n[Story]\r\nProgress=1\r\n");
}

TEST_F(ProfileFileWrites, AnotherProgramsLinesStayByteForByteAcrossManyWrites) {
  const std::string before =
      "; written by a save editor\r\n"
      "[Editor]\r\n"
      "Theme=dark ; not a comment to the reader\r\n"
      "\r\n"
      "[Rank]\r\n"
      "Rank=1\r\n"
      " XP = 10 \r\n"
      "Bounty=25\r\n"
      "\r\n"
      "; the rest is ours\r\n"
      "[Story]\r\n"
      "Progress=0";  // no line break at the end
  WriteSave(before);

  for (int xp = 11; xp <= 60; ++xp)
    WriteInt("Rank", "XP", xp);
  WriteInt("Rank", "Skill Points", 2);
  WriteInt("Story", "Progress", 1);
  WriteBool("Story", "Seen Ending", true);
  WriteFloat("Character", "Face Feature 1", 0.5f);
  WriteInt("Rank", "Skill Points", 1);

  EXPECT_EQ(SaveText(),
            "; written by a save editor\r\n"
            "[Editor]\r\n"
            "Theme=dark ; not a comment to the reader\r\n"
            "\r\n"
            "[Rank]\r\n"
            "Rank=1\r\n"
            " XP = 60\r\n"
            "Bounty=25\r\n"
            "Skill Points=1\r\n"
            "\r\n"
            "; the rest is ours\r\n"
            "[Story]\r\n"
            "Progress=1\r\n"
            "Seen Ending=True\r\n"
            "[Character]\r\n"
            "Face Feature 1=0.500000\r\n");
  EXPECT_EQ(Read("Editor", "Theme"), "dark ; not a comment to the reader");
}

TEST_F(ProfileFileWrites, AKeyWrittenInAnotherCaseReplacesTheOneInTheFile) {
  WriteSave("[rank]\nXP=5\n");
  WriteInt("RANK", "xp", 7);
  EXPECT_EQ(SaveText(), "[rank]\nXP=7\n");
  EXPECT_EQ(ReadInt("Rank", "XP", 0), 7);
}

TEST_F(ProfileFileWrites, AnEmptyValueIsReplacedAfterItsEqualsSign) {
  WriteSave("[Rank]\nXP=\nRank=   \n");
  WriteInt("Rank", "XP", 3);
  WriteInt("Rank", "Rank", 1);
  EXPECT_EQ(SaveText(), "[Rank]\nXP=3\nRank=1\n");
}

TEST_F(ProfileFileWrites, ANewKeyOfTheLastSectionGoesOnANewLine) {
  WriteSave("[Rank]\nXP=5");
  WriteInt("Rank", "Rank", 1);
  EXPECT_EQ(SaveText(), "[Rank]\nXP=5\nRank=1\n");

  WriteSave("[Rank]");  // no line break to follow: CRLF, as kernel32 writes
  WriteInt("Rank", "Rank", 1);
  EXPECT_EQ(SaveText(), "[Rank]\r\nRank=1\r\n");
}

// --- Replacing the file ---

TEST_F(ProfileFileReplace, ACrashBeforeTheRenameLeavesTheOldFileAndTheNextWriteWorks) {
  WriteInt("Rank", "XP", 150);
  const std::string path = SavePath().string();
  // The crash: the new text half written beside the save, the rename never made.
  ASSERT_TRUE(WriteProfileTemp(path.c_str(), "[Rank]\nXP=2"));

  EXPECT_EQ(SaveText(), "[Rank]\r\nXP=150\r\n");
  EXPECT_EQ(ReadInt("Rank", "XP", 0), 150);

  WriteInt("Rank", "XP", 200);
  EXPECT_EQ(SaveText(), "[Rank]\r\nXP=200\r\n");
  EXPECT_FALSE(std::filesystem::exists(ProfileTempPath(path.c_str())));
}

TEST_F(ProfileFileReplace, AWriteTheDiskRefusesLeavesTheOldFileWhole) {
  WriteInt("Rank", "XP", 150);
  const std::string path = SavePath().string();
  // Nothing can be created where the temporary file goes.
  std::filesystem::create_directory(ProfileTempPath(path.c_str()));

  EXPECT_FALSE(ProfileWriteString("Rank", "XP", "200", path.c_str()));
  EXPECT_EQ(SaveText(), "[Rank]\r\nXP=150\r\n");
}

}  // namespace
}  // namespace brimvale
