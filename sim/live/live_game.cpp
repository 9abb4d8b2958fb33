#include "live/live_game.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <vector>

#include "hook/game_directory.h"
#include "hook/host.h"
#include "hook/plugin_link.h"
#include "hook/plugin_reload.h"
#include "hook/trace_json.h"
#include "live/live_frame.h"
#include "natives/player_actions.h"
#include "pictures/screen_render.h"
#include "player/milestones.h"
#include "player/player.h"
#include "player/scenario.h"

namespace brimvale::sim {
namespace {

using Clock = std::chrono::steady_clock;

// Thrown from the end of a frame to leave the frame loop: the game starts again, stops, or the
// viewer takes the keys back from the scripted player.
struct RestartGame {};
struct StopGame {};
struct TakeBackKeys {};

constexpr float kWalkSpeed = 1.6f;  // metres a second
constexpr float kRunSpeed = 5.5f;
constexpr float kTurnSpeed = 150.0f;  // degrees a second
constexpr size_t kMaxMilestones = 2000;
constexpr size_t kMaxLogLines = 200;

// A key of the page and the game controls it presses (on both pads the plugin reads), in the
// order a legend lists them.
struct KeyBinding {
  const char* code;
  const char* label;
  const char* controls[2];
};
constexpr KeyBinding kControlKeys[] = {
    {"KeyE", "E", {"INPUT_LOOT", nullptr}},
    {"Enter", "Enter", {"INPUT_FRONTEND_ACCEPT", nullptr}},
    {"Backspace", "Backspace", {"INPUT_FRONTEND_CANCEL", nullptr}},
    {"Escape", "Esc", {"INPUT_GAME_MENU_CANCEL", nullptr}},
    {"ArrowUp", "Up", {"INPUT_MOVE_UP_ONLY", "INPUT_GAME_MENU_UP"}},
    {"ArrowDown", "Down", {"INPUT_MOVE_DOWN_ONLY", "INPUT_GAME_MENU_DOWN"}},
    {"ArrowLeft", "Left", {"INPUT_MOVE_LEFT_ONLY", nullptr}},
    {"ArrowRight", "Right", {"INPUT_MOVE_RIGHT_ONLY", nullptr}},
    {"KeyQ", "Q", {"INPUT_MELEE_GRAPPLE_CHOKE", nullptr}},
    {"Space", "Space", {"INPUT_DIVE", nullptr}},
    {"KeyM", "M", {"INPUT_FRONTEND_LS", nullptr}},
    {"KeyT", "T", {"INPUT_AIM_IN_AIR", nullptr}},
    {"KeyH", "H", {"INPUT_REVEAL_HUD", nullptr}},
    {"KeyC", "C", {"INPUT_CARRIABLE_SUICIDE", nullptr}},
    {"KeyP", "P", {"INPUT_PICKUP_CARRIABLE", nullptr}},
    {"KeyO", "O", {"INPUT_DROP_CARRIABLE", nullptr}},
};
// Held rather than pressed: the game's hold prompts fill while it is down.
constexpr const char* kHoldKey = "KeyG";
constexpr const char* kHoldControl = "INPUT_INTERACT_LOCKON_POS";

enum class Action { KnockDown, Kill, Loot, PickUp, PutDown, Vehicle, DrawWeapon };
struct ActionKey {
  const char* code;
  Action action;
};
constexpr ActionKey kActionKeys[] = {
    {"KeyF", Action::KnockDown},    {"KeyX", Action::Kill},    {"KeyL", Action::Loot},
    {"KeyB", Action::PickUp},       {"KeyN", Action::PutDown}, {"KeyV", Action::Vehicle},
    {"Digit1", Action::DrawWeapon},
};
constexpr const char* kMoveKeys[] = {"KeyW", "KeyA", "KeyS", "KeyD", "ShiftLeft", "ShiftRight"};

float Distance2d(Vector3 a, Vector3 b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

// The game has no terrain: a point on the map within a few metres of one of the campaign's
// places takes that place's height, anywhere else the player's own.
Vector3 GroundAt(SimHost& host, double x, double y) {
  Vector3 at{static_cast<float>(x), static_cast<float>(y), host.PlayerPosition().z};
  float nearest = 30.0f;
  for (const MapPlace& place : MapPlaces()) {
    const float d = Distance2d(place.at, at);
    if (d < nearest) {
      nearest = d;
      at.z = place.at.z;
    }
  }
  return at;
}

std::string SaveValueOf(const SaveEntries& save, const char* section, const char* key) {
  auto it = save.find({section, key});
  return it == save.end() ? std::string() : it->second;
}

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int ch) override { return ch; }
};

// The player's action on the nearest thing it can apply to; says how it went.
std::string Act(SimHost& host, Action action) {
  World& w = host.world;
  const Vector3 at = host.PlayerPosition();
  auto nearest = [&](EntityKind kind) {
    int32_t best = 0;
    float bestDistance = kReach;
    for (const auto& [handle, e] : w.entities) {
      if (handle == w.player.ped || e.kind != kind || e.dead) continue;
      const float d = Distance2d(e.position, at);
      if (d <= bestDistance) {
        best = handle;
        bestDistance = d;
      }
    }
    return best;
  };
  bool done = false;
  const char* what = "";
  switch (action) {
    case Action::KnockDown:
      what = "knock down";
      done = KnockDown(host, nearest(EntityKind::Ped));
      break;
    case Action::Kill:
      what = "kill";
      done = Kill(host, nearest(EntityKind::Ped));
      break;
    case Action::Loot:
      what = "loot";
      done = Loot(host, nearest(EntityKind::Ped));
      break;
    case Action::PickUp:
      what = "pick up";
      done = PickUp(host, nearest(EntityKind::Ped)) || PickUp(host, nearest(EntityKind::Object));
      break;
    case Action::PutDown:
      what = "put down";
      done = PutDown(host);
      break;
    case Action::Vehicle:
      if (w.mission.playerVehicle) {
        what = "leave the vehicle";
        LeaveVehicle(host);
        done = true;
      } else {
        what = "enter a vehicle";
        done = EnterVehicle(host, nearest(EntityKind::Vehicle));
      }
      break;
    case Action::DrawWeapon:
      what = "draw a weapon";
      done = DrawWeapon(host, "WEAPON_REVOLVER_CATTLEMAN") ||
             DrawWeapon(host, "WEAPON_REPEATER_CARBINE");
      break;
  }
  return std::string(what) + (done ? ": done" : ": nothing in reach allows it");
}

}  // namespace

