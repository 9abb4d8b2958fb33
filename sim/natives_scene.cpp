#include "host.h"

namespace brimvale::sim {

void RegisterSceneNatives(SimHost&) {}

}  // namespace brimvale::sim

namespace brimvale::sim {

void EndFrameScene(SimHost&) {}

}  // namespace brimvale::sim
