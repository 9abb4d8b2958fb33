#include "progression/progression.h"

#include <cstdint>
#include <cstdio>
#include <limits>

#include "core/native/natives.h"
#include "save/store.h"

namespace brimvale {

ProgressionState Progression;

namespace {

constexpr int32_t kBaseMaxHealth = 200;
constexpr int32_t kHealthPerLevel = 300;
constexpr int32_t kDeadEyeMinRank = 15;
constexpr int32_t kHighRankFlagMinRank = 25;

void UnlockBoughtDeadEye() {
  SetDeadEyeEnabled(PlayerIndex(), true);
  SetDeadEyeBlocked(PlayerIndex(), false);
  SetDeadEyeLevel(PlayerIndex(), 0);
  for (int level = 0; level < kDeadEyeLevels; ++level) {
    if (Progression.DeadEyeLevel[level]) {
      SetDeadEyeLevel(PlayerIndex(), level + 1);
      SetDeadEyeAbilityLocked(PlayerIndex(), level + 1, 0);
      SetDeadEyeMultiplier(PlayerIndex(), kDeadEyeMultipliers[level]);
    } else {
      SetDeadEyeAbilityLocked(PlayerIndex(), level + 1, 1);
    }
  }
}

void LockAllDeadEye() {
  SetDeadEyeEnabled(PlayerIndex(), false);
  SetDeadEyeBlocked(PlayerIndex(), true);
  SetDeadEyeLevel(PlayerIndex(), 0);
  for (int ability = 1; ability <= kDeadEyeLevels; ++ability)
    SetDeadEyeAbilityLocked(PlayerIndex(), ability, 1);
}

}  // namespace

int32_t SaturatingAdd(int32_t a, int32_t b) {
  int32_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
}

// A hand-edited total near the limit stays at the limit instead of wrapping to a negative one.
void AddXP(int32_t amount) {
  Progression.XP = SaturatingAdd(Progression.XP, amount);
  WriteInt("Rank", "XP", Progression.XP);
}

void ApplySkillEffects() {
  // Counted flag by flag: a hand-edited file may hold a level without the one below it.
  int32_t bought = 0;
  for (bool level : Progression.HealthLevel)
    bought += level ? 1 : 0;
  Progression.MaxHealth = kBaseMaxHealth + kHealthPerLevel * bought;
  SetPedMaxHealth(PlayerPed(), Progression.MaxHealth);
  SetPedHighRankFlag(PlayerPed(), Progression.Rank >= kHighRankFlagMinRank ? 1 : 0);
  if (Progression.Rank < kDeadEyeMinRank) {
    LockAllDeadEye();
  } else {
    UnlockBoughtDeadEye();
  }
}

int32_t DrawAlpha(int32_t alpha) {
  return alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
}

void LoadProgressionRecord() {
  Progression.Rank = ReadInt("Rank", "Rank", 0);
  Progression.XP = ReadInt("Rank", "XP", 0);
  Progression.XPToRank = ReadInt("Rank", "XPToRank", 0);
  Progression.SkillPoints = ReadInt("Rank", "Skill Points", 0);
  char key[32];
  for (int level = 0; level < kHealthLevels; ++level) {
    std::snprintf(key, sizeof key, "Health Lvl %d", level + 1);
    Progression.HealthLevel[level] = ReadBool("Rank", key, false);
  }
  for (int level = 0; level < kDeadEyeLevels; ++level) {
    std::snprintf(key, sizeof key, "Deadeye Lvl %d", level + 1);
    Progression.DeadEyeLevel[level] = ReadBool("Rank", key, false);
  }
}

}  // namespace brimvale
