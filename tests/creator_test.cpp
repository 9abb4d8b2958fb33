// The character creator as a player uses it: the map point, the staged scene, the editing pages
// and the finish, read back from the screen, the cameras, the ped's look and the save file.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "character/character_record.h"
#include "character/creator.h"
#include "core/campaign.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::SimTest;

constexpr const char* kEntryPrompt = "Press ~INPUT_LOOT~ to Create Your Brimvale Character.";
constexpr const char* kEntryBlipName = "Brimvale - Create Character";
constexpr const char* kMaleIdle = "mp_lobby@standard@standing@mp_male_b@base";
constexpr const char* kFemaleIdle = "mp_lobby@standard@standing@mp_female_b@base";

enum MainMenuRow { kFacialFeatures, kBody, kHair, kCreateCharacter };

class CreatorTest : public SimTest {
 protected:
  void LoadWithoutCharacter(const std::string& characterKeys = "") {
    if (!characterKeys.empty()) WriteSave("[Character]\n" + characterKeys);
    host.LoadPlugin();
    host.RunFrames(2);
  }

  // Exactly `distance` east of the entry point: the point's x plus a whole number is exact.
  void StandEastOfEntry(float distance) {
    host.MovePlayer({kCreatorEntryPoint.x + distance, kCreatorEntryPoint.y, kCreatorEntryPoint.z});
  }

  // From a fresh load, into the scene, until the main menu is on screen.
  void EnterCreator(const std::string& characterKeys = "") {
    LoadWithoutCharacter(characterKeys);
    WalkIntoCreator();
  }
  void WalkIntoCreator() {
    StandEastOfEntry(0.5f);
    host.RunFrame();
    host.Press("INPUT_LOOT", 2);
    ASSERT_TRUE(host.RunUntil([&] { return Shows("CHARACTER") && Shows("CREATOR"); }, 1500));
  }

  const sim::DrawList& Screen() const { return host.world.ui.lastFrame; }
  bool Shows(const char* text) const { return Screen().FindText(text) != nullptr; }

  // A menu control on pad 0, then one more frame so that the screen shows its result.
  void Tap(const char* control, int times = 1) {
    for (int i = 0; i < times; ++i) {
      host.Press(control, 0);
      host.RunFrames(2);
    }
  }

  // The main menu row under the red highlight (boxes at y 0.42, 0.53, 0.64 and 0.81).
  int MainMenuHighlight() const {
    const sim::DrawnSprite* box = Screen().FindSprite("calendar_bg_large");
    if (!box) return -1;
    return box->y < 0.475f ? 0 : box->y < 0.585f ? 1 : box->y < 0.725f ? 2 : 3;
  }
  // From the main menu, down to the row and into it.
  void Open(MainMenuRow row) {
    ASSERT_TRUE(Shows("CHARACTER"));
    while (MainMenuHighlight() != row)
      Tap(MainMenuHighlight() < row ? "INPUT_MOVE_DOWN_ONLY" : "INPUT_MOVE_UP_ONLY");
    Tap("INPUT_FRONTEND_ACCEPT");
  }

  std::string Text(float x, float y) const {
    const sim::DrawnText* text = Screen().FindTextAt(x, y);
    return text ? text->plain : "";
  }
  std::string PageTitle() const { return Text(0.68f, 0.32f); }
  std::string PageTag() const { return Text(0.824f, 0.325f); }
  std::string RowLabel(int row) const { return Text(0.555f, 0.37f + 0.05f * row); }
  std::string FeatureValue(int row) const { return Text(0.775f, 0.37f + 0.05f * row); }
  std::string NumberValue(int row) const { return Text(0.79f, 0.37f + 0.05f * row); }
  // The page row under the red highlight, or -1 when no row is highlighted.
  int HighlightedRow() const {
    const sim::DrawnSprite* box = Screen().FindSprite("calendar_bg_large");
    if (!box) return -1;
    return static_cast<int>(std::lround((box->y - 0.385f) / 0.05f));
  }

  // On "BODY (2/2)", the gender row pressed towards the other gender, until the page is back.
  void SwitchGender(const char* direction) {
    host.Press(direction, 0);
    host.RunFrame();
    ASSERT_TRUE(host.RunUntil([&] { return PageTitle() == "BODY (2/2)"; }, 600));
  }
  void GoToGenderRow() {
    Open(kBody);
    Tap("INPUT_MELEE_GRAPPLE_CHOKE");
    Tap("INPUT_MOVE_DOWN_ONLY", 5);
    ASSERT_EQ(RowLabel(5), "Gender");
  }

  Ped PlayerPedHandle() const { return Ped{host.world.player.ped}; }
  sim::PedLook& PlayerLook() { return host.world.look.Of(host.world.player.ped); }
  Hash PlayerModel() { return host.world.PlayerEntity().model; }
  const sim::SimCamera* Camera(Cam cam) const { return host.world.cameras.Find(cam.id); }

  int HelpNoticesOfEntry() const {
    return host.world.ui.CountNotices(sim::NoticeKind::Help, kEntryPrompt);
  }
  // Texture layers put on since the trace was last cleared, by mesh name.
  int LayersApplied(const char* mesh) const {
    int count = 0;
    for (const sim::TraceEntry* e : host.Calls(SetPedTextureLayer))
      count += e->UInt(1) == sim::GameHash(mesh);
    return count;
  }
};

// ---------------------------------------------------------------------------------------------

class CreatorEntry : public CreatorTest {};

TEST_F(CreatorEntry, ThePromptShowsJustInsideOneUnitOfThePointAndNotAtOne) {
  LoadWithoutCharacter();
  StandEastOfEntry(1.0f);
  host.RunFrames(3);
  EXPECT_EQ(HelpNoticesOfEntry(), 0);

  StandEastOfEntry(0.99f);
  host.RunFrames(3);
  EXPECT_EQ(HelpNoticesOfEntry(), 3);  // again on every frame the player stays
  const sim::Notice* notice = host.world.ui.LastNotice(sim::NoticeKind::Help);
  EXPECT_EQ(notice->durationMs, 1000);
}

