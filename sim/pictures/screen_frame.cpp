#include "pictures/screen_frame.h"

#include "hook/host.h"

namespace brimvale::sim {
namespace {

bool StillShown(const SimHost& host, int64_t postedFrame, int32_t durationMs) {
  const double shownMs = static_cast<double>(host.Frame() - postedFrame) * host.config.frameMs;
  return shownMs < static_cast<double>(durationMs);
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
  screen.fade = host.world.blips.FadeDepth(host.GameTime());
  screen.world = CaptureWorldView(host);
  return screen;
}

}  // namespace brimvale::sim
