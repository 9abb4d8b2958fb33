#include "player/milestones.h"

#include "hook/game_directory.h"
#include "pictures/markup.h"
#include "player/save_text.h"

namespace brimvale::sim {

namespace fs = std::filesystem;

SaveEntries ReadSaveEntries(const fs::path& path) {
  SaveEntries entries;
  for (SaveEntry& e : ParseSaveText(ReadSaveFile(path)))
    entries[{std::move(e.section), std::move(e.key)}] = std::move(e.value);
  return entries;
}

std::string SavedValue(const SaveEntries& save, const char* section, const char* key) {
  auto it = save.find({section, key});
  return it == save.end() ? std::string() : it->second;
}

MilestoneWatcher::MilestoneWatcher(const SimHost& host, fs::path savePath)
    : host_(host), savePath_(std::move(savePath)), saved_(ReadSaveEntries(savePath_)) {}

void MilestoneWatcher::Watch(const std::function<void(const std::string&, bool)>& told) {
  WatchObjectives(told);
  WatchNotices(told);
  WatchSave(told);
}

void MilestoneWatcher::WatchObjectives(const std::function<void(const std::string&, bool)>& told) {
  const auto& lines = host_.world.ui.objectives;
  for (; objectives_ < lines.size(); ++objectives_) {
    // Missions may set the same line again on later frames; only a new one is worth a line.
    const std::string& text = lines[objectives_].text;
    if (text == lastObjective_) continue;
    lastObjective_ = text;
    told("objective: " + PlainText(text), false);
  }
}

void MilestoneWatcher::WatchNotices(const std::function<void(const std::string&, bool)>& told) {
  const auto& notices = host_.world.ui.notices;
  for (; notices_ < notices.size(); ++notices_) {
    const Notice& n = notices[notices_];
    switch (n.kind) {
      case NoticeKind::Help:
        // Prompts are posted again every frame; only a new text is worth a line.
        if (n.text == lastHelp_) continue;
        lastHelp_ = n.text;
        told("help: " + PlainText(n.text), true);
        break;
      case NoticeKind::Banner:
        told("banner: " + PlainText(n.text), true);
        break;
      case NoticeKind::Result:
        told("result: " + PlainText(n.text) + " - " + PlainText(n.subtitle), true);
        break;
      case NoticeKind::Toast:
        told("toast: " + PlainText(n.text) + " - " + PlainText(n.subtitle), true);
        break;
    }
  }
}

// One line per frame that changed the save file, naming the keys that changed.
void MilestoneWatcher::WatchSave(const std::function<void(const std::string&, bool)>& told) {
  std::error_code ec;
  const auto stamp = fs::last_write_time(savePath_, ec);
  const auto size = ec ? 0 : fs::file_size(savePath_, ec);
  if (ec || (stamp == saveStamp_ && size == saveSize_)) return;
  saveStamp_ = stamp;
  saveSize_ = size;
  SaveEntries entries = ReadSaveEntries(savePath_);
  std::string changes;
  std::string section;
  for (const auto& [name, value] : entries) {
    auto old = saved_.find(name);
    if (old != saved_.end() && old->second == value) continue;
    changes += changes.empty() ? "" : ", ";
    if (name.first != section) {
      section = name.first;
      changes += "[" + section + "] ";
    }
    changes += name.second + "=" + value;
  }
  saved_ = std::move(entries);
  if (!changes.empty()) told("save: " + changes, false);
}

}  // namespace brimvale::sim