TEST_F(CreatorEntry, TheMapBlipStandsOneUnitBelowThePointUntilThePlayerEnters) {
  LoadWithoutCharacter();
  const sim::SimBlip* blip = host.world.blips.Named(kEntryBlipName);
  ASSERT_NE(blip, nullptr);
  EXPECT_EQ(blip->style, sim::GameHash("BLIP_STYLE_OBJECTIVE"));
  EXPECT_EQ(blip->sprite, sim::GameHash("blip_ambient_loan_shark"));
  EXPECT_FLOAT_EQ(blip->position.z, kCreatorEntryPoint.z - 1.0f);
  host.RunFrames(5);
  EXPECT_EQ(host.Calls(AddBlipForCoord).size(), 1u);  // kept, not made again

  StandEastOfEntry(0.5f);
  host.RunFrame();
  host.Press("INPUT_LOOT", 2);
  host.RunFrames(3);
  EXPECT_EQ(host.world.blips.Named(kEntryBlipName), nullptr);
}

TEST_F(CreatorEntry, TheEntryControlIsReadOnPadTwoOnly) {
  LoadWithoutCharacter();
  StandEastOfEntry(0.5f);
  host.Press("INPUT_LOOT", 0);
  host.RunFrames(60);
  EXPECT_NE(host.world.blips.Named(kEntryBlipName), nullptr);
  EXPECT_TRUE(host.world.cameras.teleports.empty());

  host.Press("INPUT_LOOT", 2);
  ASSERT_TRUE(host.RunUntil([&] { return !host.world.cameras.teleports.empty(); }, 200));
  EXPECT_EQ(host.world.blips.Named(kEntryBlipName), nullptr);
}

TEST_F(CreatorEntry, TheSceneStandsTheMaleBeforeTwoCamerasWithTheWideOneSeen) {
  EnterCreator();
  EXPECT_EQ(PlayerModel(), sim::GameHash("MP_MALE"));
  const Vector3 at = host.PlayerPosition();
  EXPECT_FLOAT_EQ(at.x, kCreatorSceneSpot.x);
  EXPECT_FLOAT_EQ(at.y, kCreatorSceneSpot.y);
  EXPECT_FLOAT_EQ(at.z, kCreatorSceneSpot.z);
  EXPECT_FLOAT_EQ(host.world.PlayerEntity().heading, kCreatorSceneHeading);
  EXPECT_TRUE(host.world.cameras.Frozen(host.world.player.ped));

  EXPECT_EQ(host.world.cameras.LiveCameras(), 2);
  const sim::SimCamera* wide = Camera(Creator.WideCamera);
  const sim::SimCamera* close = Camera(Creator.CloseCamera);
  ASSERT_NE(wide, nullptr);
  ASSERT_NE(close, nullptr);
  for (const sim::SimCamera* cam : {wide, close}) {
    EXPECT_EQ(cam->kind, "DEFAULT_SCRIPTED_CAMERA");
    EXPECT_FLOAT_EQ(cam->position.x, 2552.047f);
    EXPECT_FLOAT_EQ(cam->rotation.x, 7.0f);
    EXPECT_FLOAT_EQ(cam->fov, 70.0f);
  }
  EXPECT_EQ(host.world.cameras.Seen(), wide);
  EXPECT_EQ(wide->pointedAt, host.world.player.ped);
  EXPECT_FLOAT_EQ(wide->pointOffset.x, -1.0f);
  EXPECT_EQ(close->attachedTo, host.world.player.ped);
  EXPECT_FLOAT_EQ(close->attachOffset.x, -0.3f);
  EXPECT_FLOAT_EQ(close->attachOffset.y, 0.5f);
  EXPECT_FLOAT_EQ(close->attachOffset.z, 0.6f);
  EXPECT_FALSE(close->active);

  const sim::PedAnim* idle = host.world.cameras.AnimOf(host.world.player.ped);
  ASSERT_NE(idle, nullptr);
  EXPECT_EQ(idle->dict, kMaleIdle);
  EXPECT_EQ(idle->clip, "base");
  for (const char* dict : {"generic_textures", "menu_textures", "shaving_menu", "itemtype_textures",
                           "toast_log_blips"})
    EXPECT_TRUE(host.world.ui.TextureDictLoaded(dict)) << dict;
}

TEST_F(CreatorEntry, TheFirstDressingUsesTheMaleTablesWhateverGenderTheSaveHolds) {
  EnterCreator("Gender=1\nHead Type=2\n");
  sim::PedLook& look = PlayerLook();
  EXPECT_NE(look.Layer("mp_head_mr1_003"), nullptr);
  EXPECT_NE(look.Layer("mp_uppertorso_mr1_000_o_b"), nullptr);
  EXPECT_NE(look.Layer("beard_mr1_000"), nullptr);
  EXPECT_NE(look.Layer("mp_hair_mr1_000"), nullptr);
  EXPECT_EQ(look.Layer("mp_head_fr1_003"), nullptr);
  const std::vector<Hash> items = look.ShopItems();
  ASSERT_EQ(items.size(), 9u);
  EXPECT_EQ(items.front(), sim::GameHash("CLOTHING_ITEM_M_HAT_000_TINT_000"));
  EXPECT_EQ(items.back(), sim::GameHash("CLOTHING_ITEM_M_GUNBELT_001_TINT_001"));
  EXPECT_EQ(look.bodyType, 0x86155956u);  // the first body type
  EXPECT_EQ(look.faceFeatures.size(), 54u);
}

