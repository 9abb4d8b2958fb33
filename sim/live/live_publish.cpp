// What the page is sent of the live game: the last frame's calls and the controls the plugin
// asked about, the save file's changes, and the frame message itself.
#include <algorithm>
#include <nlohmann/json.hpp>

#include "live/live_guide.h"
#include "live/live_session.h"
#include "pictures/screen_render.h"

namespace brimvale::sim {

// The frame's calls for the page.
void LiveGame::CollectCalls(Session& session) {
  session.calls.count = session.host.Trace().size();
  session.calls.lines.clear();
  session.asked.clear();
  // A replay at full speed shows no frame's calls: their lines would cost more than the frame.
  if (following_) {
    DrainTrace(session.host, session.names, [](const TraceEntry&) {});
    return;
  }
  std::string line;
  DrainTrace(session.host, session.names, [&](const TraceEntry& entry) {
    if (session.calls.lines.size() < kMaxListedCalls) {
      line.clear();
      AppendTraceJson(entry, session.names, line);
      if (!line.empty() && line.back() == '\n') line.pop_back();
      session.calls.lines.push_back(line);
    }
    if (entry.hash == ControlJustPressed.hash) {
      const std::string* name = session.names.Find(entry.UInt(1));
      const std::string control = name ? *name : "control " + std::to_string(entry.UInt(1));
      if (std::find(session.asked.begin(), session.asked.end(), control) == session.asked.end())
        session.asked.push_back(control);
    }
  });
}

// The save keys whose values changed, with the frame they changed at, for the page to highlight.
void LiveGame::MarkSaveChanges(Session& session) {
  for (const auto& [key, value] : session.watcher->Save()) {
    auto old = session.lastSave.find(key);
    if (old == session.lastSave.end() || old->second != value)
      session.changedAt[key] = session.host.Frame();
  }
  session.lastSave = session.watcher->Save();
}

void LiveGame::Publish(Session& session) {
  SimHost& host = session.host;
  using nlohmann::json;
  json frame;
  frame["frame"] = host.Frame();
  frame["timeMs"] = host.GameTime();
  frame["paused"] = session.paused;
  frame["speed"] = session.speed;
  frame["start"] = session.start;
  frame["playing"] = session.playing;
  frame["next"] = session.playing.empty() ? NextPart(session).name : "";
  frame["finished"] = session.finished;
  frame["fault"] = session.fault;
  frame["progress"] = session.progress;
  frame["replayed"] = replayed_;
  frame["recorded"] = recorder_ != nullptr;
  if (session.shared) {
    const PluginBuild& build = LoadedPluginBuild();
    frame["build"] = {{"id", build.id}, {"fileTime", build.fileTime}, {"path", build.path}};
  } else {
    frame["build"] = {{"id", "built in"}, {"fileTime", 0}, {"path", ""}};
  }
  const std::string caption = "live  |  frame " + std::to_string(host.Frame()) + "  |  seed " +
                              std::to_string(options_.seed);
  const ScreenFrame screen = CaptureScreen(host, caption);
  frame["screen"] = DrawingJson(LayOutScreen(screen));
  frame["guide"] = GuideLine(screen, CaptureWorldMap(host));
  frame["asked"] = session.asked;
  json keys = json::array();
  for (const KeyLegendLine& k : KeyLegend()) {
    json controls = json::array();
    for (const char* c : k.controls)
      controls.push_back(c);
    keys.push_back({{"key", k.key}, {"controls", controls}});
  }
  frame["keys"] = std::move(keys);
  frame["milestones"] = {
      {"total", session.milestonesTotal},
      {"lines", std::vector<std::string>(
                    session.milestones.end() - std::min<size_t>(session.milestones.size(), 50),
                    session.milestones.end())}};
  frame["log"] = {{"total", session.logTotal},
                  {"lines", std::vector<std::string>(
                                session.log.end() - std::min<size_t>(session.log.size(), 20),
                                session.log.end())}};
  json save = json::array();
  for (const auto& [key, value] : session.watcher->Save()) {
    auto changed = session.changedAt.find(key);
    save.push_back({{"section", key.first},
                    {"key", key.second},
                    {"value", value},
                    {"changed", changed == session.changedAt.end() ? -1 : changed->second}});
  }
  frame["save"] = std::move(save);
  frame["stats"] = StatsJson(host, session.watcher->Save());
  frame["calls"] = {{"count", session.calls.count}, {"lines", session.calls.lines}};
  frame["map"] = MapJson(host);

  auto message = std::make_shared<LiveFrame>();
  message->frame = host.Frame();
  message->json = frame.dump(-1, ' ', false, json::error_handler_t::replace);
  {
    std::lock_guard lock(mutex_);
    message->sequence = ++published_;
    latest_ = std::move(message);
  }
  session.lastPublish = LiveClock::now();
  changed_.notify_all();
}

}  // namespace brimvale::sim
