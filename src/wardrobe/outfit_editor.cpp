// The wardrobe editor's part and tint rows: each step is put on the player at once.
#include "wardrobe/outfit_editor.h"

#include "character/outfit.h"
#include "core/native/natives.h"
#include "ui/editor_rows.h"

namespace brimvale {
namespace {

bool InCatalogue(int category) {
  return category >= 0 && category < kClothingCategoryCount;
}

// A change on the editor's row: the light refresh and the row's sound come before the value
// moves one step within its limits; the caller puts the new value on.
void StepRowValue(int32_t& value, int direction, int32_t least, int32_t most) {
  UpdatePedVariation(PlayerPed(), 0, 1, 0, 1, 0);
  EditorSound(direction > 0 ? "NAV_RIGHT" : "NAV_LEFT");
  if (direction > 0 && value < most) ++value;
  if (direction < 0 && value > least) --value;
}

}  // namespace

// A new part starts at tint 1, also when the part is already at its limit.
void StepOutfitPart(int category, int direction) {
  if (!InCatalogue(category) || direction == 0) return;
  StepRowValue(Outfit.OutfitParts[category], direction, kOutfitPartMin, kOutfitPartMax);
  Outfit.OutfitTints[category] = 1;
  ApplyOutfitCategory(category);
}

void StepOutfitTint(int category, int direction) {
  if (!InCatalogue(category) || direction == 0) return;
  StepRowValue(Outfit.OutfitTints[category], direction, kOutfitTintMin, kOutfitTintMax);
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
