// A started campaign past the prologue: a character made in an earlier session, "Story"/"Progress"
// = 1, the start point accepted and free roam running.
#pragma once

#include <string>

#include "core/campaign.h"
#include "sim_fixture.h"

namespace brimvale::testing {

class FreeRoamTest : public SimTest {
 protected:
  // `characterKeys` are more lines of section "Character".
  void StartFreeRoam(const std::string& characterKeys = "") {
    WriteSave("[Character]\nCreate Character=True\nGender=0\n" + characterKeys +
              "[Story]\nProgress=1\n");
    host.LoadPlugin();
    AcceptStartPoint();
  }

  // The same game loaded again, as after a restart of the game.
  void RestartGame() {
    host.UnloadPlugin();
    host.LoadPlugin();
    AcceptStartPoint();
  }

  void AcceptStartPoint() {
    host.RunFrames(3);
    host.MovePlayer({kStartPoint.x + 1.0f, kStartPoint.y, kStartPoint.z});
    host.RunFrame();
    host.Press("INPUT_CARRIABLE_SUICIDE", 2);
    ASSERT_TRUE(host.RunUntil(
        [&] {
          const auto& fades = host.world.blips.fades;
          return !fades.empty() && !fades.back().out;
        },
        600));
    host.RunFrames(30);  // the shops' blips and the first free-roam frames
  }

  void Press(const char* control, int32_t pad, int frames = 1) {
    host.Press(control, pad);
    host.RunFrames(frames);
  }

  bool Drawn(const char* text) const { return host.world.ui.lastFrame.FindText(text) != nullptr; }
  bool WaitUntilDrawn(const char* text, int maxFrames = 600) {
    return host.RunUntil([&] { return Drawn(text); }, maxFrames);
  }

  sim::PedLook& PlayerLook() { return host.world.look.Of(host.world.player.ped); }
  std::map<std::string, std::string> Worn() {
    return sim::WornItems(host.world.shop, PlayerLook());
  }
};

}  // namespace brimvale::testing
