#include "character/character_record.h"
#include "character/creator.h"
#include "core/campaign.h"
#include "core/entry.h"
#include "missions/prologue.h"
#include "missions/toolkit.h"
#include "progression/progression.h"
#include "ui/toolkit.h"
#include "wardrobe/outfit.h"

namespace brimvale {

void ResetPluginState() {
  Keyboard = {};
  Campaign = {};
  Progression = {};
  Creator = {};
  Prologue = {};
  MissionGroups = {};
  CutScene = {};
  Character = {};
  Outfit = {};
  Ui = {};
}

}  // namespace brimvale
