// The rank panel and the rank-up rule.
#include "progression/rank_hud.h"

#include <cstdio>

#include "core/native/natives.h"
#include "core/native/waits.h"
#include "progression/progression.h"
#include "progression/skill_tree.h"
#include "save/store.h"
#include "ui/toolkit.h"

namespace brimvale {

RankHudState RankHud;

namespace {

constexpr int32_t kShowMs = 4000;
constexpr int32_t kFadeInStep = 15;
constexpr int32_t kFadeOutStep = 5;
constexpr int32_t kRankUpDrawLow = 75;
constexpr int32_t kRankUpDrawHigh = 101;

constexpr int kBandLayers = 3;
constexpr int kBadgeLayers = 4;

// The rank number moves left as it gains digits.
float RankNumberX(int32_t rank) {
  if (rank < 10) return 0.032f;
  if (rank < 100) return 0.024f;
  return 0.016f;
}

void WhiteText(const char* text, float x, float y, float scale, int32_t alpha) {
  DrawText(text, x, y, scale, scale, 255, 255, 255, alpha);
}

void UpdatePanelVisibility() {
  const int32_t now = GameTimer();
  const bool reveal = ControlJustPressed(kMenuPad, HashName("INPUT_REVEAL_HUD"));
  // Exclusive cases on the deadline as it stood at the start of the frame, so a press that
  // dismisses the panel does not show it again in the same frame.
  if (RankHud.RankHudShowUntil != 0 && TimerBefore(now, RankHud.RankHudShowUntil)) {
    if (RankHud.RankHudAlpha < 255) RankHud.RankHudAlpha += kFadeInStep;
    if (reveal) RankHud.RankHudShowUntil = 0;
  } else if (RankHud.RankHudShowUntil != 0) {
    RankHud.RankHudShowUntil = 0;
  } else {
    if (RankHud.RankHudAlpha > 0) RankHud.RankHudAlpha -= kFadeOutStep;
    if (reveal) RankHud.RankHudShowUntil = TimerAfter(now, kShowMs);
  }
}

void RunRankPanel() {
  LoadTextureDict("generic_textures");
  LoadTextureDict("honor_display");
  DrawRankPanel(RankHud.RankHudAlpha, true);
  UpdatePanelVisibility();
}

// One rank per frame at most; the experience above the threshold is not carried over.
void RankUpIfDue() {
  ProgressionState& p = Progression;
  if (p.XP < p.XPToRank) return;
  RankHud.RankHudShowUntil = TimerAfter(GameTimer(), kShowMs);
  p.SkillPoints = SaturatingAdd(p.SkillPoints, 1);
  WriteInt("Rank", "Skill Points", p.SkillPoints);
  p.XP = 0;
  WriteInt("Rank", "XP", p.XP);
  // A threshold edited to zero or below starts again as a fresh save's does, so it ranks up
  // once rather than every frame.
  const int32_t base = p.XPToRank > 0 ? p.XPToRank : 0;
  p.XPToRank = SaturatingAdd(base, RandomIntInRange(kRankUpDrawLow, kRankUpDrawHigh));
  WriteInt("Rank", "XPToRank", p.XPToRank);
  p.Rank = SaturatingAdd(p.Rank, 1);
  WriteInt("Rank", "Rank", p.Rank);
  PlayMenuSound("Gain_Point", "HUD_MP_PITP", 0);
}

// The panel's band and badge, as fractions of the screen.
constexpr ScreenRect kBand{0.2f, 0.01f, 0.4f, 0.05f};
constexpr ScreenRect kBadge{0.04f, 0.085f, 0.1f, 0.18f};

}  // namespace

void DrawRankPanel(int32_t alpha, bool withName) {
  const int32_t a = DrawAlpha(alpha);
  for (int i = 0; i < kBandLayers; ++i)
    DrawScreenSprite("honor_display", "honor_bg", kBand, {0, 0, 0, a});
  for (int i = 0; i < kBadgeLayers; ++i)
    DrawScreenSprite("generic_textures", "shield", kBadge, {0, 0, 0, a});
  WhiteText("RANK", 0.012f, 0.0f, 1.0f, a);
  char number[16];
  std::snprintf(number, sizeof number, "%d", Progression.Rank);
  WhiteText(number, RankNumberX(Progression.Rank), 0.055f, 0.5f, a);
  char experience[32];
  std::snprintf(experience, sizeof experience, "%d | %d", Progression.XP, Progression.XPToRank);
  WhiteText(experience, 0.21f, 0.0f, 0.5f, a);
  if (withName) WhiteText(GetPlayerName(PlayerIndex()), 0.17f, 0.025f, 0.5f, a);
}

void UpdateRankHud() {
  // While the tree is open it draws its own copy of the panel.
  if (SkillTree.SkillTreeState == kSkillTreeClosed) RunRankPanel();
  RankUpIfDue();
  SetPlayerScalar(PlayerIndex(), 100.0f);
  UpdateSkillTree();
}

}  // namespace brimvale