// A gender left in the save by a creation that was never finished is kept; the gender row
// offers only the way back to the male model the scene starts on.
TEST_F(CreatorEntry, ALeftOverFemaleGenderIsKeptAndTheRowOnlyOffersTheMale) {
  EnterCreator("Gender=1\n");
  EXPECT_EQ(PlayerModel(), sim::GameHash("MP_MALE"));
  EXPECT_EQ(SaveValue("Character", "Gender"), "1");
  GoToGenderRow();
  EXPECT_EQ(NumberValue(5), "1");
  host.ClearTrace();
  Tap("INPUT_MOVE_RIGHT_ONLY");
  EXPECT_TRUE(host.Calls(ScreenFadeOut).empty());
  SwitchGender("INPUT_MOVE_LEFT_ONLY");
  EXPECT_EQ(PlayerModel(), sim::GameHash("MP_MALE"));
  EXPECT_EQ(NumberValue(5), "0");
  EXPECT_EQ(SaveValue("Character", "Gender"), "0");
}

// ---------------------------------------------------------------------------------------------

class CreatorPages : public CreatorTest {};

TEST_F(CreatorPages, MenuControlsAreReadOnPadZeroOnly) {
  EnterCreator();
  host.Press("INPUT_FRONTEND_ACCEPT", 2);
  host.Press("INPUT_MOVE_DOWN_ONLY", 2);
  host.RunFrames(2);
  EXPECT_TRUE(Shows("CHARACTER"));
  const sim::DrawnSprite* highlight = Screen().FindSprite("calendar_bg_large");
  ASSERT_NE(highlight, nullptr);
  EXPECT_FLOAT_EQ(highlight->y, 0.42f);

  Tap("INPUT_FRONTEND_ACCEPT");
  EXPECT_EQ(PageTitle(), "EYES");
  EXPECT_EQ(PageTag(), "1/10");
  EXPECT_TRUE(Shows("FACIAL") && Shows("FEATURES"));
}

TEST_F(CreatorPages, AFeatureRaisedTenTimesShowsOneAndStopsThereAndAtMinusOne) {
  EnterCreator();
  Open(kFacialFeatures);
  EXPECT_EQ(RowLabel(0), "Eye Height");
  EXPECT_EQ(FeatureValue(0), "0.00");
  Tap("INPUT_MOVE_RIGHT_ONLY");
  EXPECT_EQ(FeatureValue(0), "0.10");
  Tap("INPUT_MOVE_RIGHT_ONLY", 11);
  EXPECT_EQ(FeatureValue(0), "1.00");
  const float top = Character.FaceFeatures[0];
  EXPECT_GT(top, 1.0f);  // ten single-precision steps land just above 1.0
  EXPECT_FLOAT_EQ(PlayerLook().faceFeatures[kFaceFeatures[0].id], top);

  Tap("INPUT_MOVE_LEFT_ONLY", 20);
  EXPECT_EQ(FeatureValue(0), "-1.00");
  Tap("INPUT_MOVE_LEFT_ONLY", 3);
  EXPECT_EQ(FeatureValue(0), "-1.00");
  EXPECT_EQ(SaveValue("Character", "Face Feature 1"), "-1.000000");
}

TEST_F(CreatorPages, KeysAtALimitStillSoundAndResendTheValue) {
  EnterCreator();
  Open(kFacialFeatures);
  Tap("INPUT_MOVE_RIGHT_ONLY", 11);
  host.ClearTrace();
  Tap("INPUT_MOVE_RIGHT_ONLY");
  ASSERT_EQ(host.Calls(SetPedFaceFeature).size(), 1u);
  EXPECT_EQ(host.Calls(UpdatePedVariation).size(), 2u);
  size_t sounds = 0;
  for (const sim::TraceEntry* e : host.Calls(PlayFrontendSound))
    sounds += e->strings[0] == "NAV_RIGHT" && e->strings[1] == "HUD_SHOP_SOUNDSET";
  EXPECT_EQ(sounds, 1u);
}

TEST_F(CreatorPages, QOnEyesShowsExtrasAfterOneFrameWithoutAPageAndEGoesBack) {
  EnterCreator();
  Open(kFacialFeatures);
  host.Press("INPUT_DIVE", 0);
  host.RunFrame();
  host.RunFrame();
  EXPECT_EQ(PageTitle(), "");
  EXPECT_TRUE(Shows("Q/E - Prev/Next Page"));
  host.RunFrame();
  EXPECT_EQ(PageTitle(), "EXTRAS");
  EXPECT_EQ(PageTag(), "10/10");

  host.Press("INPUT_MELEE_GRAPPLE_CHOKE", 0);
  host.RunFrames(3);
  EXPECT_EQ(PageTitle(), "EYES");
}

TEST_F(CreatorPages, MovingDownFromSkinTypeLandsOnFaceWidth) {
  EnterCreator();
  Open(kFacialFeatures);
  Tap("INPUT_DIVE");
  host.RunFrame();
  ASSERT_EQ(PageTitle(), "EXTRAS");
  Tap("INPUT_MOVE_DOWN_ONLY", 4);
  EXPECT_EQ(RowLabel(4), "Skin Type");
  EXPECT_EQ(HighlightedRow(), 4);

  host.Press("INPUT_MOVE_DOWN_ONLY", 0);
  host.RunFrame();
  host.RunFrame();
  EXPECT_EQ(HighlightedRow(), -1);  // past the last row until the next frame wraps it
  host.RunFrame();
  EXPECT_EQ(HighlightedRow(), 0);
  EXPECT_EQ(RowLabel(0), "Face Width");
}

