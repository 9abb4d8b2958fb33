#include "missions/train_robbery.h"

namespace brimvale {

void RunTrainRobbery() {}

}  // namespace brimvale
