// Cameras, animations, relationship groups, money, weapons, attributes, transitions, music and
// audio flags.
#pragma once

namespace brimvale::sim {

struct SceneWorld {};

}  // namespace brimvale::sim
