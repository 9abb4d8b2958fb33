// The five clothing shops: blips, the door prompt, the entry scene, the "WARDROBE" editor over
// the outfit's part and tint rows, and the exit back to the shop's door.
#include "wardrobe/wardrobe.h"

#include <cstdio>
#include <cstring>

#include "character/appearance.h"
#include "character/character_record.h"
#include "character/outfit.h"
#include "core/native/natives.h"
#include "core/native/player_model.h"
#include "core/native/waits.h"
#include "menu/walk_styles.h"
#include "progression/progression.h"
#include "ui/editor_rows.h"
#include "ui/screens.h"
#include "ui/toolkit.h"
#include "ui/view.h"
#include "wardrobe/outfit_editor.h"

namespace brimvale {

WardrobeScreenState Wardrobe;

namespace {

// The visit's flag follows the stage, so the menu and the skill tree see every change of it.
void SetWardrobeState(WardrobeStateId state) {
  Wardrobe.WardrobeState = state;
  Screens.WardrobeVisit = state >= kWardrobeEditing;
}

constexpr const char* kNoShop = "None";
constexpr float kPromptDistance = 2.0f;
constexpr const char* kPrompt = "Press ~INPUT_MELEE_GRAPPLE_CHOKE~ to enter the wardrobe.";
constexpr const char* kIdleDict = "mp_lobby@standard@standing@mp_male_b@base";
constexpr const char* kTransition = "MP_Trans_SceneToPhoto";
constexpr int kPageCount = 4;
constexpr int kCategoriesPerPage = kEditorRowsPerPage / 2;
constexpr const char* kPageLabels[kPageCount] = {"1/4", "2/4", "3/4", "4/4"};
// Where the shop's camera is made before it is attached to the player, and the warm light that
// the editor draws in every shop.
constexpr CameraPlace kShopCamera{{3329.693f, -850.24f, 85.833f}, {-13.0f, 0.0f, 48.037f}, 63.0f};
constexpr Vector3 kShopLightAt{-325.832f, 807.285f, 117.894f};
// The wardrobe's own layout on the editor panel's (ui/editor_rows.h).
constexpr ScreenRect kHatIcon{0.825f, 0.22f, 0.1f, 0.1f};
constexpr float kHatIconHeading = 25.0f;
constexpr const char* kEditorDicts[] = {"generic_textures", "menu_textures",     "INVENTORY_ITEMS",
                                        "shaving_menu",     "itemtype_textures", "toast_log_blips"};

const char* GenderModel() {
  return Character.Gender == 1 ? "MP_FEMALE" : "MP_MALE";
}

// The shop named by CurrentShop, or -1.
int CurrentShopIndex() {
  for (int i = 0; i < kWardrobeShopCount; ++i) {
    if (std::strcmp(Wardrobe.CurrentShop, kWardrobeShops[i].name) == 0) return i;
  }
  return -1;
}

void PlaceShopBlips() {
  LoadTextureDict("BLIPS_MP");
  for (int i = 0; i < kWardrobeShopCount; ++i) {
    Blip& blip = Wardrobe.ShopBlips[i];
    while (!DoesBlipExist(blip)) {
      blip = AddBlipForCoord(HashName("BLIP_STYLE_SHOP"), kWardrobeShops[i].blip);
      ScriptWait(0);
    }
    SetBlipSprite(blip, HashName("blip_shop_wardrobe"), 1);
    SetBlipName(blip, CreateVarString(kVarStringPlain, "PLAYER_STRING", "Wardrobe"));
  }
  for (int i = 0; i < kWardrobeShopCount; ++i) {
    if (DoesBlipExist(Wardrobe.ShopBlips[i])) {
      Wardrobe.ShopPositions[i] = GetBlipCoords(Wardrobe.ShopBlips[i]);
    }
  }
  SetWardrobeState(kWardrobeOutside);
}

void TeleportPlayerTo(Vector3 at, float heading) {
  TeleportPlayer(PlayerIndex(), at, heading, 0, 0, 0, 0);
  WaitMs(1000);
  SettlePlayerTeleport();
}

// The model switch may give the player a new ped: what the campaign put on the old one (the
// bought health and dead eye, the walk style) goes on the new one too.
Ped SwitchToCharacterModel(Ped ped) {
  SwitchPlayerModel(GenderModel(), ped);
  const Ped current = PlayerPed();
  ApplySkillEffects();
  // With its "MP_STYLE_" prefix, as when play resumes (on purpose, rather than the stored value).
  char walkStyle[256];
  GameWalkStyleName(Character.WalkingStyle, walkStyle);
  SetPedWalkStyle(current, walkStyle, 1, -1);
  return current;
}

void PointShopCamera(Ped ped) {
  const Cam camera = CreateCameraAt("DEFAULT_SCRIPTED_CAMERA", kShopCamera.at, kShopCamera.rotation,
                                    kShopCamera.fov, 1, 2);
  Wardrobe.WardrobeCamera = camera;
  AttachCameraToEntity(camera, ped, {0.0f, 2.0f, 0.0f}, 1);
  PointCameraAtEntity(camera, ped, {-1.0f, 0.0f, 0.0f}, 1);
  RenderScriptCameras(true, 0, 0, 0, 0, 0);
}

// Blocks about 3 s behind a fade, plus the model switch and the loads.
void EnterShop(int shop, Ped ped) {
  ScreenFadeOut(1000);
  WaitMs(1000);
  ped = SwitchToCharacterModel(ped);
  Wardrobe.CurrentShop = kWardrobeShops[shop].name;
  std::strcpy(Outfit.OutfitGenderLetter, Character.Gender == 1 ? "F" : "M");
  SetPedSceneFlag(ped, kSceneFlagOwnScene, 0, 0, 0);
  TeleportPlayerTo(kWardrobeShops[shop].inside, kWardrobeShops[shop].insideHeading);
  PointShopCamera(ped);
  SetRadarFlag(0);
  SetWorldDisplayFlag(false);
  SetSceneDisplayFlag(true);
  for (const char* dict : kEditorDicts) {
    LoadTextureDict(dict);
  }
  LoadAnimDict(kIdleDict);
  if (!IsPedPlayingAnim(ped, kIdleDict, "base", 1)) {
    PlayPedAnim(ped, kIdleDict, "base", 1000.0f, 8.0f, -1, 1, 0.0f, 0, 0, 0, 0, 0);
  }
  BackupOutfit();
  Wardrobe.WardrobeRow = 0;
  Wardrobe.WardrobePage = 0;
  ApplyCharacterAppearance();
  WaitMs(500);
  ScreenFadeIn(500);
  WaitMs(500);
  PlayFrontendSound("REWARD_NEW_GUN", "HUD_REWARD_SOUNDSET", 1, 0);
  SetWardrobeState(kWardrobeEditing);
}

// Neither the interaction menu nor the skill tree shares the screen with a shop.
bool ShopsAvailable() {
  return !Screens.InteractionMenuOpen && !Screens.SkillTreeBusy;
}

void RunOutside(Ped ped, Vector3 position) {
  if (!ShopsAvailable()) return;
  for (int i = 0; i < kWardrobeShopCount; ++i) {
    const Vector3 door = Wardrobe.ShopPositions[i];
    const float distance = DistanceBetweenPoints(position, door);
    if (distance >= kPromptDistance) continue;
    if (PressPrompt(kPrompt, "INPUT_MELEE_GRAPPLE_CHOKE", 1000)) {
      EnterShop(i, ped);
      return;
    }
  }
}

void DrawEditorFrame() {
  DrawTitleText("WARDROBE", 0.6f, 0.13f, kScreenTitleScale, kScreenTitleScale);
  DrawEditorPanel();
  DrawEditorHeader();
  DrawScreenSprite("INVENTORY_ITEMS", "clothing_generic_coat", kEditorLeftIcon);
  DrawScreenSprite("INVENTORY_ITEMS", "clothing_hl_player_hat_005_1", kHatIcon, kWhite,
                   kHatIconHeading);
  DrawEditorRules();
  DrawEditorHints("W/S - Navigation | A/D - Set Outfit Part | Q/E - Prev/Next Page",
                  "Enter - Confirm Outfit ($20 Outfit Fee) | Backspace - Cancel Outfit Change");
  DrawTitleText("WARDROBE", kPageTitleX, kPageTitleY, kRowTextScale, kRowTextScale);
}

bool PageShown() {
  return Wardrobe.WardrobePage >= 0 && Wardrobe.WardrobePage < kPageCount;
}

// The current page's ten rows: each category a part row, then its tint row.
void RunPageRows() {
  const int first = kCategoriesPerPage * Wardrobe.WardrobePage;
  EditorRow rows[kEditorRowsPerPage];
  for (int r = 0; r < kEditorRowsPerPage; ++r) {
    const int category = first + r / 2;
    const bool partRow = r % 2 == 0;
    const ClothingCategory& entry = kClothingCategories[category];
    rows[r].label = partRow ? entry.partLabel : entry.tintLabel;
    std::snprintf(rows[r].value, sizeof rows[r].value, "%d",
                  partRow ? Outfit.OutfitParts[category] : Outfit.OutfitTints[category]);
  }
  const EditorRowEdit edit = RunEditorRows(rows, Wardrobe.WardrobeRow);
  if (edit.row < 0) return;
  const int category = first + edit.row / 2;
  void (*step)(int, int) = edit.row % 2 == 0 ? StepOutfitPart : StepOutfitTint;
  if (edit.raise) step(category, +1);
  if (edit.lower) step(category, -1);
}

void RunEditor() {
  DrawPointLight(kShopLightAt, 226, 88, 34, 5.0f, 3.0f);
  DrawEditorFrame();
  if (PageShown()) {
    DrawTitleText(kPageLabels[Wardrobe.WardrobePage], kPageTagX, kPageTagY, kRowTextScale,
                  kRowTextScale);
    RunPageRows();
  }
  MoveEditorRow(Wardrobe.WardrobeRow, kEditorRowsPerPage);
  TurnEditorPage(Wardrobe.WardrobePage, Wardrobe.WardrobeRow, kPageCount);
  // Accept does not depend on the row: it is read in the frame a row or page wraps too. Cancel is
  // read after it, so a cancel pressed in the same frame wins and nothing is charged.
  if (EditorPressed("INPUT_FRONTEND_ACCEPT")) {
    if (GetPlayerMoney() < kWardrobeFee) {
      ShowHelpText("Insufficient Funds.", 1000);
    } else {
      SetWardrobeState(kWardrobeLeavingPaid);
    }
  }
  if (EditorPressed("INPUT_FRONTEND_CANCEL")) SetWardrobeState(kWardrobeLeavingUnpaid);
}

// What the entry scene changed in the view goes back as it was outside.
void RestoreShopView() {
  Wardrobe.CurrentShop = kNoShop;
  if (Wardrobe.WardrobeCamera) DestroyCamera(Wardrobe.WardrobeCamera, 1);
  Wardrobe.WardrobeCamera = {};
  RenderScriptCameras(false, 0, 0, 0, 0, 0);
  SetRadarFlag(1);
  SetWorldDisplayFlag(true);
  SetSceneDisplayFlag(false);
}

// Blocks about 7 s: the transition, the fade, the way out, then the outfit kept or put back.
void LeaveShop(bool paid) {
  RefreshPlayerState();
  Wardrobe.TransitionEffect = PrepareTransitionEffect(kTransition);
  StartTransitionEffect(Wardrobe.TransitionEffect);
  PlayFrontendSound("REWARD_NEW_GUN", "HUD_REWARD_SOUNDSET", 1, 0);
  WaitMs(5000);
  ScreenFadeOut(1000);
  WaitMs(1000);
  RefreshPlayerState();
  Wardrobe.TransitionEffect = 0;
  StopTransitionEffect(kTransition);
  const int shop = CurrentShopIndex();
  if (shop >= 0) TeleportPlayerTo(kWardrobeShops[shop].exit, kWardrobeShops[shop].exitHeading);
  if (paid) {
    SaveOutfit();
  } else {
    RestoreOutfit();
  }
  ApplyOutfit();
  RestoreShopView();
  PreparePedForScene(PlayerPed(), 1, 1);
  SetGameplayCameraRelativeHeading(0.0f, 1.0f);
  if (paid) {
    ScreenFadeIn(500);
    RemovePlayerMoney(kWardrobeFee);
  } else {
    ScreenFadeIn(1000);
  }
  SetWardrobeState(kWardrobeOutside);
}

}  // namespace

void UpdateWardrobe() {
  const Ped ped = PlayerPed();
  const Vector3 position = GetEntityCoords(ped, true, true);
  switch (Wardrobe.WardrobeState) {
    case kWardrobeSetup:
      PlaceShopBlips();
      break;
    case kWardrobeOutside:
      RunOutside(ped, position);
      break;
    case kWardrobeEditing:
      RunEditor();
      break;
    case kWardrobeLeavingUnpaid:
      LeaveShop(false);
      break;
    case kWardrobeLeavingPaid:
      LeaveShop(true);
      break;
    default:
      break;
  }
}

bool WardrobeVisitActive() {
  return Wardrobe.WardrobeState >= kWardrobeEditing;
}

void CancelWardrobeOnDeath() {
  if (!WardrobeVisitActive()) return;
  RestoreOutfit();
  ApplyOutfit();
  RestoreShopView();
  SetWardrobeState(kWardrobeOutside);
}

}  // namespace brimvale
