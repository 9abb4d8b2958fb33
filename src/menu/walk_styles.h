// The walk styles the interaction menu offers. The key word is what "Walking Style" stores; the
// game's style name is "MP_STYLE_" + the key word.
#pragma once

namespace brimvale {

inline constexpr int kWalkStyleCount = 11;
inline constexpr const char* kWalkStylePrefix = "MP_STYLE_";

struct WalkStyle {
  const char* label;
  const char* keyWord;
  float labelX;
};

inline constexpr WalkStyle kWalkStyles[kWalkStyleCount] = {
    {"CASUAL", "CASUAL", 0.171f},         {"CRAZY", "CRAZY", 0.173f},
    {"DRUNK", "DRUNK", 0.172f},           {"EASY RIDER", "EASYRIDER", 0.16f},
    {"FLAMBOYANT", "FLAMBOYANT", 0.155f}, {"GREENHORN", "GREENHORN", 0.157f},
    {"GUNSLINGER", "GUNSLINGER", 0.156f}, {"INQUISITIVE", "INQUISITIVE", 0.158f},
    {"REFINED", "REFINED", 0.166f},       {"SILENT TYPE", "SILENTTYPE", 0.158f},
    {"VETERAN", "VETERAN", 0.165f},
};

// The game's walk-style name of a stored "Walking Style": a key word of the interaction menu
// becomes "MP_STYLE_" + key word, any other value is the name itself.
void GameWalkStyleName(const char* stored, char (&out)[256]);

}  // namespace brimvale