// Each number row, one below its last value, pressed up to it and then past it four times, checked
// after every press (so a row that steps one past its last value and comes back on the next press
// shows, whether pressed past an odd or an even number of times): the row, the save and the look
// stay at the last value.
TEST_F(CreatorPages, NumberRowsPressedPastTheirEndStayAtTheirLastValue) {
  EnterCreator("Head Type=26\nSkin Type=4\nBody Type=19\nHair Style=22\nHair R=254\n");
  // The row on screen, its save line and its look after each press past the end.
  const auto expectAtLast = [&](int row, const char* key, int last, const auto& lookIsLast) {
    const std::string value = std::to_string(last);
    Tap("INPUT_MOVE_RIGHT_ONLY");
    for (int past = 1; past <= 4; ++past) {
      Tap("INPUT_MOVE_RIGHT_ONLY");
      EXPECT_EQ(NumberValue(row), value) << key << " after " << past << " past the end";
      EXPECT_EQ(SaveValue("Character", key), value) << key;
      EXPECT_TRUE(lookIsLast()) << key;
    }
  };
  Open(kFacialFeatures);
  Tap("INPUT_DIVE");
  host.RunFrame();
  Tap("INPUT_MOVE_DOWN_ONLY", 3);
  ASSERT_EQ(RowLabel(3), "Head Type");
  const auto head = [&] { return PlayerLook().Layer("mp_head_mr1_028"); };
  expectAtLast(3, "Head Type", 27, [&] { return head() != nullptr; });
  Tap("INPUT_MOVE_DOWN_ONLY");
  ASSERT_EQ(RowLabel(4), "Skin Type");
  expectAtLast(4, "Skin Type", 5, [&] {
    return head() && head()->albedo == sim::GameHash("mp_head_mr1_sc05_c0_000_ab");
  });
  Tap("INPUT_GAME_MENU_CANCEL");

  Open(kBody);
  Tap("INPUT_MELEE_GRAPPLE_CHOKE");
  Tap("INPUT_MOVE_DOWN_ONLY", 4);
  ASSERT_EQ(RowLabel(4), "Body Type");
  expectAtLast(4, "Body Type", 20, [&] { return PlayerLook().bodyType == 0x74D74B1Cu; });
  Tap("INPUT_GAME_MENU_CANCEL");

  Open(kHair);
  ASSERT_EQ(RowLabel(0), "Hair Style");
  const auto hair = [&] { return PlayerLook().Layer("mp_hair_mr1_023"); };
  expectAtLast(0, "Hair Style", 23, [&] { return hair() != nullptr; });
  Tap("INPUT_MOVE_DOWN_ONLY");
  ASSERT_EQ(RowLabel(1), "Hair R");
  expectAtLast(1, "Hair R", 255, [&] { return hair() && hair()->tint0 == 255; });
}

// A hand-edited number outside its row's limits never reaches a table: the first key brings
// it to the nearest limit.
TEST_F(CreatorPages, AHandEditedNumberOutsideItsLimitsComesBackOnTheFirstKey) {
  EnterCreator("Hair Style=90\n");
  Open(kHair);
  EXPECT_EQ(NumberValue(0), "90");
  Tap("INPUT_MOVE_RIGHT_ONLY");
  EXPECT_EQ(NumberValue(0), "23");
  EXPECT_EQ(SaveValue("Character", "Hair Style"), "23");
  Tap("INPUT_MOVE_LEFT_ONLY");
  EXPECT_EQ(NumberValue(0), "22");
}

TEST_F(CreatorPages, TheBeardGoesAtMinusOneAndComesBackAsTheFirstBeard) {
  EnterCreator();
  Open(kHair);
  Tap("INPUT_MELEE_GRAPPLE_CHOKE");
  host.RunFrame();
  ASSERT_EQ(PageTitle(), "BEARD");
  EXPECT_EQ(PageTag(), "2/2");

  Tap("INPUT_MOVE_LEFT_ONLY");
  EXPECT_EQ(NumberValue(0), "-1");
  EXPECT_TRUE(PlayerLook().Removed("beards_complete"));
  EXPECT_EQ(SaveValue("Character", "Beard Style"), "-1");

  host.ClearTrace();
  Tap("INPUT_MOVE_RIGHT_ONLY");
  EXPECT_EQ(NumberValue(0), "0");
  EXPECT_EQ(LayersApplied("beard_mr1_000"), 1);
}

TEST_F(CreatorPages, HairColourTintsBothHairAndBeard) {
  EnterCreator("Hair G=10\n");
  Open(kHair);
  Tap("INPUT_MOVE_DOWN_ONLY", 2);
  EXPECT_EQ(RowLabel(2), "Hair G");
  Tap("INPUT_MOVE_RIGHT_ONLY");
  EXPECT_EQ(NumberValue(2), "11");
  EXPECT_EQ(PlayerLook().Layer("mp_hair_mr1_000")->tint1, 11);
  EXPECT_EQ(PlayerLook().Layer("beard_mr1_000")->tint1, 11);
}

TEST_F(CreatorPages, AFemaleHasOneHairPageThatNeverTurns) {
  EnterCreator();
  GoToGenderRow();
  SwitchGender("INPUT_MOVE_RIGHT_ONLY");
  Tap("INPUT_GAME_MENU_CANCEL");
  Open(kHair);
  EXPECT_EQ(PageTitle(), "HAIR");
  EXPECT_EQ(PageTag(), "1/1");
  for (const char* turn : {"INPUT_MELEE_GRAPPLE_CHOKE", "INPUT_DIVE"}) {
    host.Press(turn, 0);
    host.RunFrame();
    host.RunFrame();
    EXPECT_EQ(PageTitle(), "HAIR") << turn;
    host.RunFrame();
    EXPECT_EQ(PageTag(), "1/1") << turn;
  }
  Tap("INPUT_MOVE_RIGHT_ONLY");
  EXPECT_NE(PlayerLook().Layer("mp_hair_fr1_001"), nullptr);
}

