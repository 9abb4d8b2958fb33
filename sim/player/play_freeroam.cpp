// Free roam: the player walks a wide loop around the story's start point for a few minutes of game
// time, as a player would between missions, with a picture on the way out and one on the way back.
#include <cmath>
#include <numbers>

#include "core/campaign.h"
#include "player/player.h"

namespace brimvale::sim {
namespace {

constexpr int32_t kRoamMs = 3 * 60 * 1000;
constexpr float kLoopRadius = 40.0f;

Vector3 PointOnLoop(float turn) {
  const float angle = turn * 2.0f * std::numbers::pi_v<float>;
  return {kStartPoint.x + kLoopRadius * std::cos(angle),
          kStartPoint.y + kLoopRadius * std::sin(angle), kStartPoint.z};
}

}  // namespace

bool RoamFreely(Player& p) {
  if (!p.ok) return false;
  p.Say("roaming free for three minutes");
  p.Screen("free-roam");
  const int32_t start = p.host.GameTime();
  bool halfway = false;
  while (p.host.GameTime() - start < kRoamMs) {
    const float turn = static_cast<float>(p.host.GameTime() - start) / kRoamMs;
    p.host.MovePlayer(PointOnLoop(turn));
    p.host.RunFrame();
    if (!halfway && turn >= 0.5f) {
      halfway = true;
      p.Screen("free-roam-halfway");
    }
  }
  p.Say("back where the roam began");
  return p.ok;
}

}  // namespace brimvale::sim
