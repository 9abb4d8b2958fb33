#include "host.h"

namespace brimvale::sim {

void RegisterCameraNatives(SimHost&) {}

void EndFrameCamera(SimHost&) {}

}  // namespace brimvale::sim
