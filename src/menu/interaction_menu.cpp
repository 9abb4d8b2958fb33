#include "menu/interaction_menu.h"

namespace brimvale {

InteractionMenuState InteractionMenu;

void RunInteractionMenu() {}

}  // namespace brimvale
