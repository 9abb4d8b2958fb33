#include "menu/interaction_menu.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "character/character_record.h"
#include "character/outfit.h"
#include "core/native/natives.h"
#include "core/native/player_model.h"
#include "core/native/waits.h"
#include "menu/walk_styles.h"
#include "save/store.h"
#include "ui/editor_rows.h"
#include "ui/screens.h"
#include "ui/toolkit.h"

namespace brimvale {

InteractionMenuState InteractionMenu;

namespace {

enum class Panel { Main, PlayerOptions, WalkStyles };

struct PanelTitle {
  const char* text;
  float x;
};

constexpr PanelTitle kPanelTitles[] = {
    {"INTERACTION MENU", 0.112f}, {"PLAYER OPTIONS", 0.122f}, {"WALK STYLES", 0.137f}};

struct PlayerOption {
  const char* label;
  float labelX;
  float labelY;
  float boxY;
  const char* description;
};

constexpr int kPlayerOptionCount = 4;
constexpr PlayerOption kPlayerOptions[kPlayerOptionCount] = {
    {"RESPAWN", 0.165f, 0.312f, 0.327f, "Take the easy way out. (Warning: This will kill you)"},
    {"RESET CHARACTER", 0.142f, 0.362f, 0.377f, "Reset your character model if it breaks."},
    {"EQUIP OUTFIT", 0.155f, 0.412f, 0.427f, "Reset your characters outfit on the go."},
    {"WALK STYLES", 0.154f, 0.462f, 0.477f, "Set your characters walk style."},
};
enum PlayerOptionRow { kRespawn, kResetCharacter, kEquipOutfit, kWalkStylesRow };

constexpr const char* kDisabledControls[] = {
    "INPUT_SPRINT",
    "INPUT_HORSE_SPRINT",
    "INPUT_VEH_PUSHBIKE_SPRINT",
    "INPUT_TOGGLE_HOLSTER",
    "INPUT_MELEE_ATTACK",
    "INPUT_ATTACK",
    "INPUT_MELEE_GRAPPLE_ATTACK",
    "INPUT_HORSE_MELEE",
    "INPUT_HORSE_ATTACK",
    "INPUT_SPECIAL_ABILITY",
    "INPUT_SECONDARY_SPECIAL_ABILITY_SECONDARY",
    "INPUT_COVER",
};

// The panel's layout, as fractions of the screen; the rows' places are in their tables above.
constexpr float kBoxX = 0.196f;
constexpr float kBoxWidth = 0.24f;
constexpr float kOptionBoxHeight = 0.05f;
constexpr float kStyleBoxHeight = 0.04f;
constexpr float kStyleLabelTop = 0.306f;
constexpr float kStyleBoxTop = 0.321f;
constexpr float kStylePitch = 0.04f;
constexpr float kMainRowBoxY = 0.327f;
constexpr ScreenRect kBackdrop{0.2f, 0.5f, 0.3f, 0.9f};
constexpr ScreenRect kHeader{0.2f, 0.16f, 0.23f, 0.11f};
constexpr float kDividerHeight = 0.005f;
constexpr float kDividerTopY = 0.3f;
constexpr float kDividerBottomY = 0.8f;
constexpr int32_t kFadeStep = 25;
constexpr int32_t kResetMs = 2000;
constexpr int32_t kReturnMs = 2000;  // Quit's eased return of the view

// The fade runs MenuAlpha to 275 and back; the game is only ever handed 0..255.
int32_t DrawnAlpha() {
  return std::clamp(InteractionMenu.MenuAlpha, 0, 255);
}

// Every part of the menu fades together.
Colour Faded(int32_t r, int32_t g, int32_t b) {
  return {r, g, b, DrawnAlpha()};
}

void Text(const char* text, float x, float y, float scale, int32_t r = 255, int32_t g = 255,
          int32_t b = 255) {
  DrawText(text, x, y, scale, scale, r, g, b, DrawnAlpha());
}

void RowBox(float y, float height, int32_t r, int32_t g, int32_t b) {
  DrawScreenSprite("generic_textures", "selection_box_bg_1b", {kBoxX, y, kBoxWidth, height},
                   Faded(r, g, b));
}

void Sound(const char* name) {
  PlayMenuSound(name, "HUD_SHOP_SOUNDSET", 0);
}

void LensSound(const char* name) {
  PlayFrontendSound(name, "Photo_Mode_Sounds", 1, 1);
}

bool Pressed(const char* control) {
  return ControlJustPressed(kMenuPad, HashName(control));
}

void DisableMenuControls() {
  for (const char* control : kDisabledControls) {
    DisableControlThisFrame(kMenuPad, HashName(control), 1);
  }
}

float StyleLabelY(int row) {
  return kStyleLabelTop + kStylePitch * static_cast<float>(row);
}

float StyleBoxY(int row) {
  return kStyleBoxTop + kStylePitch * static_cast<float>(row);
}

void DrawPanel(Panel panel) {
  DrawScreenSprite("menu_textures", "translate_bg_1a", kBackdrop, Faded(0, 0, 0));
  DrawScreenSprite("generic_textures", "menu_header_1a", kHeader, Faded(255, 255, 255));
  const PanelTitle& title = kPanelTitles[static_cast<int>(panel)];
  Text(title.text, title.x, 0.14f, 0.6f);
  Text(Screens.TrainRobberyActive ? "ON MISSION" : "FREE ROAM", 0.162f, 0.22f, 0.4f);
  const char* name = GetPlayerName(PlayerIndex());
  Text(name ? name : "", 0.15f, 0.27f, 0.4f);
  for (float y : {kDividerTopY, kDividerBottomY}) {
    DrawScreenSprite("menu_textures", "divider_line", {kBoxX, y, kBoxWidth, kDividerHeight},
                     Faded(255, 255, 255));
  }
  switch (panel) {
    case Panel::Main:
      Text("PLAYER OPTIONS", 0.147f, 0.312f, 0.5f, 255, 0, 0);
      RowBox(kMainRowBoxY, kOptionBoxHeight, 255, 255, 255);
      break;
    case Panel::PlayerOptions:
      for (const PlayerOption& option : kPlayerOptions) {
        Text(option.label, option.labelX, option.labelY, 0.5f, 255, 0, 0);
        RowBox(option.boxY, kOptionBoxHeight, 255, 255, 255);
      }
      break;
    case Panel::WalkStyles:
      for (int row = 0; row < kWalkStyleCount; ++row) {
        Text(kWalkStyles[row].label, kWalkStyles[row].labelX, StyleLabelY(row), 0.5f, 255, 0, 0);
        RowBox(StyleBoxY(row), kStyleBoxHeight, 255, 255, 255);
      }
      break;
  }
}

void HoldMainPanel() {
  DisableMenuControls();
  DrawPanel(Panel::Main);
}

void HoldWalkStylesPanel() {
  DisableMenuControls();
  DrawPanel(Panel::WalkStyles);
}

// The dictionary is asked for every 500 ms, the controls held in every frame of the wait.
void LoadMenuTextureDict(const char* name) {
  while (!HasTextureDictLoaded(name)) {
    RequestTextureDict(name, true);
    WaitMs(500, DisableMenuControls);
  }
}

// A closed menu leaves nothing behind: script rendering stops and its camera goes. Destroying it
// is on purpose: otherwise each opening would leave a camera behind in the game.
void ReleaseMenuCamera() {
  if (InteractionMenu.MenuCamera) DestroyCamera(InteractionMenu.MenuCamera, 1);
  InteractionMenu.MenuCamera = {};
  InteractionMenu.CameraReturning = false;
}

// After Quit the camera goes only once the eased return over 2000 ms is over: destroyed earlier,
// it could cut the return short.
void ReleaseReturnedCamera() {
  if (!InteractionMenu.CameraReturning) return;
  if (TimerBefore(GameTimer(), InteractionMenu.CameraReturnEndsAt)) return;
  ReleaseMenuCamera();
}

// Blocks about 1.5 s: the camera turns to the player, then the main panel fades in.
void OpenMenu() {
  DisableMenuControls();
  Screens.InteractionMenuOpen = true;
  const Ped ped = PlayerPed();
  SetPedSceneFlag(ped, kSceneFlagOwnScene, 0, 0, 0);
  ReleaseMenuCamera();
  const Cam camera = CreateCameraByName("DEFAULT_SCRIPTED_CAMERA", 1);
  InteractionMenu.MenuCamera = camera;
  AttachCameraToEntity(camera, ped, {0.0f, -4.0f, 0.6f}, 1);
  PointCameraAtEntity(camera, ped, {-0.5f, 0.0f, 0.0f}, 1);
  SetCameraFov(camera, 30.0f);
  SetCameraActive(camera, true);
  LoadMenuTextureDict("menu_textures");
  LoadMenuTextureDict("generic_textures");
  SetRadarFlag(0);
  RenderScriptCameras(true, 1, 2000, 0, 0, 0);
  WaitMs(1000, DisableMenuControls);
  LensSound("lens_up");
  InteractionMenu.InteractionRow = 0;
  while (InteractionMenu.MenuAlpha < 255) {
    SetGameplayCameraRelativeHeading(0.0f, 1.0f);
    HoldMainPanel();
    InteractionMenu.MenuAlpha += kFadeStep;
    ScriptWait(0);
  }
  HoldMainPanel();
  InteractionMenu.MenuState = kMenuMainPage;
}

void QuitMenu() {
  Sound("QUIT");
  SetRadarFlag(1);
  HoldTransitionFlag(1);
  RenderScriptCameras(false, 1, kReturnMs, 0, 0, 0);
  InteractionMenu.CameraReturnEndsAt = TimerAfter(GameTimer(), kReturnMs);
  LensSound("lens_down");
  while (InteractionMenu.MenuAlpha > 0) {
    SetGameplayCameraRelativeHeading(0.0f, 1.0f);
    HoldMainPanel();
    InteractionMenu.MenuAlpha -= kFadeStep;
    ScriptWait(0);
  }
  HoldMainPanel();
  // The camera stays for the rest of the return; the closed menu releases it (or an opening
  // before then does, so no camera is ever left behind).
  InteractionMenu.CameraReturning = InteractionMenu.MenuCamera.id != 0;
  Screens.InteractionMenuOpen = false;
  InteractionMenu.MenuState = kMenuClosed;
}

void CloseAtOnce() {
  SetRadarFlag(1);
  HoldTransitionFlag(1);
  RenderScriptCameras(false, 0, 0, 0, 0, 0);
  LensSound("lens_down");
  ReleaseMenuCamera();
  InteractionMenu.MenuAlpha = 0;
  InteractionMenu.MenuState = kMenuClosed;
  Screens.InteractionMenuOpen = false;
}

// Moves the highlight one up or down; the page wraps it at the start of its next frame.
void MoveRow() {
  if (Pressed("INPUT_GAME_MENU_UP")) {
    Sound("NAV_UP");
    --InteractionMenu.InteractionRow;
  }
  if (Pressed("INPUT_GAME_MENU_DOWN")) {
    Sound("NAV_DOWN");
    ++InteractionMenu.InteractionRow;
  }
}

// The one row of the main page.
void RunMainRow() {
  if (InteractionMenu.InteractionRow == 0) {
    Text("PLAYER OPTIONS", 0.147f, 0.312f, 0.3f);
    Text("View Player Options", 0.155f, 0.8f, 0.2f);
    RowBox(kMainRowBoxY, kOptionBoxHeight, 155, 0, 0);
    if (Pressed("INPUT_FRONTEND_ACCEPT")) {
      Sound("SELECT");
      InteractionMenu.InteractionSubPage = kPlayerOptionsPage;
      InteractionMenu.MenuState = kMenuSubPage;
    }
  }
  InteractionMenu.InteractionRow = 0;
  MoveRow();
}

// The switch takes at least a second, so it normally runs twice; the campaign controller puts
// the saved look back on once it finds the character no longer applied.
void ResetCharacter() {
  CloseAtOnce();
  const uint32_t start = static_cast<uint32_t>(GameTimer());
  while (static_cast<int32_t>(static_cast<uint32_t>(GameTimer()) - start) < kResetMs) {
    if (Character.Gender == 0) SwitchPlayerModel("MP_MALE");
    if (Character.Gender == 1) SwitchPlayerModel("MP_FEMALE");
    Campaign.characterApplied = false;
    ScriptWait(0);
  }
}

// True while the menu stays open after the choice.
bool ChoosePlayerOption(int row) {
  Sound("SELECT");
  switch (row) {
    case kRespawn:
      CloseAtOnce();
      KillPed(PlayerPed(), 0, 0);
      return false;
    case kResetCharacter:
      ResetCharacter();
      return false;
    case kEquipOutfit:
      ApplyOutfit();
      return true;
    case kWalkStylesRow:
      InteractionMenu.InteractionRow = 0;
      InteractionMenu.InteractionSubPage = kWalkStylesPage;
      return true;
    default:
      return true;
  }
}

// False when the menu has closed.
bool RunPlayerOptionRows() {
  const int row = InteractionMenu.InteractionRow;
  // One frame past either end, before the wrap, nothing is highlighted and nothing chosen.
  if (row >= 0 && row < kPlayerOptionCount) {
    const PlayerOption& option = kPlayerOptions[row];
    Text(option.label, option.labelX, option.labelY, 0.3f);
    Text(option.description, 0.085f, 0.8f, 0.2f);
    RowBox(option.boxY, kOptionBoxHeight, 155, 0, 0);
    if (Pressed("INPUT_FRONTEND_ACCEPT") && !ChoosePlayerOption(row)) return false;
  }
  WrapCursor(InteractionMenu.InteractionRow, kPlayerOptionCount);
  MoveRow();
  return true;
}

// Blocks until the game has dropped the old style; the panel stays up meanwhile.
void ChooseWalkStyle(const WalkStyle& style) {
  SetPedStartOption(PlayerPed(), kStartOptionOn, 0, 0);
  WaitMs(500, HoldWalkStylesPanel);
  Sound("SELECT");
  char name[kWalkStyleSize + 16];
  std::snprintf(name, sizeof name, "%s%s", kWalkStylePrefix, Character.WalkingStyle);
  RemovePedWalkStyle(PlayerPed(), name);
  while (IsPedWalkStyleSet(PlayerPed(), name)) {
    HoldWalkStylesPanel();
    ScriptWait(0);
  }
  std::snprintf(Character.WalkingStyle, sizeof Character.WalkingStyle, "%s", style.keyWord);
  WriteString("Character", "Walking Style", Character.WalkingStyle);
  std::snprintf(name, sizeof name, "%s%s", kWalkStylePrefix, style.keyWord);
  SetPedWalkStyle(PlayerPed(), name, 1, -1);
  UpdatePedVariation(PlayerPed(), 1, 1, 1, 1, 1);
  SetPedStartOption(PlayerPed(), kStartOptionOff, 0, 0);
  // The frame the wait ended in is still the menu's.
  HoldWalkStylesPanel();
}

void RunWalkStyleRows() {
  const int row = InteractionMenu.InteractionRow;
  if (row >= 0 && row < kWalkStyleCount) {
    const WalkStyle& style = kWalkStyles[row];
    Text(style.label, style.labelX, StyleLabelY(row), 0.5f, 255, 0, 0);
    RowBox(StyleBoxY(row), kStyleBoxHeight, 255, 0, 0);
    if (Pressed("INPUT_FRONTEND_ACCEPT")) ChooseWalkStyle(style);
  }
  WrapCursor(InteractionMenu.InteractionRow, kWalkStyleCount);
  MoveRow();
}

// Neither the skill tree nor a wardrobe visit shares the screen with the menu.
bool MayOpen() {
  return !Screens.SkillTreeBusy && !Screens.WardrobeVisit;
}

}  // namespace

void RunInteractionMenu() {
  switch (InteractionMenu.MenuState) {
    case kMenuClosed:
      ReleaseReturnedCamera();
      if (Pressed("INPUT_FRONTEND_LS") && MayOpen()) OpenMenu();
      break;
    case kMenuMainPage:
      DisableMenuControls();
      DrawPanel(Panel::Main);
      RunMainRow();
      if (InteractionMenu.MenuState == kMenuMainPage && Pressed("INPUT_FRONTEND_CANCEL"))
        QuitMenu();
      break;
    case kMenuSubPage:
      DisableMenuControls();
      if (InteractionMenu.InteractionSubPage == kPlayerOptionsPage) {
        DrawPanel(Panel::PlayerOptions);
        if (!RunPlayerOptionRows()) break;
        if (InteractionMenu.InteractionSubPage == kPlayerOptionsPage &&
            Pressed("INPUT_FRONTEND_CANCEL")) {
          Sound("BACK");
          InteractionMenu.MenuState = kMenuMainPage;
        }
      } else {
        DrawPanel(Panel::WalkStyles);
        RunWalkStyleRows();
        if (Pressed("INPUT_FRONTEND_CANCEL")) {
          Sound("BACK");
          InteractionMenu.InteractionRow = 0;
          InteractionMenu.InteractionSubPage = kPlayerOptionsPage;
        }
      }
      break;
    default:
      break;
  }
}

void CloseInteractionMenuOnDeath() {
  if (Screens.InteractionMenuOpen) CloseAtOnce();
}

}  // namespace brimvale
