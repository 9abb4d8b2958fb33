// One live game from its start to a restart or a stop, shared by the files of the live game: the
// session and its pacing (live_game.cpp), the viewer's input (live_input.cpp) and what the page
// is sent (live_publish.cpp). Only the game thread touches it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hook/host.h"
#include "hook/plugin_reload.h"
#include "hook/trace_json.h"
#include "live/live_frame.h"
#include "live/live_game.h"
#include "player/game_run.h"
#include "player/milestones.h"

namespace brimvale::sim {

using LiveClock = std::chrono::steady_clock;

// Why the game leaves the frame loop it is in: the viewer takes the keys back from the scripted
// player, the game starts again, the session is played again from its start to a frame, or it
// stops.
enum class Leaving { No, TakeBackKeys, Restart, Rewind, Stop };

struct LiveGame::Session {
  Session(const std::string& startSave, const HostConfig& config)
      : run("brimvale_live", startSave, config) {}
  GameRun run;
  SimHost& host = run.host;
  std::unique_ptr<MilestoneWatcher> watcher;
  HashNames names;
  std::string start;                // what the game started from, for the page
  std::string startSave, scenario;  // the save text it started with, and the scenario named
  std::string progress;             // how far a replay of a recording has come, for the page

  bool paused = false;
  int steps = 0;
  double speed = 1.0;
  LiveClock::time_point deadline;
  LiveClock::time_point lastPublish;

  std::set<std::string> held;  // movement keys down
  std::optional<Vector3> walkTarget;
  bool playForMe = false;
  std::string playing;   // the part the scripted player plays, empty when the viewer has the keys
  std::string finished;  // the last part it played to its end

  std::deque<std::string> milestones;
  size_t milestonesTotal = 0;
  std::deque<std::string> log;
  size_t logTotal = 0;
  std::map<std::pair<std::string, std::string>, int64_t> changedAt;  // save key -> frame
  FrameCalls calls;
  std::vector<std::string> asked;  // controls the plugin asked about last frame
  std::string fault;
  bool scriptSeen = false;
  bool campaignStarted = false;  // the story's start point accepted in this game
  SaveEntries lastSave;
  bool shared = false;  // the plugin is its shared library, so it can be reloaded
  PluginFileWatch watch;
  Leaving leaving = Leaving::No;

  // Asked between frames (the commands, the keys): the host leaves once this frame is complete.
  void Leave(Leaving why) {
    leaving = why;
    host.LeaveFrameLoop();
  }
};

struct Player;

// A part of the campaign that "Play for me" plays: its name for the page and the scripted
// player's segment.
struct PlayPart {
  const char* name;
  bool (*play)(Player&);
};
PlayPart NextPart(const LiveGame::Session& session);

// The keys of the page that press game controls, as the page's legend lists them: the key's
// label and the controls it presses.
struct KeyLegendLine {
  const char* key;
  std::vector<const char*> controls;
};
std::vector<KeyLegendLine> KeyLegend();

}  // namespace brimvale::sim
