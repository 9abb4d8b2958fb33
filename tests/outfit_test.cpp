// The outfit: item names, putting it on, its save keys and the wardrobe editor's rows.
#include <string>
#include <vector>

#include "character/character_record.h"
#include "character/outfit.h"
#include "player/save_text.h"
#include "sim_fixture.h"
#include "wardrobe/outfit_editor.h"

namespace brimvale {
namespace {

using testing::SimTest;

constexpr int kHat = 0, kCoat = 1, kShirt = 2, kPants = 4, kBoots = 5, kMask = 14, kOveralls = 17;

std::string ItemName(const char* letter, int category, int32_t part, int32_t tint) {
  char name[kClothingItemNameSize];
  ClothingItemName(letter, category, part, tint, name);
  return name;
}

class OutfitNames : public ::testing::Test {};

TEST_F(OutfitNames, NumbersArePaddedToThreeDigits) {
  EXPECT_EQ(ItemName("M", kHat, 0, 0), "CLOTHING_ITEM_M_HAT_000_TINT_000");
  EXPECT_EQ(ItemName("M", kBoots, 7, 12), "CLOTHING_ITEM_M_BOOTS_007_TINT_012");
  EXPECT_EQ(ItemName("M", kBoots, 123, 12), "CLOTHING_ITEM_M_BOOTS_123_TINT_012");
  EXPECT_EQ(ItemName("M", kBoots, 99, 100), "CLOTHING_ITEM_M_BOOTS_099_TINT_100");
}

TEST_F(OutfitNames, MasksCountVariantsAndTheLetterFollowsTheGender) {
  EXPECT_EQ(ItemName("F", kMask, 0, 1), "CLOTHING_ITEM_F_MASK_000_VAR_001");
  EXPECT_EQ(ItemName("F", kMask, 2, 3), "CLOTHING_ITEM_F_MASK_002_VAR_003");
  EXPECT_EQ(ItemName("F", 11, 4, 0), "CLOTHING_ITEM_F_CLOSECOAT_004_TINT_000");
}

TEST_F(OutfitNames, NoneIsBuiltLikeASmallNumber) {
  EXPECT_EQ(ItemName("M", kCoat, -1, 0), "CLOTHING_ITEM_M_COAT_00-1_TINT_000");
}

TEST_F(OutfitNames, TheWidestNumbersFitAndUnknownCategoriesGiveNoName) {
  EXPECT_EQ(ItemName("M", 15, -2147483647 - 1, 2147483647),
            "CLOTHING_ITEM_M_NECKERCHIEF_00-2147483648_TINT_2147483647");
  EXPECT_EQ(ItemName("M", kClothingCategoryCount, 0, 0), "");
  EXPECT_EQ(ItemName("M", -1, 0, 0), "");
  EXPECT_EQ(ItemName(nullptr, kHat, 0, 0), "CLOTHING_ITEM__HAT_000_TINT_000");
}

class OutfitWear : public SimTest {
 protected:
  void SetUp() override { host.LoadPlugin(); }
  sim::PedLook& Look() { return host.world.look.Of(host.world.player.ped); }
  void Run(void (*body)()) { ASSERT_TRUE(host.RunScript(body)); }
};

TEST_F(OutfitWear, TheStartingOutfitPutsOnFiveItemsAndRemovesTheRest) {
  Run(ApplyOutfit);
  const auto items = host.Calls(ApplyShopItemToPed);
  ASSERT_EQ(items.size(), 20u);
  EXPECT_EQ(items[0]->UInt(1), sim::GameHash("CLOTHING_ITEM_M_HAT_000_TINT_000"));
  EXPECT_EQ(items[0]->Int(2), 1);
  EXPECT_EQ(items[0]->Int(3), 1);
  EXPECT_EQ(items[0]->Int(4), 0);
  sim::PedLook& look = Look();
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_SHIRT_001_TINT_001"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_PANTS_000_TINT_001"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_BOOTS_001_TINT_001"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_GUNBELT_000_TINT_000"));
  for (const char* removed :
       {"coats", "vests", "gloves", "neckties", "boot_accessories", "chaps", "coats_closed",
        "eyewear", "loadouts", "masks", "neckwear", "pants", "ponchos", "suspenders"}) {
    EXPECT_TRUE(look.Removed(removed)) << removed;
  }
  EXPECT_FALSE(look.Removed("hats"));
  EXPECT_EQ(look.fullUpdates, 20);
}

