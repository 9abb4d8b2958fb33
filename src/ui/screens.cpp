#include "ui/screens.h"

namespace brimvale {

CampaignState Campaign;
ScreenFlags Screens;

}  // namespace brimvale
