// Faults the simulated game can be told to make, for tests of a plugin that must survive them: a
// native that fails for a while (it does nothing and answers 0: no blip, no ped, no camera, a
// resource not loaded yet), a player who dies at a chosen moment, and the script stopped.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "core/native/natives.h"

namespace brimvale::sim {

class SimHost;

class FaultPlan {
 public:
  // The next `calls` calls of the native fail.
  template <uint64_t H, typename R, typename... P>
  void RefuseNext(const Native<H, R, P...>&, int calls) {
    faults_[H].callsLeft = calls;
  }
  // Every call of the native fails until the game reaches `frame`.
  template <uint64_t H, typename R, typename... P>
  void RefuseUntilFrame(const Native<H, R, P...>&, int64_t frame) {
    faults_[H].untilFrame = frame;
  }
  // How many calls of the native have failed so far.
  template <uint64_t H, typename R, typename... P>
  int Refused(const Native<H, R, P...>&) const {
    auto it = faults_.find(H);
    return it == faults_.end() ? 0 : it->second.refused;
  }

  // The player dies where it stands at the start of `frame` (a fall, a stray shot); the game then
  // waits for the plugin's death handling to bring it back.
  void KillPlayerAtFrame(int64_t frame) { deathFrame_ = frame; }
  // The game stops the plugin's script at the start of `frame`, as an unload would.
  void StopScriptAtFrame(int64_t frame) { stopFrame_ = frame; }

  // Whether this call fails; the host then skips the native's behaviour and answers zeros.
  bool Refuses(uint64_t hash, int64_t frame);
  // The scheduled faults of the frame that starts now.
  void BeginFrame(SimHost& host, int64_t frame);

 private:
  struct NativeFault {
    int callsLeft = 0;
    int64_t untilFrame = 0;
    int refused = 0;
  };
  std::unordered_map<uint64_t, NativeFault> faults_;
  int64_t deathFrame_ = -1;
  int64_t stopFrame_ = -1;
};

}  // namespace brimvale::sim