TEST_F(CreatorPages, BackFromTheFaceLeavesTheCloseCameraAndFromTheBodyKeepsTheView) {
  EnterCreator();
  Open(kFacialFeatures);
  EXPECT_EQ(host.world.cameras.Seen(), Camera(Creator.CloseCamera));
  Tap("INPUT_GAME_MENU_CANCEL");
  EXPECT_TRUE(Shows("CHARACTER"));
  EXPECT_EQ(host.world.cameras.Seen(), Camera(Creator.WideCamera));

  Tap("INPUT_MOVE_UP_ONLY", 2);  // up past the top: one frame without a highlight, then "HAIR"
  EXPECT_EQ(MainMenuHighlight(), kHair);
  Open(kBody);
  EXPECT_EQ(PageTitle(), "BODY (1/2)");
  EXPECT_EQ(host.world.cameras.Seen(), Camera(Creator.WideCamera));
}

// Every row of every male page walked with the cursor as a player would, in a creator opened on
// a save one step inside each row's range: the row's label, then two presses towards one end
// show that end and stay there, on screen, under the row's own key and on the ped, while no other
// row of the page moves. Once towards the top ends, once towards the bottom ends.
struct PageRow {
  const char* label;
  const char* key;  // null for the gender row, which changes the model instead
  int featureId;    // the game's face feature id; 0 for a number row
  int first = 0, last = 0;
};
struct CreatorPageRows {
  MainMenuRow stage;
  const char* title;
  const char* tag;
  std::vector<PageRow> rows;
};

const std::vector<CreatorPageRows>& MalePages() {
  static const std::vector<CreatorPageRows> pages = {
      {kFacialFeatures,
       "EYES",
       "1/10",
       {{"Eye Height", "Face Feature 1", 35627},
        {"Eye Width", "Face Feature 2", 7019},
        {"Eye Depth", "Face Feature 3", 60996},
        {"Eye Angle", "Face Feature 4", 53862},
        {"Eye H_POS", "Face Feature 5", 42318},
        {"Eye V_POS", "Face Feature 6", 56827}}},
      {kFacialFeatures,
       "NOSE",
       "2/10",
       {{"Nose Height", "Face Feature 7", 1013},
        {"Nose Width", "Face Feature 8", 28287},
        {"Nose Length", "Face Feature 9", 13425},
        {"Nose Tilt", "Face Feature 10", 13489},
        {"Nose Break", "Face Feature 11", 61782},
        {"Nostral Width", "Face Feature 12", 22046}}},
      {kFacialFeatures,
       "MOUTH",
       "3/10",
       {{"Mouth Width", "Face Feature 13", 61541},
        {"Mouth Depth", "Face Feature 14", 43625},
        {"Mouth H_POS", "Face Feature 15", 31427},
        {"Mouth V_POS", "Face Feature 16", 16653}}},
      {kFacialFeatures,
       "LIP",
       "4/10",
       {{"Upper Lip Thickness", "Face Feature 17", 6656},
        {"Upper Lip Width", "Face Feature 18", 37313},
        {"Upper Lip Depth", "Face Feature 19", 50037},
        {"Lower Lip Thickness", "Face Feature 20", 47949},
        {"Lower Lip Width", "Face Feature 21", 45232},
        {"Lower Lip Depth", "Face Feature 22", 23830}}},
      {kFacialFeatures,
       "CHIN",
       "5/10",
       {{"Chin Tilt", "Face Feature 23", 15375},
        {"Chin Width", "Face Feature 24", 50098},
        {"Chin Depth", "Face Feature 25", 58147}}},
      {kFacialFeatures,
       "JAW",
       "6/10",
       {{"Jaw Height", "Face Feature 26", 36106},
        {"Jaw Width", "Face Feature 27", 60334},
        {"Jaw Depth", "Face Feature 28", 7670}}},
      {kFacialFeatures,
       "CHEEK",
       "7/10",
       {{"Cheek Height", "Face Feature 29", 27147},
        {"Cheek Width", "Face Feature 30", 43983},
        {"Cheek Depth", "Face Feature 31", 13709}}},
      {kFacialFeatures,
       "EARS",
       "8/10",
       {{"Ear Size", "Face Feature 32", 49231},
        {"Ear Rotation", "Face Feature 33", 46798},
        {"Ear Length", "Face Feature 34", 10308},
        {"Ear Lobe", "Face Feature 35", 60720}}},
      {kFacialFeatures,
       "BROW",
       "9/10",
       {{"Brow Height", "Face Feature 36", 13059},
        {"Brow Width", "Face Feature 37", 12281},
        {"Brow Depth", "Face Feature 38", 19153}}},
      {kFacialFeatures,
       "EXTRAS",
       "10/10",
       {{"Face Width", "Face Feature 39", 34006},
        {"Neck Width", "Face Feature 40", 36277},
        {"Neck Depth", "Face Feature 41", 60890},
        {"Head Type", "Head Type", 0, 0, 27},
        {"Skin Type", "Skin Type", 0, 0, 5}}},
      {kBody,
       "BODY (1/2)",
       "1/2",
       {{"Shoulder Height", "Face Feature 42", 15833},
        {"Shoulder Width", "Face Feature 43", 50039},
        {"Shoulder Depth", "Face Feature 44", 7010},
        {"Traps", "Face Feature 45", 33485},
        {"Lats", "Face Feature 46", 18046},
        {"Forearm", "Face Feature 47", 8420},
        {"Upper Arm", "Face Feature 48", 46032},
        {"Chest Width", "Face Feature 49", 41478},
        {"Chest Depth", "Face Feature 50", 27779}}},
      {kBody,
       "BODY (2/2)",
       "2/2",
       {{"Belly Width", "Face Feature 51", 50460},
        {"Belly Depth", "Face Feature 52", 49787},
        {"Upper Legs", "Face Feature 53", 64834},
        {"Lower Legs", "Face Feature 54", 42067},
        {"Body Type", "Body Type", 0, 0, 20},
        {"Gender", nullptr, 0, 0, 1}}},
      {kHair,
       "HAIR",
       "1/2",
       {{"Hair Style", "Hair Style", 0, 0, 23},
        {"Hair R", "Hair R", 0, 0, 255},
        {"Hair G", "Hair G", 0, 0, 255},
        {"Hair B", "Hair B", 0, 0, 255}}},
      {kHair, "BEARD", "2/2", {{"Beard Style", "Beard Style", 0, -1, 51}}},
  };
  return pages;
}

