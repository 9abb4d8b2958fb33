// The wardrobe editor's rows over the outfit record.
#pragma once

namespace brimvale {

// One step of the editor's part or tint row (direction +1 raises, -1 lowers), put on at once.
void StepOutfitPart(int category, int direction);
void StepOutfitTint(int category, int direction);
// The editor's selected row on pad 0: D raises, A lowers.
void UpdateOutfitPartRow(int category);
void UpdateOutfitTintRow(int category);

}  // namespace brimvale
