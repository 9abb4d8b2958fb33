#include "wardrobe/wardrobe.h"

namespace brimvale {

void UpdateWardrobe() {}

}  // namespace brimvale