class CreatorRows : public CreatorTest {
 protected:
  // A save whose every row stands one step inside the end it is pressed towards.
  static std::string OneStepInside(bool top) {
    std::string keys;
    for (const CreatorPageRows& page : MalePages()) {
      for (const PageRow& row : page.rows) {
        if (!row.key) continue;
        const std::string value = row.featureId
                                      ? (top ? "0.900000" : "-0.900000")
                                      : std::to_string(top ? row.last - 1 : row.first + 1);
        keys += std::string(row.key) + "=" + value + "\n";
      }
    }
    return keys;
  }

  static std::string Mesh(const char* prefix, int number) {
    char name[40];
    std::snprintf(name, sizeof name, "%s%03d", prefix, number);
    return name;
  }

  // The ped shows a number row's value (the hair colours on the hair style the walk left).
  ::testing::AssertionResult LookShows(const std::string& key, int value, int hairStyle) {
    const sim::PedLook& look = PlayerLook();
    bool shown = false;
    if (key == "Head Type") {
      shown = look.Layer(Mesh("mp_head_mr1_", value + 1).c_str()) != nullptr;
    } else if (key == "Skin Type") {
      char skin[40];
      std::snprintf(skin, sizeof skin, "mp_head_mr1_sc%02d_c0_000_ab", value);
      for (const auto& [mesh, layer] : look.layers)
        shown |= layer.albedo == sim::GameHash(skin);
    } else if (key == "Body Type") {
      shown = look.bodyType == (value == 0 ? 0x86155956u : 0x74D74B1Cu);
    } else if (key == "Hair Style") {
      shown = look.Layer(Mesh("mp_hair_mr1_", value).c_str()) != nullptr;
    } else if (key.starts_with("Hair ")) {
      const sim::TextureLayer* hair = look.Layer(Mesh("mp_hair_mr1_", hairStyle).c_str());
      const int32_t tint = !hair             ? -1
                           : key == "Hair R" ? hair->tint0
                           : key == "Hair G" ? hair->tint1
                                             : hair->tint2;
      shown = tint == value;
    } else if (key == "Beard Style") {
      shown = value == -1 ? look.Removed("beards_complete")
                          : look.Layer(Mesh("beard_mr1_", value).c_str()) != nullptr;
    }
    if (shown) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the ped does not show " << key << " " << value;
  }

  void WalkEveryRowTo(bool top) {
    EnterCreator(OneStepInside(top));
    const char* press = top ? "INPUT_MOVE_RIGHT_ONLY" : "INPUT_MOVE_LEFT_ONLY";
    const int hairStyle = top ? 23 : 0;
    MainMenuRow stage = kCreateCharacter;
    for (const CreatorPageRows& page : MalePages()) {
      if (page.stage != stage) {
        if (stage != kCreateCharacter) Tap("INPUT_GAME_MENU_CANCEL");
        stage = page.stage;
        Open(stage);
      } else {
        Tap("INPUT_MELEE_GRAPPLE_CHOKE");
      }
      ASSERT_EQ(PageTitle(), page.title);
      ASSERT_EQ(PageTag(), page.tag) << page.title;
      for (size_t i = 0; i < page.rows.size(); ++i) {
        const PageRow& row = page.rows[i];
        const int r = static_cast<int>(i);
        ASSERT_EQ(RowLabel(r), row.label) << page.title;
        ASSERT_EQ(HighlightedRow(), r) << row.label;
        if (row.key) {
          std::vector<std::string> shown;
          for (size_t j = 0; j < page.rows.size(); ++j)
            shown.push_back(page.rows[j].featureId ? FeatureValue(static_cast<int>(j))
                                                   : NumberValue(static_cast<int>(j)));
          Tap(press, 2);
          const int end = top ? row.last : row.first;
          if (row.featureId) {
            EXPECT_EQ(FeatureValue(r), top ? "1.00" : "-1.00") << row.label;
            EXPECT_EQ(SaveValue("Character", row.key), top ? "1.000000" : "-1.000000") << row.label;
            EXPECT_FLOAT_EQ(PlayerLook().faceFeatures[row.featureId], top ? 1.0f : -1.0f)
                << row.label;
          } else {
            EXPECT_EQ(NumberValue(r), std::to_string(end)) << row.label;
            EXPECT_EQ(SaveValue("Character", row.key), std::to_string(end)) << row.label;
            EXPECT_TRUE(LookShows(row.key, end, hairStyle)) << row.label;
          }
          for (size_t j = 0; j < page.rows.size(); ++j) {
            if (j == i) continue;
            const int other = static_cast<int>(j);
            EXPECT_EQ(page.rows[j].featureId ? FeatureValue(other) : NumberValue(other), shown[j])
                << page.rows[j].label << " moved with " << row.label;
          }
        }
        Tap("INPUT_MOVE_DOWN_ONLY");
      }
    }
  }
};

TEST_F(CreatorRows, EveryRowOfEveryPageStopsAtItsTopEnd) {
  WalkEveryRowTo(true);
}

TEST_F(CreatorRows, EveryRowOfEveryPageStopsAtItsBottomEnd) {
  WalkEveryRowTo(false);
}

// ---------------------------------------------------------------------------------------------

class CreatorGender : public CreatorTest {};

