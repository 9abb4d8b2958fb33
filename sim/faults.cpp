#include "faults.h"

#include "host.h"
#include "world.h"

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
  if (frame == deathFrame_) KillPlayer(host.world);
  if (frame == reviveFrame_) RevivePlayer(host.world);
  if (frame == stopFrame_) host.UnloadPlugin();
}

void KillPlayer(World& world) {
  world.player.dead = true;
  world.PlayerEntity().dead = true;
}

void RevivePlayer(World& world) {
  world.player.dead = false;
  world.PlayerEntity().dead = false;
}

}  // namespace brimvale::sim
