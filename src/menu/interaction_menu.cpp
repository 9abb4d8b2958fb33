#include "menu/interaction_menu.h"

namespace brimvale {

void RunInteractionMenu() {}

}  // namespace brimvale
