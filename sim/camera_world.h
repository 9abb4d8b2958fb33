// Script cameras, animation dictionaries and the animations peds play.
#pragma once

namespace brimvale::sim {

struct CameraWorld {};

}  // namespace brimvale::sim
