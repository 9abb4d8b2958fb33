// What each ped wears and how it looks: texture layers, face features, body type, shop items,
// removed categories, voice, walk style.
#pragma once

namespace brimvale::sim {

struct LookWorld {};

}  // namespace brimvale::sim
