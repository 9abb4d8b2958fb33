// The train robbery: the free-roam mission offered after the prologue.
#pragma once

#include <cstdint>

namespace brimvale {

struct TrainRobberyState {
  int32_t TrainRobberyStage = 0;    // 0 available .. 5 wrap-up
  bool TrainRobberyActive = false;  // from the start prompt's completion until the wrap-up
};

extern TrainRobberyState TrainRobbery;

// One frame of the robbery's stage machine; runs in free roam.
void RunTrainRobbery();

}  // namespace brimvale
