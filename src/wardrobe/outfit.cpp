// The outfit record, its item names and how it is put on the player.
#include "wardrobe/outfit.h"

#include <cstdio>
#include <cstring>

#include "character/character_record.h"
#include "core/natives.h"
#include "save/store.h"
#include "ui/editor_rows.h"

namespace brimvale {

OutfitState Outfit;

namespace {

constexpr const char* kSection = "Character";

bool InCatalogue(int category) {
  return category >= 0 && category < kClothingCategoryCount;
}

// "00" below 10 (so -1 becomes "00-1"), "0" up to 99, nothing from 100 on.
const char* ThreeDigitPadding(int32_t n) {
  return n < 10 ? "00" : n < 100 ? "0" : "";
}

void PartKey(int category, char (&out)[32]) {
  std::snprintf(out, sizeof out, "Outfit Part %d", category);
}

void TintKey(int category, char (&out)[32]) {
  std::snprintf(out, sizeof out, "Outfit Tint %d", category);
}

// A change on the editor's row: the light refresh and the row's sound come before the new value
// is put on.
void BeginRowChange(const char* sound) {
  UpdatePedVariation(PlayerPed(), 0, 1, 0, 1, 0);
  EditorSound(sound);
}

}  // namespace

void ClothingItemName(const char* genderLetter, int category, int32_t part, int32_t tint,
                      char (&out)[kClothingItemNameSize]) {
  if (!InCatalogue(category)) {
    out[0] = '\0';
    return;
  }
  const ClothingCategory& row = kClothingCategories[category];
  std::snprintf(out, sizeof out, "CLOTHING_ITEM_%s_%s_%s%d_%s_%s%d",
                genderLetter ? genderLetter : "", row.itemWord, ThreeDigitPadding(part), part,
                row.numberWord, ThreeDigitPadding(tint), tint);
}

void ClothingItemName(int category, int32_t part, int32_t tint,
                      char (&out)[kClothingItemNameSize]) {
  ClothingItemName(Outfit.OutfitGenderLetter, category, part, tint, out);
}

void ApplyOutfitCategory(int category) {
  if (!InCatalogue(category)) return;
  const int32_t part = Outfit.OutfitParts[category];
  char name[kClothingItemNameSize];
  ClothingItemName(category, part, Outfit.OutfitTints[category], name);
  const Ped ped = PlayerPed();
  ApplyShopItemToPed(ped, HashName(name), 1, 1, 0);
  const char* removal = kClothingCategories[category].removalCategory;
  if (part == -1 && removal) {
    RemovePedComponentCategory(PlayerPed(), HashName(removal), 1);
  }
  UpdatePedVariation(PlayerPed(), 1, 1, 1, 1, 1);
}

void ApplyOutfit() {
  if (Character.Gender == 0) std::strcpy(Outfit.OutfitGenderLetter, "M");
  if (Character.Gender == 1) std::strcpy(Outfit.OutfitGenderLetter, "F");
  for (int category = 0; category < kClothingCategoryCount; ++category) {
    ApplyOutfitCategory(category);
  }
}

void SaveOutfit() {
  char key[32];
  for (int category = 0; category < kClothingCategoryCount; ++category) {
    PartKey(category, key);
    WriteInt(kSection, key, Outfit.OutfitParts[category]);
    TintKey(category, key);
    WriteInt(kSection, key, Outfit.OutfitTints[category]);
  }
}

void LoadOutfit() {
  char key[32];
  for (int category = 0; category < kClothingCategoryCount; ++category) {
    PartKey(category, key);
    Outfit.OutfitParts[category] = ReadInt(kSection, key, Outfit.OutfitParts[category]);
    TintKey(category, key);
    Outfit.OutfitTints[category] = ReadInt(kSection, key, Outfit.OutfitTints[category]);
  }
}

void BackupOutfit() {
  std::memcpy(Outfit.OutfitBackupParts, Outfit.OutfitParts, sizeof Outfit.OutfitParts);
  std::memcpy(Outfit.OutfitBackupTints, Outfit.OutfitTints, sizeof Outfit.OutfitTints);
}

void RestoreOutfit() {
  std::memcpy(Outfit.OutfitParts, Outfit.OutfitBackupParts, sizeof Outfit.OutfitParts);
  std::memcpy(Outfit.OutfitTints, Outfit.OutfitBackupTints, sizeof Outfit.OutfitTints);
}

// A new part starts at tint 1, also when the part is already at its limit.
void StepOutfitPart(int category, int direction) {
  if (!InCatalogue(category) || direction == 0) return;
  int32_t& part = Outfit.OutfitParts[category];
  BeginRowChange(direction > 0 ? "NAV_RIGHT" : "NAV_LEFT");
  if (direction > 0 && part < kOutfitPartMax) ++part;
  if (direction < 0 && part > kOutfitPartMin) --part;
  Outfit.OutfitTints[category] = 1;
  ApplyOutfitCategory(category);
}

void StepOutfitTint(int category, int direction) {
  if (!InCatalogue(category) || direction == 0) return;
  int32_t& tint = Outfit.OutfitTints[category];
  BeginRowChange(direction > 0 ? "NAV_RIGHT" : "NAV_LEFT");
  if (direction > 0 && tint < kOutfitTintMax) ++tint;
  if (direction < 0 && tint > kOutfitTintMin) --tint;
  ApplyOutfitCategory(category);
}

void UpdateOutfitPartRow(int category) {
  if (EditorPressed("INPUT_MOVE_RIGHT_ONLY")) StepOutfitPart(category, +1);
  if (EditorPressed("INPUT_MOVE_LEFT_ONLY")) StepOutfitPart(category, -1);
}

void UpdateOutfitTintRow(int category) {
  if (EditorPressed("INPUT_MOVE_RIGHT_ONLY")) StepOutfitTint(category, +1);
  if (EditorPressed("INPUT_MOVE_LEFT_ONLY")) StepOutfitTint(category, -1);
}

}  // namespace brimvale