struct LiveGame::Session {
  explicit Session(const std::string& dirName) : game(dirName) {}
  GameDirectory game;
  std::unique_ptr<SimHost> host;
  std::unique_ptr<MilestoneWatcher> watcher;
  HashNames names;
  std::string start;  // what the game started from, for the page

  bool paused = false;
  int steps = 0;
  double speed = 1.0;
  Clock::time_point deadline;
  Clock::time_point lastPublish;

  std::set<std::string> held;  // movement keys down
  std::optional<Vector3> walkTarget;
  bool playForMe = false;
  std::string playing;  // the part the scripted player plays, empty when the viewer has the keys

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
};

LiveGame::LiveGame(LiveOptions options) : options_(std::move(options)) {}

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
  running_ = false;
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
    std::ifstream in(options_.save, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    saveText = text.str();
  }
  std::string start = options_.save.empty() ? options_.scenario : "";
  while (!stopping_) {
    Session session("brimvale_live_" + std::to_string(std::random_device{}()));
    if (!saveText.empty()) {
      session.game.WriteSave(saveText);
      session.start = "a copy of " + options_.save.string();
    } else if (const Scenario* s = start.empty() ? nullptr : FindScenario(start)) {
      if (s->startSave) session.game.WriteSave(s->startSave);
      session.start = std::string("the start of scenario ") + s->name;
    } else {
      session.start = "a new game";
    }
    Attach(session);
    try {
      Play(session);
    } catch (const RestartGame&) {
    } catch (const StopGame&) {
    }
    Detach(session);
    // A restart begins from a new game or a scenario's start, never from the given save again.
    saveText.clear();
    start = restartScenario_;
  }
  running_ = false;
}

