// The outfit record, its item names and how it is put on the player.
#include "character/outfit.h"

#include <cstdio>
#include <cstring>

#include "character/character_record.h"
#include "core/native/natives.h"
#include "save/store.h"

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

}  // namespace brimvale
