#include "player/player.h"

#include "hook/game_directory.h"
#include "player/save_text.h"

namespace brimvale::sim {

std::string Player::SaveValue(const char* section, const char* key) const {
  return ReadSaveValue(ReadSaveFile("Brimvale.ini"), section, key);
}

}  // namespace brimvale::sim