// The one place the plugin is attached to and detached from the live game.
void LiveGame::Attach(Session& session) {
  HostConfig config;
  config.seed = options_.seed;
  config.frameMs = options_.frameMs;
  config.faults = options_.faults;
  session.host = std::make_unique<SimHost>(config);
  session.watcher =
      std::make_unique<MilestoneWatcher>(*session.host, session.game.path() / "Brimvale.ini");
  session.host->onFrameEnd = [this, &session](SimHost&) { AfterFrame(session); };
  SetPluginPath(options_.plugin);
  session.host->LoadPlugin();
  session.shared = !options_.plugin.empty() && session.host->PluginModule();
  if (!options_.plugin.empty() && !session.shared) {
    Note(session, "the plugin's library did not load (" + PluginLoadError() +
                      "); playing the plugin built into brimvale-sim");
    SetPluginPath("");
    session.host->LoadPlugin();
  }
  if (session.shared) session.watch.Changed(options_.plugin);
  session.deadline = Clock::now();
  Note(session, "started from " + session.start);
}

void LiveGame::Detach(Session& session) {
  session.host->onFrameEnd = nullptr;
  session.host->UnloadPlugin();
  session.host.reset();
}

void LiveGame::Play(Session& session) {
  NullBuffer discard;
  std::ostream quiet(&discard);
  while (!stopping_) {
    if (!session.playForMe) {
      session.host->RunFrame();
      continue;
    }
    // The next part from where the game stands, as a new game plays them.
    const SaveEntries& save = session.watcher->Save();
    const char* part = "the train robbery";
    bool (*play)(Player&) = RobTrain;
    if (SaveValueOf(save, "Character", "Create Character") != "True") {
      part = "the creator", play = MakeCharacter;
    } else if (!session.campaignStarted) {
      part = "the start point", play = StartCampaign;
    } else if (std::atoi(SaveValueOf(save, "Story", "Progress").c_str()) < 1) {
      part = "the prologue", play = PlayPrologue;
    }
    session.playing = part;
    Note(session, std::string("the scripted player plays ") + part);
    Player player{*session.host, quiet};
    player.report.milestone = [](SimHost&, const std::string&) {};
    bool done = false;
    try {
      done = play(player);
      if (done && play == StartCampaign) session.campaignStarted = true;
    } catch (const TakeBackKeys&) {
      Note(session, "the viewer has the keys again");
    }
    if (!session.playing.empty())
      Note(session, (done ? "the scripted player finished " : "the scripted player stopped in ") +
                        session.playing);
    session.playForMe = false;
    session.playing.clear();
    session.host->world.trains.heldControls.clear();
  }
}