TEST_F(CreatorGender, EachChangeReattachesTheCloseCameraWithNoSideOffset) {
  EnterCreator();
  GoToGenderRow();
  SwitchGender("INPUT_MOVE_RIGHT_ONLY");
  EXPECT_EQ(PlayerModel(), sim::GameHash("MP_FEMALE"));
  EXPECT_EQ(NumberValue(5), "1");
  EXPECT_EQ(SaveValue("Character", "Gender"), "1");
  const sim::SimCamera* close = Camera(Creator.CloseCamera);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->attachedTo, host.world.player.ped);
  EXPECT_FLOAT_EQ(close->attachOffset.x, 0.0f);
  EXPECT_FLOAT_EQ(close->pointOffset.x, -0.3f);
  EXPECT_EQ(Camera(Creator.WideCamera)->pointedAt, host.world.player.ped);
  EXPECT_EQ(host.world.cameras.AnimOf(host.world.player.ped)->dict, kFemaleIdle);
  EXPECT_TRUE(PlayerLook().Removed("beards_complete"));
  EXPECT_NE(PlayerLook().Layer("mp_head_fr1_001"), nullptr);
  EXPECT_EQ(PlayerLook().ShopItems().front(), sim::GameHash("CLOTHING_ITEM_F_HAT_000_TINT_000"));
  // The new ped is held in place like the first, so the menu keys do not walk it.
  EXPECT_TRUE(host.world.cameras.Frozen(host.world.player.ped));

  SwitchGender("INPUT_MOVE_LEFT_ONLY");
  EXPECT_EQ(PlayerModel(), sim::GameHash("MP_MALE"));
  EXPECT_FLOAT_EQ(Camera(Creator.CloseCamera)->attachOffset.x, 0.0f);
  EXPECT_EQ(host.world.cameras.AnimOf(host.world.player.ped)->dict, kMaleIdle);
  EXPECT_EQ(SaveValue("Character", "Gender"), "0");
}

TEST_F(CreatorGender, TheRowOnlyOffersTheOtherGender) {
  EnterCreator();
  GoToGenderRow();
  host.ClearTrace();
  Tap("INPUT_MOVE_LEFT_ONLY");
  EXPECT_TRUE(host.Calls(ScreenFadeOut).empty());
  EXPECT_EQ(NumberValue(5), "0");
  SwitchGender("INPUT_MOVE_RIGHT_ONLY");
  host.ClearTrace();
  Tap("INPUT_MOVE_RIGHT_ONLY");
  EXPECT_TRUE(host.Calls(ScreenFadeOut).empty());
  EXPECT_EQ(NumberValue(5), "1");
}

// ---------------------------------------------------------------------------------------------

class CreatorFinish : public CreatorTest {};

void ExpectSameRecord(const CharacterRecord& saved, const CharacterRecord& loaded) {
  EXPECT_EQ(loaded.Gender, saved.Gender);
  for (int i = 0; i < kFaceFeatureCount; ++i)
    EXPECT_FLOAT_EQ(loaded.FaceFeatures[i], saved.FaceFeatures[i]) << kFaceFeatures[i].saveKey;
  EXPECT_EQ(loaded.HeadType, saved.HeadType);
  EXPECT_EQ(loaded.SkinType, saved.SkinType);
  EXPECT_EQ(loaded.BodyType, saved.BodyType);
  EXPECT_EQ(loaded.HairStyle, saved.HairStyle);
  EXPECT_EQ(loaded.HairR, saved.HairR);
  EXPECT_EQ(loaded.HairG, saved.HairG);
  EXPECT_EQ(loaded.HairB, saved.HairB);
  EXPECT_EQ(loaded.BeardStyle, saved.BeardStyle);
}

