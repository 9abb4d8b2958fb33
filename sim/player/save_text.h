// The save file read the way a player or a watcher reads it: sections, keys and values in file
// order, names compared without regard to case as the game's profile functions do.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brimvale::sim {

struct SaveEntry {
  std::string section, key, value;
};

// A player's save file to start a game from, read whole; false with the reason in `error` (no
// such file, not a regular file, a read that failed).
bool ReadStartSave(const std::filesystem::path& path, std::string& text, std::string& error);

std::vector<SaveEntry> ParseSaveText(std::string_view text);
// The value of one key; empty when it is not there.
std::string ReadSaveValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace brimvale::sim
