// The skill tree: a full-screen panel where skill points buy health and dead-eye levels.
#include "progression/skill_tree.h"

#include <cstdio>

#include "core/native/hook.h"
#include "core/native/natives.h"
#include "core/native/waits.h"
#include "progression/progression.h"
#include "progression/rank_hud.h"
#include "save/store.h"
#include "ui/screens.h"
#include "ui/toolkit.h"

namespace brimvale {

SkillTreeScreenState SkillTree;

namespace {

struct SkillLevel {
  int32_t minRank;
  int32_t price;
  const char* label;
  const char* priceText;
  const char* rankText;
  const char* shownWhenAvailable;
  const char* saveKey;
  float labelX, availableX, rankX, priceX, frameX;
};

constexpr SkillLevel kHealthRow[kHealthLevels] = {
    {10, 2, "Level 1", "SP: 2", "10", "+300", "Health Lvl 1", 0.15f, 0.16f, 0.18f, 0.165f, 0.2f},
    {20, 4, "Level 2", "SP: 4", "20", "+300", "Health Lvl 2", 0.35f, 0.36f, 0.38f, 0.365f, 0.4f},
    {30, 6, "Level 3", "SP: 6", "30", "+300", "Health Lvl 3", 0.55f, 0.56f, 0.58f, 0.565f, 0.6f},
    {40, 8, "Level 4", "SP: 8", "40", "+300", "Health Lvl 4", 0.75f, 0.76f, 0.78f, 0.765f, 0.8f},
};

constexpr SkillLevel kDeadEyeRow[kDeadEyeLevels] = {
    {15, 3, "Level 1", "SP: 3", "15", "Unlocks use of~n~Dead Eye automatic tagging.",
     "Deadeye Lvl 1", 0.1f, 0.09f, 0.14f, 0.115f, 0.15f},
    {25, 6, "Level 2", "SP: 6", "25", "Ability to manually tag~n~multiple targets before firing.",
     "Deadeye Lvl 2", 0.27f, 0.255f, 0.3f, 0.285f, 0.32f},
    {35, 9, "Level 3", "SP: 9", "35",
     "Stay in Dead Eye after firing~n~if you haven't tagged a target.", "Deadeye Lvl 3", 0.44f,
     0.425f, 0.475f, 0.455f, 0.49f},
    {45, 12, "Level 4", "SP: 12", "45", "Fatal shot placements~n~are highlighted in Dead Eye.",
     "Deadeye Lvl 4", 0.61f, 0.595f, 0.645f, 0.625f, 0.66f},
    {55, 15, "Level 5", "SP: 15", "55", "Critical shot placements~n~are highlighted in Dead Eye.",
     "Deadeye Lvl 5", 0.78f, 0.765f, 0.815f, 0.795f, 0.83f},
};

constexpr int32_t kDeadEyeMinRank = 15;
constexpr int32_t kFadeStep = 15;
constexpr int kHealthRowIndex = 0;
constexpr int kDeadEyeRowIndex = 1;

// The screen's layout, as fractions of the screen; each level's columns are in its row above.
constexpr float kHealthFrameY = 0.4f;
constexpr float kHealthFrameWidth = 0.2f;
constexpr float kDeadEyeFrameY = 0.7f;
constexpr float kDeadEyeFrameWidth = 0.15f;
constexpr float kFrameHeight = 0.1f;
constexpr float kLockWidth = 0.2f;
constexpr float kLockHeight = 0.1f;
constexpr ScreenRect kBackdrop{0.5f, 0.5f, 1.0f, 1.0f};
constexpr ScreenRect kDivider{0.5f, 0.15f, 0.9f, 0.01f};
constexpr ScreenRect kDeadEyeLockedPanel{0.5f, 0.7f, 0.8f, 0.35f};
constexpr ScreenRect kDeadEyeLockedLock{0.5f, 0.7f, 0.2f, 0.2f};
constexpr float kTextScale = 1.0f;
constexpr float kHealthTitleY = 0.19f;
constexpr float kHealthLabelY = 0.28f;
constexpr float kHealthStatusY = 0.37f;
constexpr float kHealthPriceY = 0.45f;
constexpr float kDeadEyeTitleY = 0.49f;
constexpr float kDeadEyeLabelY = 0.58f;
constexpr float kDeadEyeAvailableScale = 0.3f;
constexpr float kDeadEyeAvailableY = 0.675f;
constexpr float kDeadEyeRankY = 0.68f;
constexpr float kDeadEyePriceY = 0.75f;
constexpr float kHeaderY = 0.09f;

bool Pressed(const char* control) {
  return ControlJustPressed(kMenuPad, HashName(control));
}

// Available: the rank is high enough and every lower level of the row is bought.
bool Available(const SkillLevel* row, const bool* bought, int level) {
  if (Progression.Rank < row[level].minRank) return false;
  for (int lower = 0; lower < level; ++lower) {
    if (!bought[lower]) return false;
  }
  return true;
}

bool CanBuy(const SkillLevel* row, const bool* bought, int level) {
  return Available(row, bought, level) && !bought[level] &&
         Progression.SkillPoints >= row[level].price;
}

void Buy(const SkillLevel& level, bool& bought) {
  bought = true;
  WriteBool("Rank", level.saveKey, true);
  Progression.SkillPoints -= level.price;
  WriteInt("Rank", "Skill Points", Progression.SkillPoints);
  ApplySkillEffects();
  StartScreenEffect("PlayerOverpower");
  PlayMenuSound("CHECKPOINT_PERFECT", "HUD_MINI_GAME_SOUNDSET", 0);
}

void Text(const char* text, float x, float y, float scale, int32_t alpha) {
  DrawText(text, x, y, scale, scale, 255, 255, 255, alpha);
}

void DrawHealthRow(bool withPrices, int32_t a) {
  Text("HEALTH", 0.44f, kHealthTitleY, kTextScale, a);
  for (int i = 0; i < kHealthLevels; ++i) {
    const SkillLevel& level = kHealthRow[i];
    Text(level.label, level.labelX, kHealthLabelY, kTextScale, a);
    if (withPrices) Text(level.priceText, level.priceX, kHealthPriceY, kTextScale, a);
    if (Available(kHealthRow, Progression.HealthLevel, i)) {
      Text(level.shownWhenAvailable, level.availableX, kHealthStatusY, kTextScale, a);
    } else {
      DrawScreenSprite("generic_textures", "lock",
                       {level.frameX, kHealthFrameY, kLockWidth, kLockHeight}, {255, 0, 0, a});
      Text(level.rankText, level.rankX, kHealthStatusY, kTextScale, a);
    }
    DrawScreenSprite("menu_textures", "crafting_outline",
                     {level.frameX, kHealthFrameY, kHealthFrameWidth, kFrameHeight},
                     {255, 0, 0, a});
  }
}

void DrawDeadEyeRow(bool withPrices, int32_t a) {
  if (Progression.Rank < kDeadEyeMinRank) {
    DrawScreenSprite("generic_textures", "hud_menu_4a", kDeadEyeLockedPanel, {255, 255, 255, a});
    DrawScreenSprite("generic_textures", "lock", kDeadEyeLockedLock, {255, 0, 0, a});
    DrawText("15", 0.475f, 0.675f, kTextScale, kTextScale, 0, 0, 0, a);
    return;
  }
  Text("DEADEYE", 0.43f, kDeadEyeTitleY, kTextScale, a);
  for (int i = 0; i < kDeadEyeLevels; ++i) {
    const SkillLevel& level = kDeadEyeRow[i];
    if (Available(kDeadEyeRow, Progression.DeadEyeLevel, i)) {
      Text(level.label, level.labelX, kDeadEyeLabelY, kDeadEyeAvailableScale, a);
      Text(level.shownWhenAvailable, level.availableX, kDeadEyeAvailableY, kTextScale, a);
    } else {
      Text(level.label, level.labelX, kDeadEyeLabelY, kTextScale, a);
      DrawScreenSprite("generic_textures", "lock",
                       {level.frameX, kDeadEyeFrameY, kLockWidth, kLockHeight}, {255, 0, 0, a});
      Text(level.rankText, level.rankX, kDeadEyeRankY, kTextScale, a);
    }
    if (withPrices) Text(level.priceText, level.priceX, kDeadEyePriceY, kTextScale, a);
    DrawScreenSprite("menu_textures", "crafting_outline",
                     {level.frameX, kDeadEyeFrameY, kDeadEyeFrameWidth, kFrameHeight},
                     {255, 0, 0, a});
  }
}

// The whole screen at the tree's alpha; prices only in the open phase.
void DrawSkillTreeScreen(bool withPrices) {
  const int32_t a = DrawAlpha(SkillTree.SkillTreeAlpha);
  DrawRankPanel(a, false);
  DrawScreenSprite("generic_textures", "hud_menu_4a", kBackdrop, {0, 0, 0, a});
  DrawScreenSprite("menu_textures", "divider_line", kDivider, {255, 255, 255, a});
  Text("SKILL TREE", 0.44f, kHeaderY, kTextScale, a);
  Text(GetPlayerName(PlayerIndex()), 0.12f, kHeaderY, kTextScale, a);
  char points[32];
  std::snprintf(points, sizeof points, "Skill Points: %d", Progression.SkillPoints);
  Text(points, 0.71f, kHeaderY, kTextScale, a);
  DrawHealthRow(withPrices, a);
  DrawDeadEyeRow(withPrices, a);
}

// The selected level of a row: its frame, and accept buys it. A column one past either end (the
// frame before it wraps) selects nothing.
void SelectInRow(const SkillLevel* row, bool* bought, int count, float frameY, float frameWidth) {
  const int32_t column = SkillTree.SkillTreeColumn;
  if (column >= 0 && column < count) {
    const int32_t g = 255;
    const int32_t rb = bought[column] ? 0 : 255;
    DrawScreenSprite("menu_textures", "crafting_outline",
                     {row[column].frameX, frameY, frameWidth, kFrameHeight},
                     {rb, g, rb, DrawAlpha(SkillTree.SkillTreeAlpha)});
    if (Pressed("INPUT_FRONTEND_ACCEPT") && CanBuy(row, bought, column))
      Buy(row[column], bought[column]);
  }
  // The wrap runs before the move, so a move out of range wraps on the next frame.
  if (SkillTree.SkillTreeColumn > count - 1) SkillTree.SkillTreeColumn = 0;
  if (SkillTree.SkillTreeColumn < 0) SkillTree.SkillTreeColumn = count - 1;
  if (Pressed("INPUT_MOVE_RIGHT_ONLY")) ++SkillTree.SkillTreeColumn;
  if (Pressed("INPUT_MOVE_LEFT_ONLY")) --SkillTree.SkillTreeColumn;
}

bool UpOrDownPressed() {
  const bool up = Pressed("INPUT_MOVE_UP_ONLY");
  const bool down = Pressed("INPUT_MOVE_DOWN_ONLY");
  return up || down;
}

void ChangeRow(int row) {
  SkillTree.SkillTreeRow = row;
  SkillTree.SkillTreeColumn = 0;
}

// One row per frame, chosen by the row at the start of the step, so a change of row is not
// undone by the other row's handling in the same frame.
void HandleSelection() {
  if (SkillTree.SkillTreeRow < 0) SkillTree.SkillTreeRow = 1;
  if (SkillTree.SkillTreeRow > 1) SkillTree.SkillTreeRow = 0;
  const bool deadEyeOpen = Progression.Rank >= kDeadEyeMinRank;
  if (SkillTree.SkillTreeRow == kDeadEyeRowIndex) {
    if (!deadEyeOpen) return;
    SelectInRow(kDeadEyeRow, Progression.DeadEyeLevel, kDeadEyeLevels, kDeadEyeFrameY,
                kDeadEyeFrameWidth);
    if (UpOrDownPressed()) ChangeRow(kHealthRowIndex);
  } else {
    SelectInRow(kHealthRow, Progression.HealthLevel, kHealthLevels, kHealthFrameY,
                kHealthFrameWidth);
    if (deadEyeOpen && UpOrDownPressed()) ChangeRow(kDeadEyeRowIndex);
  }
}

bool MayOpen() {
  // Not during a wardrobe visit either: the editor's own accept would also reach the tree.
  return !IsPlayerMenuBlocked(PlayerIndex()) && !IsPedMenuBlocked(PlayerPed()) &&
         !Screens.InteractionMenuOpen && !Screens.WardrobeVisit && Pressed("INPUT_AIM_IN_AIR");
}

void OpenSkillTree() {
  Screens.SkillTreeBusy = true;
  LoadTextureDict("generic_textures");
  LoadTextureDict("honor_display");
  LoadTextureDict("menu_textures");
  SetTimeScale(0.2f);
  RefreshPlayerState();
  StartScreenEffect("WheelHUDIn");
  PlayMenuSound("Leaderboard_Show", "MP_Leaderboard_Sounds", 0);
  while (SkillTree.SkillTreeAlpha < 255) {
    DrawSkillTreeScreen(false);
    SkillTree.SkillTreeAlpha += kFadeStep;
    ScriptWait(0);
  }
  DrawSkillTreeScreen(false);
  SkillTree.SkillTreeRow = 0;
  SkillTree.SkillTreeColumn = 0;
  SkillTree.SkillTreeState = kSkillTreeOpen;
}

void CloseSkillTree() {
  RefreshPlayerState();
  StartScreenEffect("WheelHUDOut");
  PlayMenuSound("Leaderboard_Hide", "MP_Leaderboard_Sounds", 0);
  while (SkillTree.SkillTreeAlpha > 0) {
    DrawSkillTreeScreen(false);
    SkillTree.SkillTreeAlpha -= kFadeStep;
    ScriptWait(0);
  }
  // Normal speed only once the screen has gone.
  SetTimeScale(1.0f);
  RefreshPlayerState();
  SkillTree.SkillTreeColumn = 0;
  SkillTree.SkillTreeRow = 0;
  SkillTree.SkillTreeState = kSkillTreeClosed;
  Screens.SkillTreeBusy = false;
}

}  // namespace

void UpdateSkillTree() {
  if (SkillTree.SkillTreeState == kSkillTreeClosed) {
    if (MayOpen()) OpenSkillTree();
    return;
  }
  DrawSkillTreeScreen(true);
  HandleSelection();
  if (Pressed("INPUT_FRONTEND_CANCEL")) CloseSkillTree();
}

void CloseSkillTreeAtOnce() {
  if (SkillTree.SkillTreeState == kSkillTreeClosed && !Screens.SkillTreeBusy) return;
  SetTimeScale(1.0f);
  RefreshPlayerState();
  SkillTree = {};
  Screens.SkillTreeBusy = false;
}

}  // namespace brimvale
