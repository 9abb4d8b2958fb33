// The train robbery: the free-roam mission offered after the prologue.
#pragma once

namespace brimvale {

// One frame of the robbery's stage machine; runs in free roam.
void RunTrainRobbery();

}  // namespace brimvale
