// The creator's stage machine: the map point, the staged scene with its two cameras, the first
// dressing, the gender change and the finish. The pages themselves are in creator_pages.cpp.
#include "character/creator.h"

#include "character/appearance.h"
#include "character/character_record.h"
#include "character/creator_pages.h"
#include "core/native/natives.h"
#include "core/native/player_model.h"
#include "core/native/waits.h"
#include "save/store.h"
#include "ui/screens.h"
#include "ui/toolkit.h"
#include "ui/view.h"

namespace brimvale {

CreatorState Creator;

namespace {

struct Place {
  Vector3 at;
  float heading;
};

constexpr Vector3 kEntryPoint = kCreatorEntryPoint;
constexpr Place kSceneSpot{kCreatorSceneSpot, kCreatorSceneHeading};
constexpr Vector3 kCameraPlace{2552.047f, -1170.78f, 53.684f};
constexpr Vector3 kCameraRotation{7.0f, 0.0f, 0.0f};
constexpr float kCameraFov = 70.0f;
constexpr Place kStoryStartPlace{kStoryStart, kStoryStartHeading};

constexpr const char* kEntryPrompt = "Press ~INPUT_LOOT~ to Create Your Brimvale Character.";
constexpr const char* kTransitionEffect = "MP_Trans_PhotoToScene";
constexpr Hash kFinishAudioEvent = 0xF4AE69EC;

constexpr const char* kTextureDicts[] = {"generic_textures", "menu_textures", "shaving_menu",
                                         "itemtype_textures", "toast_log_blips"};
// Indexed by gender.
constexpr const char* kLobbyDicts[2] = {"mp_lobby@standard@standing@mp_male_b@base",
                                        "mp_lobby@standard@standing@mp_female_b@base"};
constexpr const char* kModels[2] = {"MP_MALE", "MP_FEMALE"};

constexpr const char* kStarterClothing[2][9] = {
    {"CLOTHING_ITEM_M_HAT_000_TINT_000", "CLOTHING_ITEM_M_COAT_000_TINT_000",
     "CLOTHING_ITEM_M_SHIRT_001_TINT_001", "CLOTHING_ITEM_M_VEST_000_TINT_000",
     "CLOTHING_ITEM_M_PANTS_000_TINT_000", "CLOTHING_ITEM_M_BOOTS_001_TINT_001",
     "CLOTHING_ITEM_M_GLOVES_000_TINT_000", "CLOTHING_ITEM_M_NECKTIE_000_TINT_000",
     "CLOTHING_ITEM_M_GUNBELT_001_TINT_001"},
    {"CLOTHING_ITEM_F_HAT_000_TINT_000", "CLOTHING_ITEM_F_COAT_000_TINT_000",
     "CLOTHING_ITEM_F_SHIRT_002_TINT_001", "CLOTHING_ITEM_F_VEST_000_TINT_000",
     "CLOTHING_ITEM_F_PANTS_000_TINT_000", "CLOTHING_ITEM_F_BOOTS_001_TINT_001",
     "CLOTHING_ITEM_F_GLOVES_000_TINT_000", "CLOTHING_ITEM_F_NECKTIE_000_TINT_000",
     "CLOTHING_ITEM_F_GUNBELT_001_TINT_001"},
};

// Only 0 and 1 name a gender; a hand-edited save may hold anything else, which dresses the male.
int32_t GenderIndex(int32_t gender) {
  return gender == 1 ? 1 : 0;
}

void TeleportTo(const Place& place) {
  TeleportPlayer(PlayerIndex(), place.at, place.heading, 0, 0, 0, 0);
}

void PlayLobbyIdle(Ped ped, int32_t gender) {
  PlayPedAnim(ped, kLobbyDicts[GenderIndex(gender)], "base", 1000.0f, 8.0f, -1, 1, 0.0f, 0, 0, 0, 0,
              0);
}

void PlayMaleIdle() {
  PlayLobbyIdle(PlayerPed(), 0);
}
void PlayFemaleIdle() {
  PlayLobbyIdle(PlayerPed(), 1);
}

// The idle replayed every frame for a second of game time, so the new ped settles into it.
void HoldLobbyIdle(int32_t gender) {
  WaitMs(1000, GenderIndex(gender) == 1 ? PlayFemaleIdle : PlayMaleIdle);
}

void LoadTextureDicts() {
  for (const char* dict : kTextureDicts)
    LoadTextureDict(dict);
}

void LoadLobbyAnimDicts() {
  for (const char* dict : kLobbyDicts)
    LoadAnimDict(dict);
}

void PlaceEntryBlip() {
  Creator.entryBlip =
      CreateNamedBlip(HashName("BLIP_STYLE_OBJECTIVE"), kEntryPoint,
                      HashName("blip_ambient_loan_shark"), "Brimvale - Create Character");
}

Cam CreateSceneCamera() {
  return CreateCutCamera({kCameraPlace, kCameraRotation, kCameraFov});
}

void SetUpCameras() {
  Creator.WideCamera = CreateSceneCamera();
  PointCameraAtEntity(Creator.WideCamera, PlayerPed(), {-1.0f, 0.0f, 0.0f}, 1);
  SetCameraActive(Creator.WideCamera, true);
  Creator.CloseCamera = CreateSceneCamera();
  AttachCameraToEntity(Creator.CloseCamera, PlayerPed(), {-0.3f, 0.5f, 0.6f}, 1);
  PointCameraAtEntity(Creator.CloseCamera, PlayerPed(), {-0.3f, -0.2f, 0.6f}, 1);
  SetCameraActive(Creator.CloseCamera, false);
}

// Blocks the frame loop for about eight seconds while the player is taken into the scene.
void EnterCreatorScene() {
  RemoveBlipIfExists(Creator.entryBlip);
  PreparePedForScene(PlayerPed(), 1, 1);
  SetMissionAudioFlags(true);
  SetPedSceneFlag(PlayerPed(), kSceneFlagOwnScene, 0, 0, 0);
  ScreenFadeOut(500);
  ScriptWait(1000);
  SetSceneOption(kSceneModeClosing, 0, 0);
  SwitchPlayerModel(kModels[0]);  // the scene always starts on the male model
  // A gender left in the save by an unfinished creation is kept: the body page's gender row
  // then offers only the way back to the male the scene starts on.
  TeleportTo(kSceneSpot);
  ScriptWait(1000);
  SettlePlayerTeleport();
  // The model switch gives the player a new ped, so the ped is taken again from here on.
  const Ped ped = PlayerPed();
  RemovePlayerMoney(GetPlayerMoney());  // the new character starts with no money
  RemovePedWeapons(ped, 1, 1);
  SetPedHighRankFlag(ped, 0);
  SetUpCameras();
  RenderScriptCameras(true, 0, 0, 0, 0, 0);
  RefreshPlayerState();
  Creator.transitionEffect = PrepareTransitionEffect(kTransitionEffect);
  RenderScriptCameras(true, 0, 0, 0, 0, 0);
  StartTransitionEffect(Creator.transitionEffect);
  SetSceneDisplayFlag(true);
  SetWorldDisplayFlag(false);
  ScreenFadeIn(500);
  LoadTextureDicts();
  Creator.MainMenuRow = 0;
  Creator.CreatorRow = 0;
  Creator.CreatorPage = 0;
  FreezeEntity(ped, true);
  LoadLobbyAnimDicts();
  if (!IsPedPlayingAnim(ped, kLobbyDicts[0], "base", 1)) PlayLobbyIdle(ped, 0);
  ScriptWait(5000);
  PlayFrontendSound("REWARD_NEW_GUN", "HUD_REWARD_SOUNDSET", 1, 0);
  StopTransitionEffect(kTransitionEffect);
  Creator.CreatorStage = kCreatorFirstDressing;
}

void WaitAtEntryPoint(Vector3 player) {
  if (Campaign.characterCreated) {
    Creator.CreatorStage = kCreatorIdle;
    return;
  }
  if (!DoesBlipExist(Creator.entryBlip)) PlaceEntryBlip();
  const float distance = DistanceBetweenPoints(kEntryPoint, player);
  if (distance >= 1.0f) return;
  if (PressPrompt(kEntryPrompt, "INPUT_LOOT", 1000)) EnterCreatorScene();
}

void PutOnStarterClothing(Ped ped, int32_t gender) {
  for (const char* item : kStarterClothing[GenderIndex(gender)]) {
    ApplyShopItemToPed(ped, HashName(item), 1, 1, 0);
  }
}

// The record's look on the scene's ped, in starter clothing and without the voice.
void DressScenePed(Ped ped, int32_t gender) {
  ApplyBaseLook(ped, GenderIndex(gender));
  PutOnStarterClothing(ped, gender);
  ApplyBodyType(ped);
  UpdateVariationLight(ped);
  ApplyFaceFeatures(ped);
  UpdateVariationFull(ped);
}

// The scene's ped is the male model whatever the record says, so it is dressed from the male
// tables.
void DressFirstTime() {
  DressScenePed(PlayerPed(), 0);
  TeleportTo(kSceneSpot);
  HoldLobbyIdle(0);
  SettlePlayerTeleport();
  Creator.CreatorStage = kCreatorMainMenu;
}

void DressAfterGenderChange() {
  const Ped ped = PlayerPed();
  DressScenePed(ped, Character.Gender);
  // The new model is a new ped: held in place again so that the menu's W/A/S/D do not walk it.
  FreezeEntity(ped, true);
  PointCameraAtEntity(Creator.WideCamera, ped, {-1.0f, 0.0f, 0.0f}, 1);
  AttachCameraToEntity(Creator.CloseCamera, ped, {0.0f, 0.5f, 0.6f}, 1);
  PointCameraAtEntity(Creator.CloseCamera, ped, {-0.3f, -0.2f, 0.6f}, 1);
  PlayLobbyIdle(ped, Character.Gender);
  Creator.CreatorStage = kCreatorBody;
}

// Blocks the frame loop for about three seconds behind a fade while the player is put at the
// story's start.
void FinishCreator() {
  for (const char* dict : kTextureDicts) {
    ReleaseTextureDict(dict);
  }
  const Ped ped = PlayerPed();
  const Player player = PlayerIndex();
  ScreenFadeOut(1000);
  ScriptWait(1000);
  DestroyCamera(Creator.WideCamera, 1);
  DestroyCamera(Creator.CloseCamera, 1);
  Creator.WideCamera = {};
  Creator.CloseCamera = {};
  RenderScriptCameras(false, 0, 0, 0, 0, 0);
  SetSceneDisplayFlag(false);
  SetWorldDisplayFlag(true);
  PreparePedForScene(ped, 1, 1);
  // On purpose: the scene froze the ped in place, and without this the new character could not
  // walk to the start.
  FreezeEntity(ped, false);
  SetMissionAudioFlags(false);
  for (int32_t core = 0; core < 3; ++core) {
    SetAttributeCoreValue(ped, core, 100);
  }
  SetPedMaxHealth(ped, 200);
  SetDeadEyeLevel(player, 0);
  for (int32_t slot = 1; slot <= 5; ++slot) {
    SetDeadEyeAbilityLocked(player, slot, 1);
  }
  TeleportTo(kStoryStartPlace);
  ScriptWait(1000);
  SettlePlayerTeleport();
  ScriptWait(1000);
  ForcePedMotionState(ped, HashName("motionstate_walk"), 0, 1, 1);
  AlignPlayerHeading(player, 1.0f, 2000, GetEntityHeading(ped), 0, 0);
  ScreenFadeIn(1000);
  Campaign.characterCreated = true;
  WriteBool("Character", "Create Character", true);
  TriggerAudioEvent(kFinishAudioEvent);
  Creator.CreatorStage = kCreatorWaitAtEntry;
}

}  // namespace

void ChangeCreatorGender(int32_t gender) {
  const int32_t to = GenderIndex(gender);
  ScreenFadeOut(500);
  ScriptWait(1000);
  SwitchPlayerModel(kModels[to]);
  TeleportTo(kSceneSpot);
  ScriptWait(1000);
  SettlePlayerTeleport();
  HoldLobbyIdle(to);
  Character.Gender = to;
  WriteInt("Character", "Gender", to);
  ScriptWait(1000);
  ScreenFadeIn(500);
  Creator.CreatorStage = kCreatorAfterGenderChange;
}

void RunCharacterCreator() {
  const Vector3 player = GetEntityCoords(PlayerPed(), true, true);
  switch (Creator.CreatorStage) {
    case kCreatorLoad:
      LoadCharacterRecord();
      Creator.CreatorStage = kCreatorWaitAtEntry;
      break;
    case kCreatorWaitAtEntry:
      WaitAtEntryPoint(player);
      break;
    case kCreatorFirstDressing:
      DressFirstTime();
      break;
    case kCreatorMainMenu:
      RunCreatorMainMenu();
      break;
    case kCreatorFacialFeatures:
      RunFacialFeaturesPages();
      break;
    case kCreatorBody:
      RunBodyPages();
      break;
    case kCreatorHair:
      RunHairPages();
      break;
    case kCreatorFinish:
      FinishCreator();
      break;
    case kCreatorAfterGenderChange:
      DressAfterGenderChange();
      break;
    default:
      break;  // idle: a character exists
  }
}

}  // namespace brimvale
