// A player whose character was made in an earlier session and who has passed the prologue: the
// test starts the campaign at the start point and plays on in free roam.
#pragma once

#include <string>

#include "core/campaign.h"
#include "sim_fixture.h"

namespace brimvale::testing {

class FreeRoamTest : public SimTest {
 protected:
  // `rankSection` is appended to the save file (for example "[Rank]\nRank=14\n").
  void EnterFreeRoam(const std::string& rankSection = "") {
    WriteSave("[Character]\nCreate Character=True\nGender=0\n[Story]\nProgress=1\n" + rankSection);
    host.LoadPlugin();
    host.MovePlayer(kStartPoint);
    ASSERT_TRUE(host.RunUntil([&] { return host.world.ui.LastHelpText() == kStartPrompt; }, 60));
    host.Press("INPUT_CARRIABLE_SUICIDE", 2);
    ASSERT_TRUE(host.RunUntil(
        [&] {
          const auto& fades = host.world.blips.fades;
          return !fades.empty() && !fades.back().out && Campaign.characterApplied;
        },
        600));
  }

  Vector3 PlayerAt() { return host.PlayerPosition(); }
  sim::PlayerWorld& Life() { return host.world.life; }
};

}  // namespace brimvale::testing
