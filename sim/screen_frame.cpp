#include "screen_frame.h"

#include <algorithm>

#include "host.h"

namespace brimvale::sim {
namespace {

bool StillShown(const SimHost& host, int64_t postedFrame, int32_t durationMs) {
  const double shownMs = static_cast<double>(host.Frame() - postedFrame) * host.config.frameMs;
  return shownMs < static_cast<double>(durationMs);
}

// 0 when the screen is clear, 1 when it is black; a fade of no length is there at once.
double FadeDepth(const SimHost& host) {
  const ScreenFade& fade = host.world.blips.fade;
  const double elapsed = static_cast<double>(host.GameTime()) - fade.startMs;
  const double done = fade.durationMs <= 0 ? 1.0 : std::clamp(elapsed / fade.durationMs, 0.0, 1.0);
  return fade.towardsOut ? done : 1.0 - done;
}

}  // namespace

ScreenFrame CaptureScreen(const SimHost& host, std::string caption) {
  const UiWorld& ui = host.world.ui;
  ScreenFrame screen;
  screen.list = ui.lastFrame;
  screen.caption = std::move(caption);
  // One help text at a time: a newer one replaces the last.
  if (const Notice* help = ui.LastNotice(NoticeKind::Help);
      help && StillShown(host, help->frame, help->durationMs)) {
    screen.help = help->text;
  }
  for (auto it = ui.objectives.rbegin(); it != ui.objectives.rend(); ++it) {
    if (it->steps < 4) continue;  // set but never shown
    if (StillShown(host, it->frame, kObjectiveShownMs)) screen.objective = it->text;
    break;
  }
  for (const Notice& n : ui.notices) {
    if (n.kind != NoticeKind::Help && StillShown(host, n.frame, n.durationMs))
      screen.notices.push_back(n);
  }
  for (const auto& [handle, prompt] : host.world.trains.prompts) {
    if (prompt.registered && prompt.visible) screen.prompts.push_back(prompt.text);
  }
  for (const EffectStart& effect : host.world.life.screenEffects) {
    if (StillShown(host, effect.frame, kScreenEffectShownMs)) screen.effects.push_back(effect.name);
  }
  screen.fade = FadeDepth(host);
  return screen;
}

}  // namespace brimvale::sim