TEST_F(OutfitWear, ACoatOfNoneIsAppliedThenItsCategoryRemoved) {
  Run([] { ApplyOutfitCategory(kCoat); });
  const auto& changes = Look().clothing;
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_FALSE(changes[0].removal);
  EXPECT_EQ(changes[0].hash, sim::GameHash("CLOTHING_ITEM_M_COAT_00-1_TINT_000"));
  EXPECT_TRUE(changes[1].removal);
  EXPECT_EQ(changes[1].hash, sim::GameHash("coats"));
  const sim::TraceEntry& last = host.Trace().back();
  EXPECT_EQ(last.hash, UpdatePedVariation.hash);
  EXPECT_EQ(last.Int(1), 1);
}

TEST_F(OutfitWear, PantsOfNoneRemoveNothingWhileOverallsRemoveThePants) {
  Outfit.OutfitParts[kPants] = -1;
  Run([] { ApplyOutfitCategory(kPants); });
  EXPECT_TRUE(host.Calls(RemovePedComponentCategory).empty());
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_PANTS_00-1_TINT_001"));

  Run([] { ApplyOutfitCategory(kOveralls); });
  EXPECT_TRUE(Look().Removed("pants"));
}

TEST_F(OutfitWear, AFemaleCharacterWearsTheFemaleItems) {
  Character.Gender = 1;
  Run(ApplyOutfit);
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_F_HAT_000_TINT_000"));
  EXPECT_FALSE(Look().Wears("CLOTHING_ITEM_M_HAT_000_TINT_000"));
}

class OutfitSave : public OutfitWear {};

TEST_F(OutfitSave, ASaveWithOnlyTheShirtPartKeepsEveryOtherStartingValue) {
  WriteSave("[Character]\nOutfit Part 2=5\n");
  const OutfitState starting;
  LoadOutfit();
  for (int i = 0; i < kClothingCategoryCount; ++i) {
    if (i == kShirt) continue;
    EXPECT_EQ(Outfit.OutfitParts[i], starting.OutfitParts[i]) << i;
    EXPECT_EQ(Outfit.OutfitTints[i], starting.OutfitTints[i]) << i;
  }
  Run(ApplyOutfit);
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_SHIRT_005_TINT_001"));
}

TEST_F(OutfitSave, PartAndTintKeysAreWrittenInTurnCategoryByCategory) {
  Outfit.OutfitParts[19] = 42;
  Outfit.OutfitTints[19] = 7;
  SaveOutfit();
  std::vector<std::string> keys;
  for (const sim::SaveEntry& e : sim::ParseSaveText(SaveText()))
    if (e.section == "Character" && e.key.starts_with("Outfit ")) keys.push_back(e.key);
  ASSERT_EQ(keys.size(), 40u);
  for (int i = 0; i < kClothingCategoryCount; ++i) {
    EXPECT_EQ(keys[2 * i], "Outfit Part " + std::to_string(i));
    EXPECT_EQ(keys[2 * i + 1], "Outfit Tint " + std::to_string(i));
  }
  EXPECT_EQ(SaveValue("Character", "Outfit Part 1"), "-1");
  EXPECT_EQ(SaveValue("Character", "Outfit Part 19"), "42");

  Outfit = {};
  LoadOutfit();
  EXPECT_EQ(Outfit.OutfitParts[19], 42);
  EXPECT_EQ(Outfit.OutfitTints[19], 7);
}

