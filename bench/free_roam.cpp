#include "free_roam.h"

#include "core/campaign.h"

namespace brimvale::bench {

bool EnterFreeRoam(sim::SimHost& host) {
  host.RunFrames(60);
  host.MovePlayer(kStartPoint);
  for (int tries = 0; tries < 600 && !Campaign.campaignStarted; ++tries) {
    host.Press("INPUT_CARRIABLE_SUICIDE", 2);
    host.RunFrame();
  }
  host.RunFrames(300);
  return Campaign.campaignStarted && Campaign.StoryProgress == 1;
}

}  // namespace brimvale::bench
