// Map blips and the screen fade.
#pragma once

namespace brimvale::sim {

struct BlipWorld {};

}  // namespace brimvale::sim
