#include "live/live_game.h"

#include <cstdlib>

#include "hook/plugin_link.h"
#include "live/live_session.h"
#include "live/recorder.h"
#include "player/player.h"
#include "player/save_text.h"
#include "player/scenario.h"

namespace brimvale::sim {
namespace {

constexpr size_t kMaxMilestones = 2000;
constexpr size_t kMaxLogLines = 200;

}  // namespace

// The next part from where the game stands, as a new game plays them.
PlayPart NextPart(const LiveGame::Session& session) {
  const SaveEntries& save = session.watcher->Save();
  if (SavedValue(save, "Character", "Create Character") != "True")
    return {"the creator", MakeCharacter};
  if (!session.campaignStarted) return {"the start point", StartCampaign};
  if (std::atoi(SavedValue(save, "Story", "Progress").c_str()) < 1)
    return {"the prologue", PlayPrologue};
  return {"the train robbery", RobTrain};
}

LiveGame::LiveGame(LiveOptions options) : options_(std::move(options)) {
  // A followed recording plays as it was recorded, whatever the command line said.
  if (options_.follow) {
    options_.seed = options_.follow->start.seed;
    options_.frameMs = options_.follow->start.frameMs;
  }
}

LiveGame::~LiveGame() {
  Stop();
}

void LiveGame::Start() {
  stopping_ = false;
  running_ = true;
  thread_ = std::thread([this] { Run(); });
}

void LiveGame::Stop() {
  stopping_ = true;
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
  recorder_.reset();
  running_ = false;
}

void LiveGame::RunHere() {
  stopping_ = false;
  running_ = true;
  Run();
}

bool LiveGame::Submit(LiveCommand command) {
  {
    std::lock_guard lock(mutex_);
    if (commands_.size() >= kMaxQueuedCommands) return false;
    commands_.push_back(std::move(command));
  }
  changed_.notify_all();
  return true;
}

std::shared_ptr<const LiveFrame> LiveGame::Latest() const {
  std::lock_guard lock(mutex_);
  return latest_;
}

std::shared_ptr<const LiveFrame> LiveGame::WaitAfter(uint64_t sequence,
                                                     std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [&] { return published_ > sequence || stopping_; });
  return latest_;
}

void LiveGame::Log(const std::string& line) {
  if (options_.log) options_.log(line);
}

void LiveGame::Run() {
  std::string saveText;
  if (!options_.save.empty()) {
    std::string error;
    if (!ReadStartSave(options_.save, saveText, error)) Log(error + "; playing a new game");
  }
  std::string start = options_.save.empty() ? options_.scenario : "";
  if (options_.follow) FollowFromStart(saveText, start);
  HostConfig config;
  config.seed = options_.seed;
  config.frameMs = options_.frameMs;
  config.faults = options_.faults;
  while (!stopping_) {
    std::string startSave;
    std::string from = "a new game";
    if (!saveText.empty()) {
      startSave = saveText;
      from = options_.follow ? "the recording's start" : "a copy of " + options_.save.string();
    } else if (const Scenario* s = start.empty() ? nullptr : FindScenario(start)) {
      if (s->startSave) startSave = s->startSave;
      from = std::string("the start of scenario ") + s->name;
    }
    Session session(startSave, config);
    session.start = from;
    session.startSave = startSave;
    session.scenario = start;
    Attach(session);
    BeginRecording(session);
    Play(session);
    EndRecording(session);
    Detach(session);
    if (session.leaving == Leaving::Rewind) {
      FollowFromStart(saveText, start);
      continue;
    }
    // A restart begins from a new game or a scenario's start, never from the given save again.
    saveText.clear();
    start = restartScenario_;
  }
  running_ = false;
}

// The one place the plugin is attached to and detached from the live game.
void LiveGame::Attach(Session& session) {
  session.watcher = std::make_unique<MilestoneWatcher>(session.host, session.run.SavePath());
  session.host.onFrameEnd = [this, &session](SimHost&) { AfterFrame(session); };
  // A replay at full speed keeps no calls: only a shown frame lists them.
  session.host.config.trace = !following_;
  SetPluginPath(options_.plugin);
  session.host.LoadPlugin();
  session.shared = !options_.plugin.empty() && session.host.PluginModule();
  if (!options_.plugin.empty() && !session.shared) {
    Note(session, "the plugin's library did not load (" + PluginLoadError() +
                      "); playing the plugin built into brimvale-sim");
    SetPluginPath("");
    session.host.LoadPlugin();
  }
  if (session.shared) session.watch.Changed(options_.plugin);
  session.deadline = LiveClock::now();
  Note(session, "started from " + session.start);
}

void LiveGame::Detach(Session& session) {
  session.host.onFrameEnd = nullptr;
  session.host.UnloadPlugin();
  // The path is the process's: a host made after this game plays the built-in plugin again.
  SetPluginPath("");
}

// Frames until the game restarts or stops; the scripted player plays a part when asked.
void LiveGame::Play(Session& session) {
  SimHost& host = session.host;
  while (session.leaving == Leaving::No && !stopping_) {
    if (session.playForMe)
      PlayNextPart(session);
    else
      host.RunLeavable([&] {
        while (!session.playForMe)
          host.RunFrame();
      });
  }
}

