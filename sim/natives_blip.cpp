#include "host.h"

namespace brimvale::sim {

void RegisterBlipNatives(SimHost&) {}

}  // namespace brimvale::sim
