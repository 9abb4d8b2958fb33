#include "missions/train_robbery.h"

namespace brimvale {

TrainRobberyState TrainRobbery;

void RunTrainRobbery() {}

}  // namespace brimvale
