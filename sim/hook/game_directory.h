// The plugin keeps its save file in the current directory, so every run that plays it gets a
// fresh, empty game directory of its own and returns to the old one afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace brimvale::sim {

// A save file read whole; empty when there is none (or it is a directory: the stream's buffer
// copy fails quietly).
inline std::string ReadSaveFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class GameDirectory {
 public:
  explicit GameDirectory(const std::string& name) {
    old_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  ~GameDirectory() {
    std::filesystem::current_path(old_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  GameDirectory(const GameDirectory&) = delete;
  GameDirectory& operator=(const GameDirectory&) = delete;

  const std::filesystem::path& path() const { return dir_; }
  std::string SaveText() const { return ReadSaveFile(dir_ / "Brimvale.ini"); }
  void WriteSave(const std::string& text) const {
    std::ofstream(dir_ / "Brimvale.ini", std::ios::binary | std::ios::trunc) << text;
  }

 private:
  std::filesystem::path old_;
  std::filesystem::path dir_;
};

}  // namespace brimvale::sim
