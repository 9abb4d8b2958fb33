// What the player sees on one frame: the frame's draw list and the notices still on screen. The
// playthrough captures one of these for each screenshot; the renderer (sim/render) draws it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pictures/world_map.h"
#include "world/ui_world.h"

namespace brimvale::sim {

class SimHost;

struct ScreenFrame {
  DrawList list;
  std::string help;                  // the help text on screen, markup included; empty for none
  std::string objective;             // the objective line on screen; empty for none
  std::vector<Notice> notices;       // banners, result screens and toasts on screen, oldest first
  std::vector<std::string> prompts;  // the game's own hold prompts on screen
  std::vector<std::string> effects;  // full-screen effects running, such as "DeathFailMP01"
  double fade = 0.0;                 // how far the game's fade has blacked the screen, 0 to 1
  std::string caption;               // what the picture is: scenario, frame, game time
  // The world around the player, shown as an inset in a corner; the live page leaves it out
  // since it shows its own map beside the screen.
  std::optional<WorldMap> map;
  // The game's own picture of the world, under everything the scripts draw.
  std::optional<WorldView> world;
};

// A mission sets its objective line on every pass of the stage that owns it; the game lets the
// line go a moment after the last one, so it does not outlast the stage.
inline constexpr int kObjectiveShownMs = 500;
// A full-screen effect plays for about this long once started.
inline constexpr int kScreenEffectShownMs = 2000;

ScreenFrame CaptureScreen(const SimHost& host, std::string caption);

}  // namespace brimvale::sim
