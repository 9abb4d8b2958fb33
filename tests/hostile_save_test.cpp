// Save files as players leave them: edited by hand with numbers far outside what the game offers,
// emptied, too big, unwritable, or not a file at all. The game starts and goes on with each, and
// the file is never damaged by it.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "player/player.h"
#include "player/save_text.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using sim::GameHash;

// Every number of the look far outside the creator's ranges.
const std::string kWildLook =
    "Head Type=99999\n"
    "Skin Type=-2147483648\n"
    "Body Type=2147483647\n"
    "Hair Style=-7\n"
    "Hair R=99999\n"
    "Hair G=-1\n"
    "Hair B=4294967295\n"
    "Beard Style=1000\n"
    "Face Feature 1=1e30\n"
    "Face Feature 2=-1e30\n"
    "Face Feature 3=1e39\n"
    "Face Feature 4=nan\n"
    "Outfit Part 0=2147483647\n"
    "Outfit Tint 0=-2147483648\n"
    "Outfit Part 1=-2147483648\n"
    "Outfit Tint 1=99999\n";

class HostileSave : public testing::SimTest {
 protected:
  // A returning player: loads the plugin on `save` and starts the campaign at its start point.
  bool StartCampaignWith(const std::string& save) {
    WriteSave(save);
    host.LoadPlugin();
    host.RunFrames(30);
    return sim::StartCampaign(player) && host.ScriptRunning();
  }
  // A new player: loads the plugin on what is there and makes a character in the creator.
  bool MakeCharacter() {
    host.LoadPlugin();
    host.RunFrames(30);
    return sim::MakeCharacter(player) && sim::StartCampaign(player) && host.ScriptRunning();
  }
  const sim::PedLook& Look() { return host.world.look.Of(host.world.player.ped); }
  std::filesystem::path SavePath() const { return dir.path() / "Brimvale.ini"; }

  std::ostringstream log;
  sim::Player player{host, log};
};

TEST_F(HostileSave, LookNumbersFarOutOfRangeDressTheNearestTableEntries) {
  const std::string save =
      "[Character]\nCreate Character=True\nGender=0\nWalking Style=" + std::string(300, 'w') +
      "\n" + kWildLook + "[Story]\nProgress=1\n";
  ASSERT_TRUE(StartCampaignWith(save)) << log.str();

  const sim::TextureLayer* head = Look().Layer("mp_head_mr1_028");
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->albedo, GameHash("mp_head_mr1_sc00_c0_000_ab"));
  EXPECT_EQ(Look().bodyType, 0x74D74B1Cu);
  // Hair and beard numbers name meshes as they are; the game finds no such mesh.
  ASSERT_NE(Look().Layer("mp_hair_mr1_00-7"), nullptr);
  EXPECT_EQ(Look().Layer("mp_hair_mr1_00-7")->tint0, 99999);
  EXPECT_NE(Look().Layer("beard_mr1_1000"), nullptr);
  EXPECT_EQ(Look().faceFeatures.at(35627), 1e30f);
  EXPECT_EQ(Look().faceFeatures.at(7019), -1e30f);
  EXPECT_EQ(Look().faceFeatures.at(60996), 0.0f);  // no float holds 1e39
  EXPECT_EQ(Look().faceFeatures.at(53862), 0.0f);  // not a number
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_HAT_2147483647_TINT_00-2147483648"));
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_COAT_00-2147483648_TINT_99999"));
  EXPECT_EQ(Look().walkStyle, std::string(254, 'w'));
  // Starting reads the look and writes none of it back; only the first rank-up adds its section.
  EXPECT_EQ(SaveText().substr(0, save.size()), save);
  EXPECT_EQ(SaveText().substr(save.size(), 7), "[Rank]\n");
}

TEST_F(HostileSave, AFemaleWithABeardNumberFarOutOfRangeHasNoBeard) {
  ASSERT_TRUE(StartCampaignWith("[Character]\nCreate Character=True\nGender=1\n" + kWildLook))
      << log.str();
  EXPECT_NE(Look().Layer("mp_head_fr1_028"), nullptr);
  EXPECT_NE(Look().Layer("mp_hair_fr1_00-7"), nullptr);
  EXPECT_EQ(Look().Layer("beard_mr1_1000"), nullptr);
  EXPECT_TRUE(Look().Removed("beards_complete"));
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_F_HAT_2147483647_TINT_00-2147483648"));
}

