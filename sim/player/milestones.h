// What the game showed or saved since the last look, told as milestone lines: new objective
// lines, help texts, banners, result screens, toasts and each change of the save file. The
// playthrough prints them; the live page lists them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "hook/host.h"

namespace brimvale::sim {

using SaveEntries = std::map<std::pair<std::string, std::string>, std::string>;

// The save file's sections and keys as they stand; empty when there is no file.
SaveEntries ReadSaveEntries(const std::filesystem::path& path);

// The value of one key; empty when it is not there.
std::string SavedValue(const SaveEntries& save, const char* section, const char* key);

class MilestoneWatcher {
 public:
  MilestoneWatcher(const SimHost& host, std::filesystem::path savePath);

  // Calls `told` with each new line; `notice` marks help texts, banners, result screens and toasts.
  void Watch(const std::function<void(const std::string& line, bool notice)>& told);
  const SaveEntries& Save() const { return saved_; }

 private:
  void WatchObjectives(const std::function<void(const std::string&, bool)>& told);
  void WatchNotices(const std::function<void(const std::string&, bool)>& told);
  void WatchSave(const std::function<void(const std::string&, bool)>& told);

  const SimHost& host_;
  std::filesystem::path savePath_;
  size_t objectives_ = 0, notices_ = 0;
  std::string lastHelp_, lastObjective_;
  SaveEntries saved_;
  std::filesystem::file_time_type saveStamp_{};
  uintmax_t saveSize_ = 0;
};

}  // namespace brimvale::sim
