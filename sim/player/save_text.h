// The save file read the way a player or a watcher reads it: sections, keys and values in file
// order, names compared without regard to case as the game's profile functions do.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brimvale::sim {

struct SaveEntry {
  std::string section, key, value;
};

std::vector<SaveEntry> ParseSaveText(std::string_view text);
// The value of one key; empty when it is not there.
std::string ReadSaveValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace brimvale::sim
