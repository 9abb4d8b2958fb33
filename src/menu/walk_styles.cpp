#include "menu/walk_styles.h"

#include <cstdio>
#include <cstring>

namespace brimvale {

void GameWalkStyleName(const char* stored, char (&out)[256]) {
  const char* name = stored ? stored : "";
  for (const WalkStyle& style : kWalkStyles) {
    if (std::strcmp(name, style.keyWord) == 0) {
      std::snprintf(out, sizeof out, "%s%s", kWalkStylePrefix, style.keyWord);
      return;
    }
  }
  std::snprintf(out, sizeof out, "%s", name);
}

}  // namespace brimvale
