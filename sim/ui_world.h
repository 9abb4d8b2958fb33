// What the plugin drew and posted: the frame's draw list, notices, sounds, texture dictionaries.
#pragma once

namespace brimvale::sim {

struct UiWorld {};

}  // namespace brimvale::sim
