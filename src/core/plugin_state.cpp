#include "character/character_record.h"
#include "character/creator.h"
#include "character/outfit.h"
#include "core/campaign.h"
#include "core/entry.h"
#include "menu/interaction_menu.h"
#include "missions/prologue.h"
#include "missions/toolkit.h"
#include "missions/train_robbery.h"
#include "progression/progression.h"
#include "progression/rank_hud.h"
#include "progression/skill_tree.h"
#include "ui/toolkit.h"
#include "wardrobe/wardrobe.h"

namespace brimvale {

void ResetPluginState() {
  Keyboard = {};
  Campaign = {};
  Story = {};
  Screens = {};
  Progression = {};
  RankHud = {};
  SkillTree = {};
  InteractionMenu = {};
  TrainRobbery = {};
  Creator = {};
  Prologue = {};
  MissionGroups = {};
  CutScene = {};
  Character = {};
  Outfit = {};
  Wardrobe = {};
  Ui = {};
}

}  // namespace brimvale