TEST_F(CreatorFinish, AFullCreationIsSavedAndLoadsBackAsTheSameCharacter) {
  EnterCreator();

  Open(kFacialFeatures);
  Tap("INPUT_MOVE_RIGHT_ONLY");  // "Eye Height"
  Tap("INPUT_DIVE");
  host.RunFrame();
  Tap("INPUT_MOVE_UP_ONLY");  // "Skin Type", the row before the top
  host.RunFrame();
  Tap("INPUT_MOVE_RIGHT_ONLY", 2);
  Tap("INPUT_MOVE_UP_ONLY");  // "Head Type"
  Tap("INPUT_MOVE_RIGHT_ONLY", 3);
  Tap("INPUT_MOVE_UP_ONLY", 2);
  Tap("INPUT_MOVE_LEFT_ONLY");  // "Neck Width"
  Tap("INPUT_GAME_MENU_CANCEL");

  GoToGenderRow();
  Tap("INPUT_MOVE_UP_ONLY");  // "Body Type"
  Tap("INPUT_MOVE_RIGHT_ONLY", 4);
  Tap("INPUT_MOVE_DOWN_ONLY");
  SwitchGender("INPUT_MOVE_RIGHT_ONLY");
  SwitchGender("INPUT_MOVE_LEFT_ONLY");
  Tap("INPUT_GAME_MENU_CANCEL");

  Open(kHair);
  ASSERT_EQ(PageTitle(), "HAIR");
  Tap("INPUT_MOVE_RIGHT_ONLY", 5);  // "Hair Style"
  Tap("INPUT_MOVE_DOWN_ONLY");
  Tap("INPUT_MOVE_RIGHT_ONLY", 40);  // "Hair R"
  Tap("INPUT_MELEE_GRAPPLE_CHOKE");
  host.RunFrame();
  Tap("INPUT_MOVE_RIGHT_ONLY", 7);  // "Beard Style"
  Tap("INPUT_GAME_MENU_CANCEL");

  const CharacterRecord made = Character;
  EXPECT_EQ(SaveValue("Character", "Head Type"), "3");
  EXPECT_EQ(SaveValue("Character", "Skin Type"), "2");
  EXPECT_EQ(SaveValue("Character", "Body Type"), "4");
  EXPECT_EQ(SaveValue("Character", "Hair Style"), "5");
  EXPECT_EQ(SaveValue("Character", "Hair R"), "40");
  EXPECT_EQ(SaveValue("Character", "Beard Style"), "7");
  EXPECT_EQ(SaveValue("Character", "Gender"), "0");
  EXPECT_EQ(SaveValue("Character", "Face Feature 1"), "0.100000");
  EXPECT_EQ(SaveValue("Character", "Face Feature 40"), "-0.100000");

  // The finish resets the ped inside its fade, while the frame loop waits on it: what a game
  // session left there is replaced by a fresh character's 200 health, full cores and dead eye at
  // level 0 with every ability slot locked, the fifth included, seen before the frame steps
  // after it set their own.
  const size_t fadesBefore = host.world.blips.fades.size();
  Open(kCreateCharacter);
  ASSERT_TRUE(host.RunUntil(
      [&] {
        const auto& fades = host.world.blips.fades;
        return fades.size() > fadesBefore && fades.back().out && fades.back().ms == 1000;
      },
      60));
  sim::ScenePed& ped = host.world.scene.peds[host.world.player.ped];
  ped.maxHealth = 350;
  for (int core = 0; core <= 2; ++core)
    ped.attributeCores[core] = 40;
  for (int slot = 0; slot <= 6; ++slot)
    host.world.scene.deadEyeLocked[slot] = false;
  host.world.scene.deadEyeLevel = 3;
  ASSERT_TRUE(
      host.RunUntil([&] { return std::fabs(host.PlayerPosition().x - 2896.257f) < 0.01f; }, 300));
  const sim::ScenePed& fresh = host.world.scene.peds[host.world.player.ped];
  EXPECT_EQ(fresh.maxHealth, 200);
  for (int core = 0; core <= 2; ++core)
    EXPECT_EQ(fresh.attributeCores.at(core), 100) << core;
  for (int slot = 1; slot <= 5; ++slot)
    EXPECT_TRUE(host.world.scene.deadEyeLocked[slot]) << "slot " << slot;
  EXPECT_FALSE(host.world.scene.deadEyeLocked[6]);
  EXPECT_EQ(host.world.scene.deadEyeLevel, 0);
  ASSERT_TRUE(
      host.RunUntil([&] { return SaveValue("Character", "Create Character") == "True"; }, 600));
  host.RunFrames(3);

  EXPECT_EQ(host.world.cameras.LiveCameras(), 0);
  EXPECT_FALSE(host.world.cameras.rendering);
  const Vector3 at = host.PlayerPosition();
  EXPECT_FLOAT_EQ(at.x, kStoryStart.x);
  EXPECT_FLOAT_EQ(at.y, kStoryStart.y);
  EXPECT_FALSE(host.world.cameras.Frozen(host.world.player.ped));
  EXPECT_EQ(host.world.cameras.motionStates[host.world.player.ped].state,
            sim::GameHash("motionstate_walk"));
  ASSERT_FALSE(host.world.cameras.alignments.empty());
  EXPECT_FLOAT_EQ(host.world.cameras.alignments.back().heading, kStoryStartHeading);
  EXPECT_FALSE(host.world.ui.TextureDictLoaded("menu_textures"));
  EXPECT_EQ(host.world.blips.Named(kEntryBlipName), nullptr);
  EXPECT_NE(PlayerLook().Layer("beard_mr1_007"), nullptr);  // dressed as made, not re-applied

  host.LoadPlugin();
  ASSERT_TRUE(host.RunScript([] { LoadCharacterRecord(); }));
  EXPECT_TRUE(Campaign.characterCreated);
  ExpectSameRecord(made, Character);
}

TEST_F(CreatorFinish, BrowDepthIsFoundAgainUnderItsOwnKeyAfterAReload) {
  EnterCreator();
  Open(kFacialFeatures);
  Tap("INPUT_MELEE_GRAPPLE_CHOKE", 8);
  ASSERT_EQ(PageTitle(), "BROW");
  Tap("INPUT_MOVE_DOWN_ONLY", 2);
  ASSERT_EQ(RowLabel(2), "Brow Depth");
  Tap("INPUT_MOVE_LEFT_ONLY", 2);
  Tap("INPUT_MOVE_RIGHT_ONLY");
  EXPECT_EQ(FeatureValue(2), "-0.10");
  EXPECT_EQ(SaveValue("Character", "Face Feature 38"), "-0.100000");

  host.LoadPlugin();
  host.RunFrames(2);
  WalkIntoCreator();
  Open(kFacialFeatures);
  Tap("INPUT_MELEE_GRAPPLE_CHOKE", 8);
  Tap("INPUT_MOVE_DOWN_ONLY", 2);
  EXPECT_EQ(FeatureValue(2), "-0.10");
}

TEST_F(CreatorFinish, WithACharacterTheCreatorParksAndMakesNoBlip) {
  WriteSave("[Character]\nCreate Character=True\n");
  host.LoadPlugin();
  host.RunFrames(5);
  EXPECT_EQ(host.world.blips.Named(kEntryBlipName), nullptr);
  StandEastOfEntry(0.5f);
  host.Press("INPUT_LOOT", 2);
  host.RunFrames(5);
  EXPECT_EQ(HelpNoticesOfEntry(), 0);
  EXPECT_TRUE(host.world.cameras.teleports.empty());
}

TEST_F(CreatorFinish, ValuesChosenBeforeLeavingTheGameAreKept) {
  EnterCreator();
  Open(kFacialFeatures);
  Tap("INPUT_MOVE_DOWN_ONLY", 2);  // "Eye Depth"
  Tap("INPUT_MOVE_LEFT_ONLY", 3);

  host.LoadPlugin();
  host.RunFrames(2);
  EXPECT_NE(host.world.blips.Named(kEntryBlipName), nullptr);  // not made: offered again
  WalkIntoCreator();
  Open(kFacialFeatures);
  Tap("INPUT_MOVE_DOWN_ONLY", 2);
  EXPECT_EQ(FeatureValue(2), "-0.30");
}

}  // namespace
}  // namespace brimvale
