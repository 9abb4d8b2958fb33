#include "host.h"

namespace brimvale::sim {

void RegisterLookNatives(SimHost&) {}

}  // namespace brimvale::sim
