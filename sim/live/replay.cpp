#include "live/replay.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>

#include "hook/plugin_link.h"
#include "hook/trace_json.h"
#include "natives/player_actions.h"
#include "pictures/screen_frame.h"
#include "pictures/world_map.h"
#include "player/game_run.h"
#include "player/save_text.h"
#include "player/scenario.h"

namespace brimvale::sim {
namespace {

namespace fs = std::filesystem;

std::string Clock(int32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d", ms / 60000, ms / 1000 % 60);
  return text;
}

SaveEntries EntriesOf(const std::string& text) {
  SaveEntries entries;
  for (const SaveEntry& e : ParseSaveText(text))
    entries[{e.section, e.key}] = e.value;
  return entries;
}

void Outcome(std::ostream& out, int64_t frames, std::chrono::steady_clock::time_point started,
             int result, int checked, bool ended, const fs::path& outDir) {
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char speed[96];
  std::snprintf(speed, sizeof speed, "%lld frames in %.2f s (%.0f frames a second)",
                static_cast<long long>(frames), wall, wall > 0 ? frames / wall : 0.0);
  out << "replayed " << speed << "\n";
  if (result == 0) {
    if (checked == 0)
      out << "no digest to compare: not checked\n";
    else
      out << "every digest matched (" << checked << ")"
          << (ended ? "" : "; the recording has no end") << "\n";
  }
  std::error_code ec;
  out << "save file "
      << (fs::exists(outDir / "Brimvale.ini", ec) ? (outDir / "Brimvale.ini").string()
                                                  : std::string("none written"))
      << "\n";
}

// A live session's recording, played by the live game itself with nobody watching.
int ReplayLive(const ReplayOptions& options, std::shared_ptr<const Recording> rec,
               const fs::path& outDir, std::ostream& out) {
  const auto started = std::chrono::steady_clock::now();
  LiveOptions live;
  live.seed = rec->start.seed;
  live.frameMs = rec->start.frameMs;
  live.plugin = options.plugin.empty() ? std::string() : fs::absolute(options.plugin).string();
  live.follow = rec;
  live.followTo = options.to;
  live.headless = true;
  live.log = [&out](const std::string& line) {
    if (line.starts_with("  [frame ")) out << line << "\n";
  };
  if (options.shots || options.trace)
    out << "(a live session's replay writes no screenshots or trace)\n";
  LiveGame game(live);
  game.RunHere();
  const FollowResult& result = game.Followed();
  if (result.diverged) {
    out << "the replay differs from the recording at frame " << result.frame << " (line "
        << result.line << "):\n";
    for (const std::string& d : result.differences)
      out << "  " << d << "\n";
  }
  std::ofstream(outDir / "Brimvale.ini", std::ios::binary | std::ios::trunc) << result.save;
  Outcome(out, result.frames, started, result.diverged ? 1 : 0, result.checked, rec->ended, outDir);
  return result.diverged ? 1 : 0;
}

}  // namespace

void PlayRecording::Starting(SimHost& host, const Scenario& scenario, const std::string& save) {
  RecordedStart start;
  start.source = "play";
  start.seed = seed_;
  start.frameMs = frameMs_;
  start.scenario = scenario.name;
  start.scenarioGame = scenario.setUpGame != nullptr;
  if (!save.empty()) start.save = save;
  start.build = build_;
  recorder_ = std::make_unique<SessionRecorder>(path_, start, fs::current_path() / "Brimvale.ini");
  failed_ = !recorder_->Open();
  recorder_->Listen(host);
}

void PlayRecording::Relaunched(SimHost& host, const std::string& save) {
  if (recorder_) recorder_->Relaunched(host.Frame(), save);
}

void PlayRecording::FrameEnded(SimHost& host) {
  if (recorder_) recorder_->FrameEnded(host);
}

void PlayRecording::Finished(SimHost& host) {
  if (!recorder_) return;
  recorder_->Finish(host);
  host.onPlayerInput = nullptr;
}

int RunReplay(const ReplayOptions& options, const ShotWriter& writeShot, std::ostream& out,
              std::ostream& err) {
  Recording rec;
  RecordingError error;
  if (!ReadRecordingFile(options.file, rec, error)) {
    err << "brimvale-sim: " << options.file.string()
        << (error.line > 0 ? ":" + std::to_string(error.line) : std::string()) << ": " << error.why
        << "\n";
    return 2;
  }
  const Scenario* scenario =
      rec.start.scenario.empty() ? nullptr : FindScenario(rec.start.scenario);
  if (rec.start.scenarioGame && !scenario) {
    err << "brimvale-sim: " << options.file.string() << ":1: the scenario \"" << rec.start.scenario
        << "\" is not one this host knows\n";
    return 2;
  }
  // The page's input is replayed through the live game, the scripted player's through the host.
  const bool live = rec.start.source == "live";
  for (const RecordedEvent& e : rec.events) {
    using T = RecordedEvent::Type;
    const bool fits = live ? e.type != T::Player && e.type != T::Relaunch : e.type != T::Command;
    if (fits) continue;
    err << "brimvale-sim: " << options.file.string() << ":" << e.line << ": "
        << (live ? "a live session's recording holds no scripted player's input"
                 : "a scripted playthrough's recording holds no page input")
        << "\n";
    return 2;
  }
  std::error_code exists;
  if (!options.plugin.empty() && !fs::is_regular_file(options.plugin, exists)) {
    err << "brimvale-sim: the plugin " << options.plugin << " is not a file\n";
    return 2;
  }
  std::error_code ec;
  fs::create_directories(options.out, ec);
  if (ec || !fs::is_directory(options.out)) {
    err << "brimvale-sim: cannot make the output folder " << options.out.string() << "\n";
    return 2;
  }
  const fs::path outDir = fs::absolute(options.out);
  const fs::path pluginPath = options.plugin.empty() ? fs::path() : fs::absolute(options.plugin);
  const auto started = std::chrono::steady_clock::now();

  out << "replaying " << options.file.string() << ": " << rec.events.size() << " lines after the "
      << "start, seed " << rec.start.seed << ", "
      << (rec.start.scenario.empty() ? std::string("a new game") : "scenario " + rec.start.scenario)
      << "\n";
  if (!options.build.empty() && rec.start.build != options.build)
    out << "warning: recorded with build " << rec.start.build << ", replayed with build "
        << options.build << ": the world may differ\n";

  HostConfig config;
  config.seed = rec.start.seed;
  config.frameMs = rec.start.frameMs;
  config.trace = options.trace;
  if (live) return ReplayLive(options, std::make_shared<Recording>(std::move(rec)), outDir, out);

  GameRun run("brimvale_replay", rec.start.save.value_or(""), config);
  SimHost& host = run.host;
  const fs::path savePath = run.SavePath();
  SetPluginPath(pluginPath.string());

  std::FILE* trace =
      options.trace ? std::fopen((outDir / "trace.jsonl").string().c_str(), "wb") : nullptr;
  HashNames names;
  std::string traceLine;
  MilestoneWatcher watcher(host, savePath);
  std::set<std::string> pictured;
  int shots = 0;
  host.onFrameEnd = [&](SimHost& h) {
    traceLine.clear();
    DrainTrace(h, names, [&](const TraceEntry& entry) {
      if (trace) AppendTraceJson(entry, names, traceLine);
    });
    if (trace && !traceLine.empty()) std::fwrite(traceLine.data(), 1, traceLine.size(), trace);
    watcher.Watch([&](const std::string& line, bool notice) {
      out << "  [frame " << h.Frame() << ", " << Clock(h.GameTime()) << "] " << line << "\n";
      if (!notice || !options.shots || !writeShot || !pictured.insert(line).second) return;
      char file[32];
      std::snprintf(file, sizeof file, "%03d-notice.png", ++shots);
      ScreenFrame screen = CaptureScreen(h, "replay  |  frame " + std::to_string(h.Frame()));
      screen.map = CaptureWorldMap(h);
      std::string why;
      if (!writeShot(screen, (outDir / file).string(), why))
        out << "  screenshot not written: " << why << "\n";
    });
  };

  if (rec.start.scenarioGame) scenario->setUpGame(host);
  host.LoadPlugin();
  if (!pluginPath.empty() && !host.PluginModule()) {
    err << "brimvale-sim: the plugin " << pluginPath.string()
        << " did not load: " << PluginLoadError() << "\n";
    host.onFrameEnd = nullptr;
    if (trace) std::fclose(trace);
    return 2;
  }

  SaveEntries recordedSave = rec.start.save ? EntriesOf(*rec.start.save) : SaveEntries{};
  int checked = 0;
  int result = 0;
  const int64_t last = rec.events.empty() ? 0 : rec.events.back().frame;
  const int64_t until = options.to >= 0 && options.to < last ? options.to : last;
  for (const RecordedEvent& e : rec.events) {
    if (e.frame > until) break;
    while (host.Frame() < e.frame)
      host.RunFrame();
    using T = RecordedEvent::Type;
    if (e.type == T::Player) {
      ApplyPlayerInput(host, e.player);
    } else if (e.type == T::Save) {
      if (e.value)
        recordedSave[{e.section, e.key}] = *e.value;
      else
        recordedSave.erase({e.section, e.key});
    } else if (e.type == T::Relaunch) {
      host.UnloadPlugin();
      run.game.WriteSave(e.value.value_or(""));
      recordedSave = EntriesOf(e.value.value_or(""));
      host.LoadPlugin();
    } else if (e.type == T::Digest || e.type == T::End) {
      const SaveEntries now = ReadSaveEntries(savePath);
      const std::vector<std::string> diffs =
          Differences(e.digest, DigestOf(host, now), recordedSave, now);
      ++checked;
      if (!diffs.empty()) {
        out << "the replay differs from the recording at frame " << e.frame << " (line " << e.line
            << ", game time " << Clock(host.GameTime()) << "):\n";
        for (const std::string& d : diffs)
          out << "  " << d << "\n";
        result = 1;
        break;
      }
    }
  }
  while (result == 0 && host.Frame() < until)
    host.RunFrame();
  if (trace) std::fclose(trace);
  fs::copy_file(savePath, outDir / "Brimvale.ini", fs::copy_options::overwrite_existing, ec);
  Outcome(out, host.Frame(), started, result, checked, rec.ended, outDir);
  host.UnloadPlugin();
  host.onFrameEnd = nullptr;
  return result;
}

}  // namespace brimvale::sim
