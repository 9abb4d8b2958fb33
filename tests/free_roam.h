// A player whose character was made in an earlier session and who has passed the prologue: the
// test starts the campaign at the start point and plays on in free roam.
#pragma once

#include <map>
#include <string>

#include "core/campaign.h"
#include "sim_fixture.h"

namespace brimvale::testing {

class FreeRoamTest : public SimTest {
 protected:
  // `rankSection` is appended to the save file (for example "[Rank]\nRank=14\n");
  // `characterKeys` are more lines of section "Character" (for example "Walking Style=DRUNK\n").
  void EnterFreeRoam(const std::string& rankSection = "", const std::string& characterKeys = "") {
    WriteSave("[Character]\nCreate Character=True\nGender=0\n" + characterKeys +
              "[Story]\nProgress=1\n" + rankSection);
    host.LoadPlugin();
    AcceptStartPoint();
  }

  // Free roam once its first frames have run (the shops place their blips then).
  void StartFreeRoam(const std::string& characterKeys = "") {
    EnterFreeRoam("", characterKeys);
    host.RunFrames(30);
  }

  // The same game loaded again, as after a restart of the game.
  void RestartGame() {
    host.UnloadPlugin();
    host.LoadPlugin();
    AcceptStartPoint();
    host.RunFrames(30);
  }

  void AcceptStartPoint() {
    host.MovePlayer(kStartPoint);
    ASSERT_TRUE(host.RunUntil([&] { return host.world.ui.LastHelpText() == kStartPrompt; }, 60));
    host.Press("INPUT_CARRIABLE_SUICIDE", 2);
    ASSERT_TRUE(host.RunUntil(
        [&] {
          const auto& fades = host.world.blips.fades;
          return !fades.empty() && !fades.back().out && Campaign.characterApplied;
        },
        600));
    // In free roam the rank panel's textures load before it runs steadily; the prologue has none.
    if (Campaign.StoryProgress > 0) {
      ASSERT_TRUE(host.RunUntil([&] { return host.world.ui.lastFrame.FindText("RANK"); }, 60));
    }
  }

  Vector3 PlayerAt() { return host.PlayerPosition(); }
  sim::PlayerWorld& Life() { return host.world.life; }

  // One press, then `frames` frames.
  void Press(const char* control, int32_t pad, int frames = 1) {
    host.Press(control, pad);
    host.RunFrames(frames);
  }
  bool Drawn(const char* text) const { return host.world.ui.lastFrame.FindText(text) != nullptr; }
  bool WaitUntilDrawn(const char* text, int maxFrames = 600) {
    return host.RunUntil([&] { return Drawn(text); }, maxFrames);
  }

  sim::PedLook& PlayerLook() { return host.world.look.Of(host.world.player.ped); }
  // What the player's ped wears, by clothing slot.
  std::map<std::string, std::string> Worn() {
    return sim::WornItems(host.world.shop, PlayerLook());
  }
};

}  // namespace brimvale::testing