TEST_F(HostileSave, AGenderThatIsNeitherKeepsThePlayersOwnModelAndLook) {
  for (const char* gender : {"7", "-2147483648"}) {
    SCOPED_TRACE(gender);
    host.UnloadPlugin();
    ASSERT_TRUE(StartCampaignWith(
        "[Character]\nCreate Character=True\nGender=" + std::string(gender) + "\n" + kWildLook))
        << log.str();
    EXPECT_EQ(host.world.PlayerEntity().model, GameHash("PLAYER_ZERO"));
    EXPECT_TRUE(Look().layers.empty());
    EXPECT_TRUE(Look().ShopItems().empty());
  }
}

TEST_F(HostileSave, TheCreatorOpensOnWildNumbersAndBringsAnEditedOneBackIntoRange) {
  WriteSave("[Character]\nCreate Character=False\nGender=0\n" + kWildLook);
  ASSERT_TRUE(MakeCharacter()) << log.str();
  EXPECT_EQ(SaveValue("Character", "Create Character"), "True");
  // The scripted player raises the hair style twice: the first press brings -7 to the nearest
  // limit, the second steps on from there.
  EXPECT_EQ(SaveValue("Character", "Hair Style"), "1") << SaveText();
  EXPECT_EQ(SaveValue("Character", "Head Type"), "99999");  // not edited, kept as it was
}

// The story and "Rank" values edited by hand, and what the first frames of play make of them: the
// rank panel the player sees, the health the skill flags give, and the save file afterwards.
struct EditedProgress {
  const char* edited;      // the "Story" and "Rank" sections as the player left them
  const char* rank;        // the panel's rank number; null when no panel is drawn
  const char* experience;  // the panel's "XP | XPToRank"
  int32_t maxHealth;
  const char* saved;  // the same sections afterwards
};

constexpr EditedProgress kEditedProgress[] = {
    // A negative story runs neither the prologue nor free roam, and nothing is written.
    {"[Story]\nProgress=-5\n[Rank]\nRank=3\nXP=500\n", nullptr, nullptr, 200,
     "[Story]\nProgress=-5\n[Rank]\nRank=3\nXP=500\n"},
    // Everything at the lowest number: one rank-up, which climbs off the limit without wrapping.
    {"[Story]\nProgress=2147483647\n[Rank]\nRank=-2147483648\nXP=-2147483648\n"
     "XPToRank=-2147483648\nSkill Points=-2147483648\n",
     "-2147483647", "0 | 90", 200,
     "[Story]\nProgress=2147483647\n[Rank]\nRank=-2147483647\nXP=0\nXPToRank=90\n"
     "Skill Points=-2147483647\n"},
    // Words read as 0 (a fresh save's rank-up), a hex number as itself: the point saturates.
    {"[Story]\nProgress=1\n[Rank]\nRank=lots\nXP=ten\nXPToRank=--5\nSkill Points=0x7FFFFFFF\n", "1",
     "0 | 90", 200,
     "[Story]\nProgress=1\n[Rank]\nRank=1\nXP=0\nXPToRank=90\nSkill Points=2147483647\n"},
    // Numbers past 32 bits wrap as the game's reader takes them; XP is below the threshold.
    {"[Story]\nProgress=99999999999\n[Rank]\nRank=99999999999\nXP=-99999999999\n"
     "XPToRank=4294967295\n",
     "1215752191", "-1215752191 | -1", 200,
     "[Story]\nProgress=99999999999\n[Rank]\nRank=99999999999\nXP=-99999999999\n"
     "XPToRank=4294967295\n"},
    // Skill flags count only as "True" or "true", whatever the levels below them.
    {"[Story]\nProgress=1\n[Rank]\nRank=20\nXP=0\nXPToRank=500\nHealth Lvl 1=TRUE\n"
     "Health Lvl 2=1\nHealth Lvl 3=true\nHealth Lvl 4=True!\n",
     "20", "0 | 500", 500,
     "[Story]\nProgress=1\n[Rank]\nRank=20\nXP=0\nXPToRank=500\nHealth Lvl 1=TRUE\n"
     "Health Lvl 2=1\nHealth Lvl 3=true\nHealth Lvl 4=True!\n"},
};

