// The game played live: the plugin in the simulated host on a game thread of its own, paced to
// the wall clock. Only that thread touches the world and the plugin; what viewers send is queued
// to it, and what they see is a frame message it writes between frames. Linux only.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hook/faults.h"

namespace brimvale::sim {

struct Recording;
struct RecordedEvent;
class SessionRecorder;

struct LiveOptions {
  std::string scenario;        // start from this scenario's save; empty: a new game
  std::filesystem::path save;  // or from a copy of this save file (never written)
  uint32_t seed = 1;
  // The plugin's shared library, loaded from a fresh copy and loaded again for each new build
  // (the Reload command, or by itself when the file changes); empty: the plugin linked in.
  std::string plugin;
  double frameMs = 1000.0 / 30.0;  // game time per frame, and wall time per frame at speed 1
  // Faults the game makes (tests: a script stopped at a frame).
  FaultPlan faults;
  // Lines for the terminal: faults, ignored input, milestones.
  std::function<void(const std::string& line)> log;
  // Keeps every game of the session here as it plays (its input with the frame it was applied
  // at, and the world's digest once a game-second); empty: none. `build` names the plugin build.
  std::filesystem::path record;
  std::string build;
  // Plays this recording's input again from its start, as fast as it goes, comparing the world
  // with its digests, up to the frame `followTo` (-1: its end); then the game goes on live and
  // paused, or, `headless`, stops.
  std::shared_ptr<const Recording> follow;
  int64_t followTo = -1;
  bool headless = false;
};

// How a followed recording went: the first frame where the world differed and what differed.
struct FollowResult {
  int64_t frames = 0;  // the frame the game stood at when it stopped following
  int checked = 0;     // digests compared
  bool diverged = false;
  int64_t frame = 0;
  int line = 0;
  std::vector<std::string> differences;
  std::string save;  // the save file's text when following ended
};

struct LiveCommand {
  enum class Kind {
    Key,
    Pause,
    Resume,
    Step,
    Speed,
    Restart,
    WalkTo,
    TeleportTo,
    PlayForMe,
    Reload,
    Rewind,
    ReloadAndReplay
  };
  Kind kind = Kind::Pause;
  std::string key;  // Key: the page's key code ("KeyE", "ArrowUp", "ShiftLeft")
  bool down = false;
  double speed = 1.0;    // Speed: 0.25 to 8
  std::string scenario;  // Restart: a scenario's start; empty: a new game
  double x = 0, y = 0;   // WalkTo, TeleportTo: world coordinates
  bool on = false;       // PlayForMe
  int64_t frame = 0;     // Rewind: the frame of the game being played to go back to
};

// One message for the page: everything it shows of one frame.
struct LiveFrame {
  uint64_t sequence = 0;  // counts published messages
  int64_t frame = 0;
  std::string json;
};

inline constexpr size_t kMaxQueuedCommands = 256;

class LiveGame {
 public:
  explicit LiveGame(LiveOptions options);
  ~LiveGame();
  LiveGame(const LiveGame&) = delete;
  LiveGame& operator=(const LiveGame&) = delete;

  void Start();
  void Stop();  // the game thread ends and the plugin is detached

  // From any thread. False when the queue is full: the game takes commands at its own pace.
  bool Submit(LiveCommand command);
  std::shared_ptr<const LiveFrame> Latest() const;
  // The first frame message after `sequence`, or the latest when none came within `timeout`.
  std::shared_ptr<const LiveFrame> WaitAfter(uint64_t sequence,
                                             std::chrono::milliseconds timeout) const;
  bool Running() const { return running_; }
  // Plays on the calling thread until the game stops (a headless follow ends by itself).
  void RunHere();
  // Game thread only, or once it has ended.
  const FollowResult& Followed() const { return followed_; }
  // The session's recording file (empty: none); it is written anew by a rewind, then renamed
  // over this one, so a reader always finds a whole recording here.
  const std::filesystem::path& RecordingFile() const { return options_.record; }

  // One game from its start to a restart; its parts live in the live game's own files.
  struct Session;

 private:
  void Run();
  void Attach(Session& session);
  void Detach(Session& session);
  void Play(Session& session);
  void PlayNextPart(Session& session);
  void AfterFrame(Session& session);
  void Walk(Session& session);
  void Pace(Session& session);
  void Apply(Session& session, const LiveCommand& command);
  void PressKey(Session& session, const std::string& code, bool down);
  void CollectCalls(Session& session);
  void MarkSaveChanges(Session& session);
  void Publish(Session& session);
  void Note(Session& session, const std::string& line);
  void Milestone(Session& session, const std::string& line);
  void Reload(Session& session);
  void Log(const std::string& line);
  void BeginRecording(Session& session);
  void EndRecording(Session& session);
  bool Follow(Session& session);
  void CompareDigest(Session& session, const RecordedEvent& event);
  void FollowSave(const RecordedEvent& event);
  void Rewind(Session& session, int64_t frame, bool newBuild);
  void FollowFromStart(std::string& saveText, std::string& start);
  void FollowEnded(Session& session);

  LiveOptions options_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> running_{false};
  std::string restartScenario_;  // game thread only: what the next game starts from
  // Game thread only: the session's recording, and where following a recording stands.
  std::unique_ptr<SessionRecorder> recorder_;
  int games_ = 0;        // games begun in this session
  int followGames_ = 0;  // games in the followed recording; `followTo` counts in the last
  size_t followNext_ = 0;
  bool following_ = false;
  std::map<std::pair<std::string, std::string>, std::string> followSave_;
  FollowResult followed_;
  // Game thread only: what a rewind (or a reload and replay) goes back to and how the game goes
  // on after it: its purpose for the page's lines, the pace and pause it had, and what came of
  // the last one.
  std::string rewinding_;
  bool pausedAfterFollow_ = true;
  double speedAfterFollow_ = 1.0;
  std::chrono::steady_clock::time_point rewindStarted_;
  std::string replayed_;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;  // a command came in, or a frame went out
  std::deque<LiveCommand> commands_;
  std::shared_ptr<const LiveFrame> latest_;
  uint64_t published_ = 0;
};

}  // namespace brimvale::sim
