// The clothing shops in the towns and their wardrobe screens.
#pragma once

namespace brimvale {

// One frame of the shops: their blips, entry prompts and open screens; runs in free roam.
void UpdateWardrobe();

}  // namespace brimvale
