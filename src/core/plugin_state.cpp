#include "character/creator.h"
#include "core/campaign.h"
#include "core/entry.h"
#include "missions/prologue.h"
#include "progression/progression.h"

namespace brimvale {

void ResetPluginState() {
  Keyboard = {};
  Campaign = {};
  Progression = {};
  Creator = {};
  Prologue = {};
}

}  // namespace brimvale
