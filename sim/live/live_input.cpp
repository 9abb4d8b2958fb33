// The viewer's input to the live game: the page's keys (game controls, walking, the player's
// actions on the nearest thing in reach) and the commands of its controls.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "live/live_session.h"
#include "live/recorder.h"
#include "natives/player_actions.h"
#include "pictures/world_map.h"

namespace brimvale::sim {
namespace {

constexpr float kWalkSpeed = 1.6f;  // metres a second
constexpr float kRunSpeed = 5.5f;
constexpr float kTurnSpeed = 150.0f;  // degrees a second
// A map click runs to a far target and walks its last metres, so that it stops where a prompt
// waits instead of running past the guards around it.
constexpr float kWalkTheLastMetres = 10.0f;

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

std::vector<KeyLegendLine> KeyLegend() {
  std::vector<KeyLegendLine> legend;
  for (const KeyBinding& k : kControlKeys) {
    KeyLegendLine line{k.label, {}};
    for (const char* c : k.controls)
      if (c) line.controls.push_back(c);
    legend.push_back(std::move(line));
  }
  legend.push_back({"G (hold)", {kHoldControl}});
  return legend;
}

void LiveGame::Walk(Session& session) {
  SimHost& host = session.host;
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
    const float step = (left > kWalkTheLastMetres ? kRunSpeed : kWalkSpeed) * seconds;
    if (left <= step) {
      player.position.x = session.walkTarget->x;
      player.position.y = session.walkTarget->y;
      session.walkTarget.reset();
    } else {
      player.position.x += dx / left * step;
      player.position.y += dy / left * step;
      player.heading = std::atan2(-dx, dy) * 180.0f / 3.14159265f;
    }
  }
}

void LiveGame::Apply(Session& session, const LiveCommand& command) {
  SimHost& host = session.host;
  if (recorder_) recorder_->Command(host.Frame(), command);
  switch (command.kind) {
    case LiveCommand::Kind::Pause:
      session.paused = true;
      session.steps = 0;
      return;
    case LiveCommand::Kind::Resume:
      session.paused = false;
      session.deadline = LiveClock::now();
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
      session.Leave(Leaving::Restart);
      return;
    case LiveCommand::Kind::WalkTo:
      session.walkTarget = GroundAt(host, command.x, command.y);
      return;
    case LiveCommand::Kind::TeleportTo:
      session.walkTarget.reset();
      host.MovePlayer(GroundAt(host, command.x, command.y));
      return;
    case LiveCommand::Kind::PlayForMe:
      if (command.on && session.playing.empty()) session.playForMe = true;
      if (!command.on && !session.playing.empty()) session.Leave(Leaving::TakeBackKeys);
      return;
    case LiveCommand::Kind::Key:
      PressKey(session, command.key, command.down);
      return;
    case LiveCommand::Kind::Reload:
      Reload(session);
      return;
    case LiveCommand::Kind::Rewind:
      Rewind(session, command.frame, false);
      return;
    case LiveCommand::Kind::ReloadAndReplay:
      Rewind(session, host.Frame(), true);
      return;
  }
}

void LiveGame::PressKey(Session& session, const std::string& code, bool down) {
  SimHost& host = session.host;
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
  // The key that takes the keys back does nothing more itself.
  if (!session.playing.empty() && down) {
    session.Leave(Leaving::TakeBackKeys);
    return;
  }
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

}  // namespace brimvale::sim
