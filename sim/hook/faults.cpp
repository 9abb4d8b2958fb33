#include "hook/faults.h"

#include "hook/host.h"

namespace brimvale::sim {

bool FaultPlan::Refuses(uint64_t hash, int64_t frame) {
  auto it = faults_.find(hash);
  if (it == faults_.end()) return false;
  NativeFault& fault = it->second;
  const bool fails = fault.callsLeft > 0 || frame < fault.untilFrame;
  if (!fails) return false;
  if (fault.callsLeft > 0) --fault.callsLeft;
  ++fault.refused;
  return true;
}

void FaultPlan::BeginFrame(SimHost& host, int64_t frame) {
  if (frame == deathFrame_) host.world.Kill(host.world.player.ped, frame);
  if (frame == stopFrame_) host.UnloadPlugin();
}

}  // namespace brimvale::sim
