// The rank panel at the top left of free roam, and the rank-up rule.
#pragma once

#include <cstdint>

namespace brimvale {

// The rank panel at the top left (not saved). The alpha counter may pass 255 by design; every
// draw call gets it clamped.
struct RankHudState {
  int32_t RankHudAlpha = 0;
  int32_t RankHudShowUntil = 0;  // game-timer ms; 0 while the panel is not being shown
};

extern RankHudState RankHud;

// The rank display of free roam: panel, rank-up, player scalar, then the skill tree.
void UpdateRankHud();

// The panel's band, badge, rank and experience (and the player's name when asked), at `alpha`.
void DrawRankPanel(int32_t alpha, bool withName);

}  // namespace brimvale
