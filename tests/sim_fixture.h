// Shared set-up for tests that play the plugin in the simulated host: a fresh game directory
// (the save file lives in the current directory) and a host with the plugin loaded.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <unistd.h>

#include "hook/game_directory.h"
#include "hook/host.h"

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

  GameDirectory dir;
  sim::SimHost host;
};

}  // namespace brimvale::testing
