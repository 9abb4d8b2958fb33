// The outfit: one (part, tint) pair per clothing category, the catalogue of the categories, the
// item-name rule, putting it on the player and its forty save keys. The character's look puts it
// on and its keys are in section "Character", so it sits with the character; the wardrobe's
// editor steps it (wardrobe/outfit_editor.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace brimvale {

inline constexpr int kClothingCategoryCount = 20;
inline constexpr int32_t kOutfitPartMin = -1;  // -1 is "none"
inline constexpr int32_t kOutfitPartMax = 500;
inline constexpr int32_t kOutfitTintMin = 0;
inline constexpr int32_t kOutfitTintMax = 15;
// Long enough for the longest item word with two full-width 32-bit numbers.
inline constexpr size_t kClothingItemNameSize = 64;

struct ClothingCategory {
  const char* partLabel;        // the editor's part row
  const char* tintLabel;        // the editor's tint row
  const char* itemWord;         // "HAT" in "CLOTHING_ITEM_M_HAT_000_TINT_000"
  const char* numberWord;       // "TINT", or "VAR" for masks
  const char* removalCategory;  // removed when the part is -1; nullptr for Pants
};

inline constexpr ClothingCategory kClothingCategories[kClothingCategoryCount] = {
    {"Hat", "Hat Tint", "HAT", "TINT", "hats"},
    {"Coat", "Coat Tint", "COAT", "TINT", "coats"},
    {"Shirt", "Shirt Tint", "SHIRT", "TINT", "shirts_full"},
    {"Vest", "Vest Tint", "VEST", "TINT", "vests"},
    // Pants at -1 removes nothing: the character keeps the trousers it wears.
    {"Pants", "Pants Tint", "PANTS", "TINT", nullptr},
    {"Boots", "Boots Tint", "BOOTS", "TINT", "boots"},
    {"Gloves", "Gloves Tint", "GLOVES", "TINT", "gloves"},
    {"Necktie", "Necktie Tint", "NECKTIE", "TINT", "neckties"},
    {"Gunbelt", "Gunbelt Tint", "GUNBELT", "TINT", "gunbelts"},
    {"Spurs", "Spurs Tint", "SPURS", "TINT", "boot_accessories"},
    {"Chaps", "Chaps Tint", "CHAPS", "TINT", "chaps"},
    {"Close Coat", "Close Coat Tint", "CLOSECOAT", "TINT", "coats_closed"},
    {"Eyewear", "Eyewear Tint", "EYEWEAR", "TINT", "eyewear"},
    {"Bandolier", "Bandolier Tint", "BANDOLIER", "TINT", "loadouts"},
    {"Mask", "Mask Tint", "MASK", "VAR", "masks"},
    {"Neckerchief", "Neckerchief Tint", "NECKERCHIEF", "TINT", "neckwear"},
    {"Neckwear", "Neckwear Tint", "NECKWEAR", "TINT", "neckwear"},
    {"Overalls", "Overalls Tint", "OVERALLS", "TINT", "pants"},
    {"Poncho", "Poncho Tint", "PONCHO", "TINT", "ponchos"},
    {"Suspenders", "Suspenders Tint", "SUSPENDERS", "TINT", "suspenders"},
};

struct OutfitState {
  // Hat 0/0, shirt 1/1, pants 0/1, boots 1/1 and gunbelt 0/0; the rest none.
  int32_t OutfitParts[kClothingCategoryCount] = {0,  -1, 1,  -1, 0,  1,  -1, -1, 0,  -1,
                                                 -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  int32_t OutfitTints[kClothingCategoryCount] = {0, 0, 1, 0, 1, 1, 0, 0, 0, 1,
                                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  // Taken when a wardrobe is entered, put back when the visit is cancelled.
  int32_t OutfitBackupParts[kClothingCategoryCount] = {};
  int32_t OutfitBackupTints[kClothingCategoryCount] = {};
  char OutfitGenderLetter[2] = "M";
};

extern OutfitState Outfit;

// "CLOTHING_ITEM_" + letter + "_" + item word + "_" + part + "_" + number word + "_" + tint, the
// numbers zero-padded to three digits (-1 becomes "00-1"). A category outside the catalogue gives
// an empty name.
void ClothingItemName(const char* genderLetter, int category, int32_t part, int32_t tint,
                      char (&out)[kClothingItemNameSize]);
// The same with the outfit's own gender letter.
void ClothingItemName(int category, int32_t part, int32_t tint, char (&out)[kClothingItemNameSize]);

// Puts one category of the outfit on the player's ped (and removes it when the part is -1).
void ApplyOutfitCategory(int category);
// Takes the gender letter from the character, then puts on all twenty categories in order.
void ApplyOutfit();
// "Outfit Part i" then "Outfit Tint i" for i = 0 .. 19.
void SaveOutfit();
// The same keys in the same order, each defaulting to the value in memory.
void LoadOutfit();
void BackupOutfit();
void RestoreOutfit();

}  // namespace brimvale
