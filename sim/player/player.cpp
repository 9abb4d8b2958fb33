#include "player/player.h"

#include <fstream>
#include <sstream>

#include "player/save_text.h"

namespace brimvale::sim {

std::string Player::SaveValue(const char* section, const char* key) const {
  // Read through the stream's buffer copy, which fails quietly where the save is a directory.
  std::ifstream in("Brimvale.ini", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return ReadSaveValue(text.str(), section, key);
}

}  // namespace brimvale::sim
