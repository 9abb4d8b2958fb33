// Shared set-up for tests that play the plugin in the simulated host: a fresh game directory
// (the save file lives in the current directory) and a host with the plugin loaded.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "hook/game_directory.h"
#include "hook/host.h"
#include "player/save_text.h"

namespace brimvale::testing {

// A fresh game directory named after the running test.
inline std::string TestDirectoryName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name =
      std::string(info ? info->test_suite_name() : "t") + "_" + (info ? info->name() : "t");
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  // The process id keeps the same test of other checkouts on this machine out of this directory.
  return "brimvale_" + name + "_" + std::to_string(::getpid());
}

class GameDirectory : public sim::GameDirectory {
 public:
  GameDirectory() : sim::GameDirectory(TestDirectoryName()) {}
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// A host with a fresh game directory; the plugin is loaded by the test when its world is set up.
class SimTest : public ::testing::Test {
 protected:
  explicit SimTest(sim::HostConfig config = {}) : host(config) {}
  void TearDown() override { host.UnloadPlugin(); }

  void WriteSave(const std::string& text) { WriteFile(dir.path() / "Brimvale.ini", text); }
  std::string SaveText() const { return ReadFile(dir.path() / "Brimvale.ini"); }
  // One value as the game reads it back (names without regard to case, the first one found), so
  // that "XP=1600" is not taken for "XP=160"; empty when the key is not there.
  std::string SaveValue(std::string_view section, std::string_view key) const {
    return sim::ReadSaveValue(SaveText(), section, key);
  }
  bool SaveHasKey(std::string_view section, std::string_view key) const {
    const auto same = [](std::string_view a, std::string_view b) {
      return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
      });
    };
    for (const sim::SaveEntry& e : sim::ParseSaveText(SaveText()))
      if (same(e.section, section) && same(e.key, key)) return true;
    return false;
  }

  GameDirectory dir;
  sim::SimHost host;
};

}  // namespace brimvale::testing
