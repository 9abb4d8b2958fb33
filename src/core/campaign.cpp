#include "core/campaign.h"

#include "character/appearance.h"
#include "character/character_record.h"
#include "core/native/natives.h"
#include "core/native/player_model.h"
#include "menu/walk_styles.h"
#include "missions/toolkit.h"
#include "save/store.h"
#include "ui/toolkit.h"

namespace brimvale {

StorySteps Story;

namespace {

constexpr const char* kBlipTextures = "BLIPS_MP";

// Handed to the game in this order each time the character is put on.
constexpr Hash kWorldHashes[] = {
    0x2D1A7AF2, 0x0E95FF51, 0xD339F6AB, 0xF030C0B2, 0x763A8A87, 0x33D88587, 0x99B6A1E6, 0x3AC128F9,
    0xD428627B, 0xD69B5B49, 0x41332496, 0x41759831, 0x945395DF, 0x9307FD41, 0x3B8DD21A, 0xAF5E7C06,
    0x5647E155, 0x0079B7EE, 0x0A8B2CBE, 0xA053D058, 0xFC531E7A, 0xD218D90D, 0xD3F2B8A7, 0xDC87C0C8,
    0x6E7BDAC4, 0x7B23B4C7, 0x6E10D212, 0xBB785C8A, 0x1BDD5A12, 0x4663EEB9, 0x2A6CBBA2, 0x9652B96E};
static_assert(sizeof kWorldHashes / sizeof kWorldHashes[0] == 32);

void PlaceStartPointBlip() {
  const Blip blip = AddBlipForCoord(HashName("BLIP_STYLE_PICKUP"), kStartPoint);
  SetBlipSprite(blip, kStartPointSprite, 1);
  SetBlipName(blip, CreateVarString(kVarStringPlain, "PLAYER_STRING", "Brimvale"));
  Campaign.ObjectiveBlip = blip;
}

bool PlayerAtStartPoint() {
  const Vector3 point = GetBlipCoords(Campaign.ObjectiveBlip);
  const Vector3 player = GetEntityCoords(PlayerPed(), true, true);
  const float distance = DistanceBetweenPoints(point, player);
  if (distance >= kStartPointRadius) return false;
  return !PedIsOccupied(PlayerPed());
}

// Blocks the frame loop for about two seconds behind a fade while the player becomes the
// character.
void StartCampaign() {
  LoadProgress();
  const Ped ped = PlayerPed();
  LoadTextureDict(kBlipTextures);
  ScreenFadeOut(1000);
  ScriptWait(1000);
  if (Character.Gender == 0) SwitchPlayerModel("MP_MALE", ped);
  if (Character.Gender == 1) SwitchPlayerModel("MP_FEMALE", ped);
  while (DoesBlipExist(Campaign.ObjectiveBlip)) {
    RemoveBlip(&Campaign.ObjectiveBlip);
    ScriptWait(0);
  }
  // The missions reuse the handle; a removed blip's number may come back for another blip.
  Campaign.ObjectiveBlip = {};
  SetDeathFlowOptions(kDeathFlowAtCampaignStart);
  SetCampaignStartFlag(1);
  ScriptWait(500);
  ScreenFadeIn(500);
  Campaign.campaignStarted = true;
}

void RunStartPoint() {
  if (!DoesBlipExist(Campaign.ObjectiveBlip)) {
    PlaceStartPointBlip();
    return;
  }
  if (!PlayerAtStartPoint()) return;
  if (PressPrompt(kStartPrompt, "INPUT_CARRIABLE_SUICIDE", 3000)) StartCampaign();
}

// Once per start and after every reset of the character.
void ApplyCharacter() {
  if (Character.Gender == 0 || Character.Gender == 1) {
    ApplyCharacterAppearance();
    ApplySkillEffects();
  }
  SetLawContextOption(GetLawContext(), kLawContextCampaignOption, 1);
  SetPedFlagByName(PlayerPed(), "HAS_VOICE", 0);
  // On purpose, rather than the stored value unchanged: a key word of the menu gets its
  // "MP_STYLE_" prefix here too, so the style chosen in the menu is the one the game knows.
  char walkStyle[256];
  GameWalkStyleName(Character.WalkingStyle, walkStyle);
  SetPedWalkStyle(PlayerPed(), walkStyle, 1, -1);
  ApplyWorldState();
  StylePlayerBlip();
  Campaign.characterApplied = true;
}

void RunStory() {
  if (!Campaign.characterApplied) ApplyCharacter();
  if (Campaign.StoryProgress == 0) Story.prologue();
  // The frame in which the prologue passes already runs free roam.
  if (Campaign.StoryProgress > 0) {
    for (StoryStep step : Story.freeRoam)
      step();
  }
  EnsureTextureDict(kBlipTextures);
}

}  // namespace

void LoadProgress() {
  Campaign.StoryProgress = ReadInt("Story", "Progress", 0);
  LoadProgressionRecord();
}

void CampaignStep() {
  if (!Campaign.characterCreated) return;
  if (!Campaign.campaignStarted) {
    RunStartPoint();
    return;
  }
  RunStory();
}

void ApplyWorldState() {
  for (Hash hash : kWorldHashes) {
    ApplyWorldHash(hash);
  }
}

void StylePlayerBlip() {
  LoadTextureDict(kBlipTextures);
  if (!DoesBlipExist(GetMainPlayerBlip())) return;
  SetBlipStyle(GetMainPlayerBlip(), HashName("BLIP_STYLE_MP_PLAYER_POSSE_LEADER"));
  AddBlipModifier(GetMainPlayerBlip(), HashName("BLIP_MODIFIER_POSSE_ALLY"));
  SetBlipPlayer(GetMainPlayerBlip(), PlayerIndex());
}

}  // namespace brimvale
