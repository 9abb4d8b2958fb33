#include "character/creator.h"

namespace brimvale {

CreatorState Creator;

// The creator's stages arrive with the creator itself.
void RunCharacterCreator() {}

}  // namespace brimvale