TEST_F(OutfitSave, ACancelledVisitGetsTheOutfitTakenOnEntryBack) {
  BackupOutfit();
  Outfit.OutfitParts[kHat] = 30;
  Outfit.OutfitTints[kBoots] = 9;
  RestoreOutfit();
  EXPECT_EQ(Outfit.OutfitParts[kHat], 0);
  EXPECT_EQ(Outfit.OutfitTints[kBoots], 1);
}

class OutfitEditor : public OutfitWear {
 protected:
  void PressOnPartRow(const char* control, int category) {
    host.Press(control, 0);
    host.RunScript([category] { UpdateOutfitPartRow(category); });
  }
  void PressOnTintRow(const char* control, int category) {
    host.Press(control, 0);
    host.RunScript([category] { UpdateOutfitTintRow(category); });
  }
  std::vector<std::string> SoundsPlayed() {
    std::vector<std::string> sounds;
    for (const sim::TraceEntry* e : host.Calls(PlayFrontendSound))
      sounds.push_back(e->strings[0] + "/" + e->strings[1]);
    return sounds;
  }
};

TEST_F(OutfitEditor, RaisingAPartStartsItAtTintOneAndPutsItOnAtOnce) {
  Outfit.OutfitTints[kBoots] = 6;
  PressOnPartRow("INPUT_MOVE_RIGHT_ONLY", kBoots);
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_BOOTS_002_TINT_001"));
  EXPECT_EQ(SoundsPlayed(), std::vector<std::string>{"NAV_RIGHT/HUD_SHOP_SOUNDSET"});
  EXPECT_EQ(host.Calls(StopFrontendSound).size(), 1u);
  // The light refresh comes before the item.
  EXPECT_LT(host.Calls(UpdatePedVariation).front(), host.Calls(ApplyShopItemToPed).front());
  EXPECT_EQ(Look().lightUpdates, 1);
}

TEST_F(OutfitEditor, LoweringAPartAtNoneKeepsItButResetsTheTint) {
  Outfit.OutfitTints[kCoat] = 8;
  PressOnPartRow("INPUT_MOVE_LEFT_ONLY", kCoat);
  EXPECT_EQ(Outfit.OutfitTints[kCoat], 1);
  EXPECT_EQ(SoundsPlayed(), std::vector<std::string>{"NAV_LEFT/HUD_SHOP_SOUNDSET"});
  EXPECT_TRUE(Look().Removed("coats"));
}

TEST_F(OutfitEditor, PartsStopAtFiveHundredAndTintsAtFifteenAndZeroYetArePutOnAgain) {
  Outfit.OutfitParts[kHat] = 500;
  PressOnPartRow("INPUT_MOVE_RIGHT_ONLY", kHat);
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_HAT_500_TINT_001"));

  Outfit.OutfitTints[kShirt] = 15;
  PressOnTintRow("INPUT_MOVE_RIGHT_ONLY", kShirt);
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_SHIRT_001_TINT_015"));

  Outfit.OutfitTints[kBoots] = 0;
  PressOnTintRow("INPUT_MOVE_LEFT_ONLY", kBoots);
  EXPECT_TRUE(Look().Wears("CLOTHING_ITEM_M_BOOTS_001_TINT_000"));
  EXPECT_EQ(host.Calls(ApplyShopItemToPed).size(), 3u);
}

TEST_F(OutfitEditor, TheRowsListenToTheKeyboardPadOnly) {
  host.Press("INPUT_MOVE_RIGHT_ONLY", 2);
  host.RunScript([] {
    UpdateOutfitPartRow(kHat);
    UpdateOutfitTintRow(kHat);
  });
  EXPECT_EQ(Outfit.OutfitParts[kHat], 0);
  EXPECT_TRUE(host.Calls(ApplyShopItemToPed).empty());
  EXPECT_TRUE(host.Calls(PlayFrontendSound).empty());
}

}  // namespace
}  // namespace brimvale
