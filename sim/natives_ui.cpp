#include "host.h"

namespace brimvale::sim {

void RegisterUiNatives(SimHost&) {}

}  // namespace brimvale::sim

namespace brimvale::sim {

void EndFrameUi(SimHost&) {}

}  // namespace brimvale::sim