TEST_F(HostileSave, ProgressionValuesFarOutOfRangePlayWithoutWrappingOrIndexingOut) {
  const std::string character = "[Character]\nCreate Character=True\nGender=0\n";
  for (const EditedProgress& c : kEditedProgress) {
    SCOPED_TRACE(c.edited);
    host.UnloadPlugin();
    host.world.life.random.forcedInts = {90, 90};
    ASSERT_TRUE(StartCampaignWith(character + c.edited)) << log.str();
    host.RunFrames(30);
    const sim::DrawList& drawn = host.world.ui.lastFrame;
    if (c.rank) {
      ASSERT_NE(drawn.FindTextAt(0.012f, 0.0f), nullptr);
      EXPECT_EQ(drawn.FindTextAt(0.012f, 0.0f)->plain, "RANK");
      const sim::DrawnText* rank = drawn.FindText(c.rank);
      ASSERT_NE(rank, nullptr);
      EXPECT_FLOAT_EQ(rank->y, 0.055f);
      ASSERT_NE(drawn.FindTextAt(0.21f, 0.0f), nullptr);
      EXPECT_EQ(drawn.FindTextAt(0.21f, 0.0f)->plain, c.experience);
    } else {
      EXPECT_EQ(drawn.FindText("RANK"), nullptr);
      EXPECT_EQ(host.world.ui.LastNotice(sim::NoticeKind::Banner), nullptr);  // no prologue
    }
    EXPECT_EQ(host.world.scene.peds[host.world.player.ped].maxHealth, c.maxHealth);
    EXPECT_EQ(SaveText(), character + c.saved);
    if (!c.rank) continue;
    // The skill tree opens on these numbers, and no level of either row can be bought.
    host.Press("INPUT_AIM_IN_AIR", 2);
    ASSERT_TRUE(host.RunUntil([&] { return drawn.FindText("SKILL TREE") != nullptr; }, 60));
    for (const char* row : {"INPUT_MOVE_UP_ONLY", "INPUT_MOVE_DOWN_ONLY"}) {
      host.Press(row, 2);
      host.RunFrame();
      for (int column = 0; column < 6; ++column) {
        host.Press("INPUT_FRONTEND_ACCEPT", 2);
        host.RunFrame();
        host.Press("INPUT_MOVE_RIGHT_ONLY", 2);
        host.RunFrame();
      }
    }
    EXPECT_EQ(SaveText(), character + c.saved);
  }
}

TEST_F(HostileSave, AnEmptyFilePlaysLikeAFreshGame) {
  WriteSave("");
  ASSERT_TRUE(MakeCharacter()) << log.str();
  // With no line of its own to follow, the file gets the line breaks of a new one.
  EXPECT_EQ(SaveText().rfind("[Character]\r\n", 0), 0u);
  EXPECT_EQ(SaveValue("Character", "Create Character"), "True");
  const std::string text = SaveText();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'))
      << "every line ends in CR LF";
}

TEST_F(HostileSave, ASaveThatIsADirectoryIsLeftAloneAndTheGameGoesOn) {
  std::filesystem::create_directory(SavePath());
  ASSERT_TRUE(MakeCharacter()) << log.str();
  EXPECT_TRUE(std::filesystem::is_directory(SavePath()));
  EXPECT_TRUE(std::filesystem::is_empty(SavePath()));
  // The character made in this session: female after the scripted player's gender change.
  EXPECT_EQ(host.world.PlayerEntity().model, GameHash("MP_FEMALE"));
  EXPECT_NE(Look().Layer("mp_head_fr1_001"), nullptr);
}

TEST_F(HostileSave, AGameDirectoryWithoutWritePermissionKeepsTheFileAsItWas) {
  const std::string save = "; my character\n[Character]\nCreate Character=False\nHead Type=3\n";
  WriteSave(save);
  // Permission bits stop no write of root's, so the place of the new file beside the save is
  // taken as well: either way no new text can be written.
  std::filesystem::create_directory(dir.path() / "Brimvale.ini.tmp");
  ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
  const bool played = MakeCharacter();
  chmod(dir.path().c_str(), 0755);
  ASSERT_TRUE(played) << log.str();
  EXPECT_EQ(SaveText(), save);
  EXPECT_EQ(host.world.PlayerEntity().model, GameHash("MP_FEMALE"));
  EXPECT_NE(Look().Layer("mp_head_fr1_004"), nullptr);  // the head it had, on the new character
}

TEST_F(HostileSave, ATenMegabyteFileStillLoadsTheValuesAtItsEnd) {
  std::string save = "; " + std::string(5 << 20, '#') + "\n[Junk]\n";
  while (save.size() < (10u << 20))
    save += "Key Without Equals Sign " + std::to_string(save.size()) + "\n";
  save += "[Character]\nCreate Character=True\nHead Type=5\n";
  ASSERT_TRUE(StartCampaignWith(save)) << log.str();
  EXPECT_NE(Look().Layer("mp_head_mr1_006"), nullptr);
  EXPECT_EQ(SaveText().size(), save.size());
}

}  // namespace
}  // namespace brimvale