void LiveGame::Milestone(Session& session, const std::string& line) {
  session.milestones.push_back("[frame " + std::to_string(session.host->Frame()) + "] " + line);
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
  if (!ReloadPlugin(*session.host, reason)) {
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
  SimHost& host = *session.host;
  // The frame's calls for the page, then dropped so that the trace does not pile up.
  session.calls.count = host.Trace().size();
  session.calls.lines.clear();
  session.asked.clear();
  std::string line;
  for (const TraceEntry& entry : host.Trace()) {
    session.names.Learn(entry);
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
  }
  host.ClearTrace();
  session.watcher->Watch([&](const std::string& told, bool) {
    Milestone(session, told);
    if (!told.starts_with("save: ")) return;
    for (const auto& [key, value] : session.watcher->Save()) {
      auto old = session.lastSave.find(key);
      if (old == session.lastSave.end() || old->second != value)
        session.changedAt[key] = host.Frame();
    }
    session.lastSave = session.watcher->Save();
  });
  if (host.ScriptRunning()) session.scriptSeen = true;
  if (session.scriptSeen && !host.ScriptRunning() && session.fault.empty()) {
    session.fault = "the plugin's script stopped at frame " + std::to_string(host.Frame());
    Note(session, "fault: " + session.fault);
  }
  // A new build that has landed is taken about twice a second.
  if (session.shared && host.Frame() % 15 == 0 && session.watch.Changed(options_.plugin))
    Reload(session);
  Walk(session);
  const auto now = Clock::now();
  // At speeds above real time the page still gets about 30 pictures a second.
  if (session.paused || session.speed <= 1.0 ||
      now - session.lastPublish >= std::chrono::milliseconds(30))
    Publish(session);
  Pace(session);
}

void LiveGame::Walk(Session& session) {
  SimHost& host = *session.host;
  const float seconds = static_cast<float>(options_.frameMs / 1000.0);
  const bool running = session.held.count("ShiftLeft") || session.held.count("ShiftRight");
  const float speed = (running ? kRunSpeed : kWalkSpeed) * seconds;
  SimEntity& player = host.world.PlayerEntity();
  if (session.held.count("KeyA")) player.heading += kTurnSpeed * seconds;
  if (session.held.count("KeyD")) player.heading -= kTurnSpeed * seconds;
  player.heading = std::fmod(player.heading + 360.0f, 360.0f);
  const float forward =
      (session.held.count("KeyW") ? 1.0f : 0.0f) - (session.held.count("KeyS") ? 1.0f : 0.0f);
  if (forward != 0.0f) {
    session.walkTarget.reset();
    const float rad = player.heading * 3.14159265f / 180.0f;
    player.position.x += -std::sin(rad) * speed * forward;
    player.position.y += std::cos(rad) * speed * forward;
  } else if (session.walkTarget) {
    const float dx = session.walkTarget->x - player.position.x;
    const float dy = session.walkTarget->y - player.position.y;
    const float left = std::sqrt(dx * dx + dy * dy);
    if (left <= speed) {
      player.position.x = session.walkTarget->x;
      player.position.y = session.walkTarget->y;
      session.walkTarget.reset();
    } else {
      player.position.x += dx / left * speed;
      player.position.y += dy / left * speed;
      player.heading = std::atan2(-dx, dy) * 180.0f / 3.14159265f;
    }
  }
}

void LiveGame::Pace(Session& session) {
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
    if (stopping_) throw StopGame{};
    for (const LiveCommand& command : commands)
      Apply(session, command);
    if (!commands.empty() && session.paused) Publish(session);
    if (session.paused && session.steps == 0) continue;
    if (session.paused) {
      --session.steps;
      break;
    }
    if (Clock::now() >= session.deadline) break;
  }
  const auto frame = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double, std::milli>(options_.frameMs / session.speed));
  const auto now = Clock::now();
  // A game that fell behind (a slow frame, a pause) picks up from now instead of racing.
  session.deadline = now - session.deadline > std::chrono::milliseconds(250)
                         ? now + frame
                         : session.deadline + frame;
}

