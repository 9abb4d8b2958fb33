// The train robbery: the free-roam mission offered after the prologue. A hold prompt at the
// station starts it; the player boards a guarded train, takes the money bag, loses the law and
// carries the bag to the safe zone for cash and experience. It can be replayed at once.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

inline constexpr int kTrainGuardCount = 7;

// The robbery's stages in the order they run; the numbers are the ones traced and tested.
enum RobberyStageId : int32_t {
  kRobberyAvailable = 0,
  kRobberyBoardTrain = 1,
  kRobberyStealBag = 2,
  kRobberyEscapeLaw = 3,  // also where a wanted level on the way to the safe zone leads back
  kRobberyToSafeZone = 4,
  kRobberyWrapUp = 5,  // any later value does nothing
};

struct TrainRobberyState {
  RobberyStageId TrainRobberyStage = kRobberyAvailable;
  bool TrainGuardsAlerted = false;  // a guard sensed the player before the boarding
  // Every handle is set back to 0 when its thing is deleted, so a number the game hands out
  // again is never taken for ours.
  Blip RobberyStartBlip{};
  Prompt RobberyStartPrompt{};
  Vehicle RobberyTrain{};
  Object MoneyBag{};
  Ped TrainGuards[kTrainGuardCount]{};
};

extern TrainRobberyState TrainRobbery;

// One frame of the robbery's stage machine; runs in free roam.
void RunTrainRobbery();

// Parts of the mission that also stand on their own.
void SpawnRobberyTrain(Vector3 at);
void SpawnTrainLoot();
void ReportTrainRobbery();
// Ends the game's train services and deletes every train but the robbery's own.
void SuppressTrainServices();
void DrawScoreTimer();

}  // namespace brimvale