// The next part from where the game stands, as a new game plays them, until it is done or the
// viewer takes the keys back.
void LiveGame::PlayNextPart(Session& session) {
  const PlayPart part = NextPart(session);
  session.playing = part.name;
  Note(session, std::string("the scripted player plays ") + part.name);
  DiscardedOutput quiet;
  Player player{session.host, quiet};
  player.report.milestone = [](SimHost&, const std::string&) {};
  bool done = false;
  const bool left = session.host.RunLeavable([&] {
    done = part.play(player);
    if (done && part.play == StartCampaign) session.campaignStarted = true;
  });
  if (left && session.leaving != Leaving::TakeBackKeys) return;  // the game restarts or stops
  if (left) {
    session.leaving = Leaving::No;
    Note(session, "the viewer has the keys again");
  }
  if (done) {
    session.finished = session.playing;
    Note(session,
         "the scripted player finished " + session.playing + "; next: " + NextPart(session).name);
  } else if (!session.playing.empty()) {
    Note(session, "the scripted player stopped in " + session.playing);
  }
  session.playForMe = false;
  session.playing.clear();
  session.host.world.trains.heldControls.clear();
}

void LiveGame::Milestone(Session& session, const std::string& line) {
  session.milestones.push_back("[frame " + std::to_string(session.host.Frame()) + "] " + line);
  if (options_.headless) Log("  " + session.milestones.back());
  ++session.milestonesTotal;
  if (session.milestones.size() > kMaxMilestones) session.milestones.pop_front();
}

// Between frames: the world, the save file and the logs stay; the plugin starts as at load.
void LiveGame::Reload(Session& session) {
  if (!session.shared) {
    Note(session, "reload needs the plugin's shared library (brimvale-sim live --plugin FILE)");
    return;
  }
  std::string reason;
  if (!ReloadPlugin(session.host, reason)) {
    Milestone(session, "plugin reload refused, the old build plays on: " + reason);
    Note(session, "reload refused: " + reason);
    return;
  }
  const PluginBuild& build = LoadedPluginBuild();
  Milestone(session, "plugin reloaded: build " + build.id);
  Note(session, "loaded build " + build.id + " of " + build.path);
  session.fault.clear();
  session.scriptSeen = false;
}

void LiveGame::Note(Session& session, const std::string& line) {
  session.log.push_back(line);
  ++session.logTotal;
  if (session.log.size() > kMaxLogLines) session.log.pop_front();
  Log(line);
}

void LiveGame::AfterFrame(Session& session) {
  SimHost& host = session.host;
  CollectCalls(session);
  session.watcher->Watch([&](const std::string& told, bool) {
    Milestone(session, told);
    if (told.starts_with("save: ")) MarkSaveChanges(session);
  });
  if (host.ScriptRunning()) session.scriptSeen = true;
  if (session.scriptSeen && !host.ScriptRunning() && session.fault.empty()) {
    session.fault = "the plugin's script stopped at frame " + std::to_string(host.Frame());
    Note(session, "fault: " + session.fault);
  }
  // A new build that has landed is taken about twice a second.
  if (session.shared && !following_ && host.Frame() % 15 == 0 &&
      session.watch.Changed(options_.plugin)) {
    LiveCommand reload;
    reload.kind = LiveCommand::Kind::Reload;
    Apply(session, reload);
  }
  Walk(session);
  const auto now = LiveClock::now();
  // At speeds above real time the page still gets about 30 pictures a second.
  if (!following_ && (session.paused || session.speed <= 1.0 ||
                      now - session.lastPublish >= std::chrono::milliseconds(30)))
    Publish(session);
  Pace(session);
}

void LiveGame::Pace(Session& session) {
  if (recorder_) recorder_->FrameEnded(session.host);
  if (following_ && Follow(session)) return;
  for (;;) {
    std::deque<LiveCommand> commands;
    {
      std::unique_lock lock(mutex_);
      const bool waitForCommand = session.paused && session.steps == 0;
      if (waitForCommand) {
        changed_.wait_for(lock, std::chrono::milliseconds(250),
                          [&] { return !commands_.empty() || stopping_; });
      } else {
        changed_.wait_until(lock, session.deadline,
                            [&] { return !commands_.empty() || stopping_; });
      }
      commands.swap(commands_);
    }
    if (stopping_) {
      session.Leave(Leaving::Stop);
      return;
    }
    // A command that leaves the frame loop drops the ones after it, as the game it was for ends.
    for (const LiveCommand& command : commands) {
      Apply(session, command);
      if (session.leaving != Leaving::No) return;
    }
    if (!commands.empty() && session.paused) Publish(session);
    if (session.paused && session.steps == 0) continue;
    if (session.paused) {
      --session.steps;
      break;
    }
    if (LiveClock::now() >= session.deadline) break;
  }
  const auto frame = std::chrono::duration_cast<LiveClock::duration>(
      std::chrono::duration<double, std::milli>(options_.frameMs / session.speed));
  const auto now = LiveClock::now();
  // A game that fell behind (a slow frame, a pause) picks up from now instead of racing.
  session.deadline = now - session.deadline > std::chrono::milliseconds(250)
                         ? now + frame
                         : session.deadline + frame;
}

}  // namespace brimvale::sim
