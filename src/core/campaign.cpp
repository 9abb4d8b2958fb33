#include "core/campaign.h"

namespace brimvale {

CampaignState Campaign;

// The start point and the story dispatch arrive with the campaign controller.
void CampaignStep() {}
void ApplyWorldState() {}
void StylePlayerBlip() {}

}  // namespace brimvale
