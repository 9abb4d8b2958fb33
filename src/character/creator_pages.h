// The creator's menu pages, run by its stage machine: one page stage per frame, drawn anew each
// frame from the cursor values and the character record.
#pragma once

#include <cstdint>

namespace brimvale {

void RunCreatorMainMenu();
void RunFacialFeaturesPages();
void RunBodyPages();
void RunHairPages();
void ChangeCreatorGender(int32_t);  // the body stage's gender row; blocks for about four seconds

}  // namespace brimvale
