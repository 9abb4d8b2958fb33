// The creator's main menu and its face, body and hair pages. Each page is a row table; the
// highlighted row is edited with A and D, written to its save key at once and shown on the ped at
// once. Row and page cursors are wrapped at the start of the next frame, so a move past either end
// shows no highlight (or no page) for one frame.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <span>

#include "character/appearance.h"
#include "character/character_record.h"
#include "character/creator.h"
#include "character/creator_pages.h"
#include "core/native/natives.h"
#include "save/store.h"
#include "ui/editor_rows.h"
#include "ui/toolkit.h"

namespace brimvale {
namespace {

constexpr const char* kSection = "Character";

enum class RowKind { Feature, HeadOrSkin, BodyType, Gender, HairStyle, HairTint, BeardStyle };

struct PageRow {
  RowKind kind;
  int feature;        // 1 .. 54 for feature rows
  const char* label;  // number rows; a feature row takes its label from the feature table
  int32_t CharacterRecord::*field;
  int32_t min;
  int32_t max;
};

constexpr PageRow Feature(int n) {
  return {RowKind::Feature, n, nullptr, nullptr, 0, 0};
}

// Every number row's save key is its label.
constexpr PageRow Number(RowKind kind, const char* label, int32_t CharacterRecord::*field,
                         int32_t min, int32_t max) {
  return {kind, 0, label, field, min, max};
}

struct MenuPage {
  const char* title;
  const char* tag;
  std::span<const PageRow> rows;
};

constexpr PageRow kEyesRows[] = {Feature(1), Feature(2), Feature(3),
                                 Feature(4), Feature(5), Feature(6)};
constexpr PageRow kNoseRows[] = {Feature(7),  Feature(8),  Feature(9),
                                 Feature(10), Feature(11), Feature(12)};
constexpr PageRow kMouthRows[] = {Feature(13), Feature(14), Feature(15), Feature(16)};
constexpr PageRow kLipRows[] = {Feature(17), Feature(18), Feature(19),
                                Feature(20), Feature(21), Feature(22)};
constexpr PageRow kChinRows[] = {Feature(23), Feature(24), Feature(25)};
constexpr PageRow kJawRows[] = {Feature(26), Feature(27), Feature(28)};
constexpr PageRow kCheekRows[] = {Feature(29), Feature(30), Feature(31)};
constexpr PageRow kEarsRows[] = {Feature(32), Feature(33), Feature(34), Feature(35)};
constexpr PageRow kBrowRows[] = {Feature(36), Feature(37), Feature(38)};
constexpr PageRow kExtrasRows[] = {
    Feature(39),
    Feature(40),
    Feature(41),
    Number(RowKind::HeadOrSkin, "Head Type", &CharacterRecord::HeadType, 0, kHeadCount - 1),
    Number(RowKind::HeadOrSkin, "Skin Type", &CharacterRecord::SkinType, 0, kSkinCount - 1),
};
constexpr PageRow kBodyRows1[] = {Feature(42), Feature(43), Feature(44), Feature(45), Feature(46),
                                  Feature(47), Feature(48), Feature(49), Feature(50)};
constexpr PageRow kBodyRows2[] = {
    Feature(51),
    Feature(52),
    Feature(53),
    Feature(54),
    Number(RowKind::BodyType, "Body Type", &CharacterRecord::BodyType, 0, kBodyTypeCount - 1),
    Number(RowKind::Gender, "Gender", &CharacterRecord::Gender, 0, 1),
};
constexpr PageRow kHairRows[] = {
    Number(RowKind::HairStyle, "Hair Style", &CharacterRecord::HairStyle, 0, kHairStyleCount - 1),
    Number(RowKind::HairTint, "Hair R", &CharacterRecord::HairR, 0, 255),
    Number(RowKind::HairTint, "Hair G", &CharacterRecord::HairG, 0, 255),
    Number(RowKind::HairTint, "Hair B", &CharacterRecord::HairB, 0, 255),
};
constexpr PageRow kBeardRows[] = {
    Number(RowKind::BeardStyle, "Beard Style", &CharacterRecord::BeardStyle, -1,
           kBeardStyleCount - 1),
};

constexpr MenuPage kFacePages[] = {
    {"EYES", "1/10", kEyesRows},      {"NOSE", "2/10", kNoseRows}, {"MOUTH", "3/10", kMouthRows},
    {"LIP", "4/10", kLipRows},        {"CHIN", "5/10", kChinRows}, {"JAW", "6/10", kJawRows},
    {"CHEEK", "7/10", kCheekRows},    {"EARS", "8/10", kEarsRows}, {"BROW", "9/10", kBrowRows},
    {"EXTRAS", "10/10", kExtrasRows},
};
constexpr MenuPage kBodyPages[] = {
    {"BODY (1/2)", "1/2", kBodyRows1},
    {"BODY (2/2)", "2/2", kBodyRows2},
};
constexpr MenuPage kMaleHairPages[] = {
    {"HAIR", "1/2", kHairRows},
    {"BEARD", "2/2", kBeardRows},
};
constexpr MenuPage kFemaleHairPages[] = {
    {"HAIR", "1/1", kHairRows},
};

struct TitleLine {
  const char* text;
  float x;
  float y;
};

// What sets one page stage apart from the others: its heading and its two icons.
struct StageFrame {
  TitleLine heading[2];  // a null text draws nothing
  const char* iconDict;
  const char* leftIcon;   // at kEditorLeftIcon
  const char* rightIcon;  // at kRightIcon
};

constexpr StageFrame kFaceFrame{{{"FACIAL", 0.6f, 0.1f}, {"FEATURES", 0.63f, 0.2f}},
                                "shaving_menu",
                                "clean_shaven",
                                "clean_shaven"};
constexpr StageFrame kBodyFrame{{{"BODY", 0.65f, 0.15f}, {nullptr, 0.0f, 0.0f}},
                                "toast_log_blips",
                                "blip_ambient_gang_leader",
                                "blip_ambient_gang_leader"};
constexpr StageFrame kHairFrame{{{"HAIR", 0.65f, 0.15f}, {nullptr, 0.0f, 0.0f}},
                                "shaving_menu",
                                "beard_full",
                                "hair_part_right"};

struct MainMenuEntry {
  CreatorStageId opens;
  float boxY;
  const char* label;
  float labelX;
  float labelY;
  float scale;
};

constexpr MainMenuEntry kMainMenu[] = {
    {kCreatorFacialFeatures, 0.42f, "FACIAL FEATURES", 0.555f, 0.385f, 0.5f},
    {kCreatorBody, 0.53f, "BODY", 0.555f, 0.495f, 0.9f},
    {kCreatorHair, 0.64f, "HAIR", 0.555f, 0.605f, 0.9f},
    {kCreatorFinish, 0.81f, "CREATE CHARACTER", 0.565f, 0.785f, 0.0f},
};
constexpr int kMainMenuRows = 4;

// The creator's own layout on the editor panel's (ui/editor_rows.h).
constexpr float kFeatureValueX = 0.775f;
constexpr float kNumberValueX = 0.79f;
constexpr ScreenRect kRightIcon{0.82f, 0.17f, 0.1f, 0.1f};
constexpr ScreenRect kMainMenuRightIcon{0.82f, 0.22f, 0.1f, 0.1f};
constexpr float kMainMenuRightIconHeading = 180.0f;
constexpr float kMainMenuBoxHeight = 0.1f;

void DrawStageFrame(const StageFrame& frame) {
  for (const TitleLine& line : frame.heading) {
    if (line.text) DrawTitleText(line.text, line.x, line.y, kScreenTitleScale, kScreenTitleScale);
  }
  DrawEditorPanel();
  DrawEditorRules();
  DrawEditorHeader();
  DrawScreenSprite(frame.iconDict, frame.leftIcon, kEditorLeftIcon);
  DrawScreenSprite(frame.iconDict, frame.rightIcon, kRightIcon);
}

// The creator's scenes are dressed as a male unless the record says female; the look pieces do
// nothing for any other number, which a hand-edited save could hold.
int32_t LookGender() {
  return Character.Gender == 1 ? 1 : 0;
}

const char* RowLabel(const PageRow& row) {
  return row.kind == RowKind::Feature ? kFaceFeatures[row.feature - 1].label : row.label;
}

// "%f" cut two characters after the point: 0.1 shows "0.10", -0.3 shows "-0.30".
void FeatureValueText(float value, char (&out)[64]) {
  std::snprintf(out, sizeof out, "%f", static_cast<double>(value));
  if (char* point = std::strchr(out, '.'); point && std::strlen(point) > 3) point[3] = '\0';
}

// The row as the shared editor layout draws it: a feature shows its value with two decimals, a
// number row in decimal a little further right.
void FillEditorRow(const PageRow& row, EditorRow& out) {
  out.label = RowLabel(row);
  if (row.kind == RowKind::Feature) {
    FeatureValueText(Character.FaceFeatures[row.feature - 1], out.value);
    out.valueX = kFeatureValueX;
  } else {
    std::snprintf(out.value, sizeof out.value, "%d", Character.*row.field);
    out.valueX = kNumberValueX;
  }
}

void StepFeature(const PageRow& row, int direction) {
  const Ped ped = PlayerPed();
  const FaceFeature& feature = kFaceFeatures[row.feature - 1];
  float& value = Character.FaceFeatures[row.feature - 1];
  UpdateVariationLight(ped);
  EditorSound(direction > 0 ? "NAV_RIGHT" : "NAV_LEFT");
  // Tested before the step, so ten raises from 0.0 end just above 1.0.
  if (direction > 0 ? value < 1.0f : value > -1.0f) {
    value = direction > 0 ? value + 0.1f : value - 0.1f;
    WriteFloat("Character", feature.saveKey, value);
  }
  SetPedFaceFeature(ped, feature.id, value);
  UpdateVariationFull(ped);
}

// One step inside the row's limits. A hand-edited value outside them is brought back to the
// nearest limit by the first press instead, so it never indexes past a table for long and the
// player need not press many times before anything changes. True when the value changed.
bool StepNumber(const PageRow& row, int direction) {
  int32_t& value = Character.*row.field;
  if (value < row.min || value > row.max) {
    value = std::clamp(value, row.min, row.max);
  } else if (direction > 0 ? value < row.max : value > row.min) {
    value += direction;
  } else {
    return false;
  }
  WriteInt(kSection, row.label, value);
  return true;
}

// Edits the highlighted row; false when the edit has left the stage (the gender change).
bool EditRow(const PageRow& row, int direction) {
  const Ped ped = PlayerPed();
  const char* sound = direction > 0 ? "NAV_RIGHT" : "NAV_LEFT";
  switch (row.kind) {
    case RowKind::Feature:
      StepFeature(row, direction);
      break;
    case RowKind::HeadOrSkin:
      EditorSound(sound);
      StepNumber(row, direction);
      ApplyHeadLayer(ped, LookGender());
      UpdateVariationLight(ped);
      break;
    case RowKind::BodyType:
      UpdateVariationLight(ped);
      EditorSound(sound);
      StepNumber(row, direction);
      ApplyBodyType(ped);
      UpdateVariationFull(ped);
      break;
    case RowKind::Gender:
      EditorSound(sound);
      if (direction > 0 && Character.Gender < 1) {
        ChangeCreatorGender(1);
        return false;
      }
      if (direction < 0 && Character.Gender >= 1) {
        ChangeCreatorGender(0);
        return false;
      }
      break;
    case RowKind::HairStyle:
      UpdateVariationLight(ped);
      EditorSound(sound);
      StepNumber(row, direction);
      ApplyHairLayer(ped, LookGender());
      UpdateVariationFull(ped);
      break;
    case RowKind::HairTint:
      UpdateVariationLight(ped);
      EditorSound(sound);
      StepNumber(row, direction);
      if (LookGender() == 0) ApplyBeardStep(ped, 0);  // the beard shares the hair's tint
      ApplyHairLayer(ped, LookGender());
      UpdateVariationFull(ped);
      break;
    case RowKind::BeardStyle:
      UpdateVariationLight(ped);
      EditorSound(sound);
      StepNumber(row, direction);
      // "No beard" has no layer to put on: the category is removed after the update instead.
      if (Character.BeardStyle != -1) ApplyBeardStep(ped, LookGender());
      UpdateVariationFull(ped);
      if (Character.BeardStyle == -1) ApplyBeardStep(ped, LookGender());
      break;
  }
  return true;
}

void LeavePageStage() {
  EditorSound("BACK");
  // The body stage is seen through the wide camera, so it has nothing to switch back.
  if (Creator.CreatorStage != kCreatorBody) SetCameraActive(Creator.CloseCamera, false);
  Creator.CreatorStage = kCreatorMainMenu;
}

// One frame of a page stage: the frame, the current page's rows with the highlighted one edited,
// the cursors, and the way back to the main menu.
void RunPageStage(const StageFrame& frame, std::span<const MenuPage> pages, bool pagesTurn) {
  const CreatorStageId stage = Creator.CreatorStage;
  DrawStageFrame(frame);
  const int pageCount = static_cast<int>(pages.size());
  const bool pageShown = Creator.CreatorPage >= 0 && Creator.CreatorPage < pageCount;
  if (pageShown) {
    const MenuPage& page = pages[static_cast<size_t>(Creator.CreatorPage)];
    DrawTitleText(page.title, kPageTitleX, kPageTitleY, kRowTextScale, kRowTextScale);
    DrawTitleText(page.tag, kPageTagX, kPageTagY, kRowTextScale, kRowTextScale);
    const int rowCount = static_cast<int>(page.rows.size());
    EditorRow shown[kEditorRowsPerPage];
    const int drawn = std::min(rowCount, kEditorRowsPerPage);
    for (int i = 0; i < drawn; ++i) {
      FillEditorRow(page.rows[static_cast<size_t>(i)], shown[i]);
    }
    const EditorRowEdit edit = RunEditorRows(
        std::span<const EditorRow>(shown, static_cast<size_t>(drawn)), Creator.CreatorRow);
    if (edit.row >= 0) {
      const PageRow& row = page.rows[static_cast<size_t>(edit.row)];
      if (edit.raise && !EditRow(row, +1)) return;
      if (edit.lower && !EditRow(row, -1)) return;
    }
    MoveEditorRow(Creator.CreatorRow, rowCount);
  }
  DrawEditorHints("Q/E - Prev/Next Page", "W/A/S/D - Navigation/Set Option");
  if (pagesTurn) TurnEditorPage(Creator.CreatorPage, Creator.CreatorRow, pageCount);
  if (Creator.CreatorStage == stage && EditorPressed("INPUT_GAME_MENU_CANCEL")) LeavePageStage();
}

void ChooseMainMenuRow() {
  // The frame after a move past either end has no row until it is wrapped.
  if (Creator.MainMenuRow < 0 || Creator.MainMenuRow >= kMainMenuRows) return;
  const CreatorStageId opens = kMainMenu[Creator.MainMenuRow].opens;
  if (opens == kCreatorFinish) {
    PlayFrontendSound("REWARD_NEW_GUN", "HUD_REWARD_SOUNDSET", 1, 0);
    SetCameraActive(Creator.CloseCamera, true);
  } else {
    EditorSound("SELECT");
    // The body is seen whole through the wide camera; face and hair close up.
    if (opens != kCreatorBody) SetCameraActive(Creator.CloseCamera, true);
    Creator.CreatorRow = 0;
    Creator.CreatorPage = 0;
  }
  Creator.CreatorStage = opens;
}

}  // namespace

void RunCreatorMainMenu() {
  DrawTitleText("CHARACTER", 0.6f, 0.1f, kScreenTitleScale, kScreenTitleScale);
  DrawTitleText("CREATOR", 0.63f, 0.2f, kScreenTitleScale, kScreenTitleScale);
  DrawEditorPanel();
  DrawEditorHeader();
  DrawScreenSprite("shaving_menu", "preset_1", kEditorLeftIcon);
  DrawScreenSprite("shaving_menu", "scissors", kMainMenuRightIcon, kWhite,
                   kMainMenuRightIconHeading);
  DrawEditorRules();
  for (const MainMenuEntry& entry : kMainMenu) {
    DrawScreenSprite("generic_textures", "selection_box_bg_1c",
                     {kRowBoxX, entry.boxY, kRowBoxWidth, kMainMenuBoxHeight}, kRowBoxColour);
    DrawTitleText(entry.label, entry.labelX, entry.labelY, entry.scale, entry.scale);
  }
  DrawEditorHints("W/S - Navigation", "Enter - Select");
  if (EditorPressed("INPUT_FRONTEND_ACCEPT")) ChooseMainMenuRow();
  MoveEditorRow(Creator.MainMenuRow, kMainMenuRows);
  // A row just moved past either end has no box until it is wrapped in the next frame.
  if (Creator.MainMenuRow >= 0 && Creator.MainMenuRow < kMainMenuRows) {
    DrawScreenSprite(
        "menu_textures", "calendar_bg_large",
        {kRowBoxX, kMainMenu[Creator.MainMenuRow].boxY, kRowBoxWidth, kMainMenuBoxHeight},
        kRowHighlight);
  }
}

void RunFacialFeaturesPages() {
  RunPageStage(kFaceFrame, kFacePages, true);
}

void RunBodyPages() {
  RunPageStage(kBodyFrame, kBodyPages, true);
}

void RunHairPages() {
  // A female has one hair page and no beard, so her page cursor never turns.
  if (Character.Gender == 1) {
    RunPageStage(kHairFrame, kFemaleHairPages, false);
  } else {
    RunPageStage(kHairFrame, kMaleHairPages, true);
  }
}

}  // namespace brimvale
