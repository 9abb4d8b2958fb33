#include "missions/prologue.h"

namespace brimvale {

PrologueState Prologue;

void RunPrologue() {}

void SuppressPenitentiary() {}

}  // namespace brimvale