void LiveGame::Apply(Session& session, const LiveCommand& command) {
  SimHost& host = *session.host;
  switch (command.kind) {
    case LiveCommand::Kind::Pause:
      session.paused = true;
      session.steps = 0;
      return;
    case LiveCommand::Kind::Resume:
      session.paused = false;
      session.deadline = Clock::now();
      return;
    case LiveCommand::Kind::Step:
      session.paused = true;
      ++session.steps;
      return;
    case LiveCommand::Kind::Speed:
      session.speed = std::clamp(command.speed, 0.25, 8.0);
      return;
    case LiveCommand::Kind::Restart:
      restartScenario_ = command.scenario;
      throw RestartGame{};
    case LiveCommand::Kind::WalkTo:
      session.walkTarget = GroundAt(host, command.x, command.y);
      return;
    case LiveCommand::Kind::TeleportTo:
      session.walkTarget.reset();
      host.MovePlayer(GroundAt(host, command.x, command.y));
      return;
    case LiveCommand::Kind::PlayForMe:
      if (command.on && session.playing.empty()) session.playForMe = true;
      if (!command.on && !session.playing.empty()) throw TakeBackKeys{};
      return;
    case LiveCommand::Kind::Key:
      PressKey(session, command.key, command.down);
      return;
    case LiveCommand::Kind::Reload:
      Reload(session);
      return;
  }
}

void LiveGame::PressKey(Session& session, const std::string& code, bool down) {
  SimHost& host = *session.host;
  const bool known = std::any_of(std::begin(kMoveKeys), std::end(kMoveKeys),
                                 [&](const char* k) { return code == k; }) ||
                     code == kHoldKey ||
                     std::any_of(std::begin(kControlKeys), std::end(kControlKeys),
                                 [&](const KeyBinding& k) { return code == k.code; }) ||
                     std::any_of(std::begin(kActionKeys), std::end(kActionKeys),
                                 [&](const ActionKey& k) { return code == k.code; });
  if (!known) {
    Note(session, "ignored the key '" + code.substr(0, 40) + "': it drives no control");
    return;
  }
  if (!session.playing.empty() && down) throw TakeBackKeys{};
  for (const char* move : kMoveKeys) {
    if (code != move) continue;
    if (down)
      session.held.insert(code);
    else
      session.held.erase(code);
    return;
  }
  if (code == kHoldKey) {
    if (down)
      host.world.trains.heldControls.insert(GameHash(kHoldControl));
    else
      host.world.trains.heldControls.erase(GameHash(kHoldControl));
    return;
  }
  if (!down) return;
  if (code == "KeyC" &&
      host.world.ui.LastHelpText().find("INPUT_CARRIABLE_SUICIDE") != std::string::npos)
    session.campaignStarted = true;
  for (const KeyBinding& binding : kControlKeys) {
    if (code != binding.code) continue;
    for (const char* control : binding.controls) {
      if (!control) continue;
      host.Press(control, 0);
      host.Press(control, 2);
    }
    return;
  }
  for (const ActionKey& key : kActionKeys) {
    if (code == key.code) Note(session, Act(host, key.action));
  }
}

void LiveGame::Publish(Session& session) {
  SimHost& host = *session.host;
  using nlohmann::json;
  json frame;
  frame["frame"] = host.Frame();
  frame["timeMs"] = host.GameTime();
  frame["paused"] = session.paused;
  frame["speed"] = session.speed;
  frame["start"] = session.start;
  frame["playing"] = session.playing;
  frame["fault"] = session.fault;
  if (session.shared) {
    const PluginBuild& build = LoadedPluginBuild();
    frame["build"] = {{"id", build.id}, {"fileTime", build.fileTime}, {"path", build.path}};
  } else {
    frame["build"] = {{"id", "built in"}, {"fileTime", 0}, {"path", ""}};
  }
  const std::string caption = "live  |  frame " + std::to_string(host.Frame()) + "  |  seed " +
                              std::to_string(options_.seed);
  frame["screen"] = DrawingJson(LayOutScreen(CaptureScreen(host, caption)));
  frame["asked"] = session.asked;
  json keys = json::array();
  for (const KeyBinding& k : kControlKeys) {
    json controls = json::array();
    for (const char* c : k.controls)
      if (c) controls.push_back(c);
    keys.push_back({{"key", k.label}, {"controls", controls}});
  }
  keys.push_back({{"key", "G (hold)"}, {"controls", {kHoldControl}}});
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
  session.lastPublish = Clock::now();
  changed_.notify_all();
}

}  // namespace brimvale::sim
