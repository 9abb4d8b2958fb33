#include "player.h"

#include <fstream>

#include "save_text.h"

namespace brimvale::sim {

std::string Player::SaveValue(const char* section, const char* key) const {
  std::ifstream in("Brimvale.ini", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReadSaveValue(text, section, key);
}

}  // namespace brimvale::sim
