// The character record: its load from the save file and how it is put on the player's ped.
#include <string>

#include "character/appearance.h"
#include "character/character_record.h"
#include "character/outfit.h"
#include "core/campaign.h"
#include "save/store.h"
#include "sim_fixture.h"

namespace brimvale {
namespace {

using testing::SimTest;

class Appearance : public SimTest {
 protected:
  // The player's look after loading the record from `save` and putting it on.
  sim::PedLook& DressFromSave(const std::string& save) {
    if (!save.empty()) WriteSave("[Character]\n" + save);
    host.LoadPlugin();
    EXPECT_TRUE(host.RunScript([] {
      LoadCharacterRecord();
      ApplyCharacterAppearance();
    }));
    return Look();
  }
  sim::PedLook& Look() { return host.world.look.Of(host.world.player.ped); }

  // Position of the first call of `name` in the trace, or -1.
  template <typename N>
  long FirstCall(const N& native) {
    const auto calls = host.Calls(native);
    if (calls.empty()) return -1;
    return static_cast<long>(calls.front() - host.Trace().data());
  }
  template <typename N>
  long LastCall(const N& native) {
    const auto calls = host.Calls(native);
    if (calls.empty()) return -1;
    return static_cast<long>(calls.back() - host.Trace().data());
  }

  static Hash H(const char* name) { return sim::GameHash(name); }
};

TEST_F(Appearance, AFreshSaveDressesTheDefaultMale) {
  sim::PedLook& look = DressFromSave("");

  const sim::TextureLayer* head = look.Layer("mp_head_mr1_001");
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->albedo, H("mp_head_mr1_sc00_c0_000_ab"));
  EXPECT_EQ(head->normal, H("mp_head_mr1_000_nm"));
  EXPECT_EQ(head->material, H("mp_head_mr1_000_m"));
  EXPECT_EQ(head->palette, 0xAA65D8A3u);

  const sim::TextureLayer* hair = look.Layer("mp_hair_mr1_000");
  ASSERT_NE(hair, nullptr);
  EXPECT_EQ(hair->albedo, H("hair_gen_999_c0_999_ab"));
  EXPECT_EQ(hair->palette, 0xDFB1F64Cu);

  const sim::TextureLayer* beard = look.Layer("beard_mr1_000");
  ASSERT_NE(beard, nullptr);
  EXPECT_EQ(beard->albedo, 0xF8AF92E5u);
  EXPECT_EQ(beard->normal, 0x7E6E8DF9u);
  EXPECT_EQ(beard->material, 0xF4FD0D09u);
  EXPECT_EQ(beard->tint0 + beard->tint1 + beard->tint2, 0);  // black
  EXPECT_FALSE(look.Removed("beards_complete"));

  const sim::TextureLayer* eyes = look.Layer("eyes_mr1_0000");
  ASSERT_NE(eyes, nullptr);
  EXPECT_EQ(eyes->albedo, 0xBD10D52Au);
  EXPECT_EQ(eyes->palette, 0xA4CFABD0u);
  EXPECT_EQ(eyes->tint0, 2);
  EXPECT_EQ(eyes->tint1, 73);
  EXPECT_EQ(eyes->tint2, 43);
  const sim::TextureLayer* teeth = look.Layer("teeth_mr1_0000");
  ASSERT_NE(teeth, nullptr);
  EXPECT_EQ(teeth->tint0, 255);
  const sim::TextureLayer* torso = look.Layer("mp_uppertorso_mr1_000_o_b");
  ASSERT_NE(torso, nullptr);
  EXPECT_EQ(torso->albedo, H("mp_hand_mr1_000_c0_008_ab"));
  EXPECT_EQ(torso->normal, H("mp_hand_mr1_000_c0_002_nm"));

  EXPECT_EQ(look.bodyType, 0x86155956u);
  ASSERT_EQ(look.faceFeatures.size(), 54u);
  for (const auto& [id, value] : look.faceFeatures)
    EXPECT_EQ(value, 0.0f) << id;
  EXPECT_EQ(look.voiceStyle, "NONE");
  EXPECT_EQ(look.voice, H("VOFX_PLAYER_MALE01"));
  // The starting outfit.
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_HAT_000_TINT_000"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_SHIRT_001_TINT_001"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_PANTS_000_TINT_001"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_BOOTS_001_TINT_001"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_M_GUNBELT_000_TINT_000"));
}

TEST_F(Appearance, TheStepsComeInTheGamesOrderEndingInAFullUpdate) {
  DressFromSave("");
  const long trait = FirstCall(SetPedTraitValue);
  const long firstItem = FirstCall(ApplyShopItemToPed);
  const long lastItem = LastCall(ApplyShopItemToPed);
  const long body = FirstCall(SetPedBodyType);
  const long firstFeature = FirstCall(SetPedFaceFeature);
  const long lastFeature = LastCall(SetPedFaceFeature);
  const long voiceStyle = FirstCall(SetPedVoiceStyle);
  const long voice = FirstCall(SetPedVoice);
  EXPECT_LT(LastCall(SetPedTextureLayer), trait);
  EXPECT_LT(trait, firstItem);
  EXPECT_LT(lastItem, body);
  EXPECT_LT(body, firstFeature);
  EXPECT_LT(lastFeature, voiceStyle);
  EXPECT_LT(voiceStyle, voice);

  // The light update between the body type and the features; the full one last of all.
  const auto& trace = host.Trace();
  const sim::TraceEntry& afterBody = trace[body + 1];
  EXPECT_EQ(afterBody.hash, UpdatePedVariation.hash);
  EXPECT_EQ(afterBody.Int(1), 0);
  EXPECT_EQ(afterBody.Int(2), 1);
  const sim::TraceEntry& last = trace.back();
  EXPECT_EQ(last.hash, UpdatePedVariation.hash);
  for (int i = 1; i <= 5; ++i)
    EXPECT_EQ(last.Int(i), 1);
}

TEST_F(Appearance, TheFeaturesGoBodyFirstThenTheFaceInAscendingOrder) {
  DressFromSave("Face Feature 47=0.5\nFace Feature 1=-0.3\nFace Feature 22=1.0\n");
  const auto calls = host.Calls(SetPedFaceFeature);
  ASSERT_EQ(calls.size(), 54u);
  EXPECT_EQ(calls[0]->Int(1), 8420);  // Forearm, feature 47
  EXPECT_EQ(calls[0]->Float(2), 0.5f);
  EXPECT_EQ(calls[8]->Int(1), 15833);   // Shoulder Height, feature 42
  EXPECT_EQ(calls[31]->Int(1), 58147);  // Chin Depth, feature 25
  EXPECT_EQ(calls[32]->Int(1), 35627);  // Eye Height, feature 1
  EXPECT_EQ(calls[32]->Float(2), -0.3f);
  EXPECT_EQ(calls[53]->Int(1), 23830);  // Lower Lip Depth, feature 22
  EXPECT_EQ(calls[53]->Float(2), 1.0f);
  // Every feature exactly once.
  EXPECT_EQ(Look().faceFeatures.size(), 54u);
}

TEST_F(Appearance, AFemaleLosesTheBeardWhateverItsStyle) {
  sim::PedLook& look = DressFromSave("Gender=1\nBeard Style=12\nHair Style=3\nHead Type=4\n");
  EXPECT_TRUE(look.Removed("beards_complete"));
  EXPECT_EQ(look.Layer("beard_mr1_012"), nullptr);
  EXPECT_NE(look.Layer("mp_head_fr1_005"), nullptr);
  EXPECT_NE(look.Layer("mp_hair_fr1_003"), nullptr);
  EXPECT_NE(look.Layer("eyes_fr1_0000"), nullptr);
  EXPECT_NE(look.Layer("teeth_fr1_0000"), nullptr);
  const sim::TextureLayer* torso = look.Layer("mp_uppertorso_fr1_000_o_b");
  ASSERT_NE(torso, nullptr);
  EXPECT_EQ(torso->material, H("mp_hand_fr1_000_c0_000_ma"));
  EXPECT_EQ(look.voice, H("VOFX_PLAYER_FEMALE01"));
  EXPECT_TRUE(look.Wears("CLOTHING_ITEM_F_SHIRT_001_TINT_001"));
}

TEST_F(Appearance, AMaleWithoutABeardHasTheCategoryRemovedAndAFullUpdate) {
  sim::PedLook& look = DressFromSave("Beard Style=-1\n");
  EXPECT_TRUE(look.Removed("beards_complete"));
  for (const auto& [mesh, layer] : look.layers)
    EXPECT_NE(layer.albedo, 0xF8AF92E5u) << "a beard layer was set";
  // The removal is followed at once by the full update.
  const auto removal = host.Calls(RemovePedComponentCategory);
  ASSERT_FALSE(removal.empty());
  const sim::TraceEntry& next = *(removal[0] + 1);
  EXPECT_EQ(next.hash, UpdatePedVariation.hash);
  EXPECT_EQ(next.Int(1), 1);
}

TEST_F(Appearance, HairAndBeardNumbersAreThreeDigits) {
  sim::PedLook& nine = DressFromSave("Hair Style=9\nBeard Style=51\nHair R=10\nHair G=20\n");
  EXPECT_NE(nine.Layer("mp_hair_mr1_009"), nullptr);
  const sim::TextureLayer* beard = nine.Layer("beard_mr1_051");
  ASSERT_NE(beard, nullptr);
  EXPECT_EQ(beard->tint0, 10);
  EXPECT_EQ(beard->tint1, 20);

  char name[32];
  HairMeshName(0, 10, name);
  EXPECT_STREQ(name, "mp_hair_mr1_010");
  HairMeshName(1, 23, name);
  EXPECT_STREQ(name, "mp_hair_fr1_023");
  BeardMeshName(0, name);
  EXPECT_STREQ(name, "beard_mr1_000");
}

TEST_F(Appearance, TheTraitIsExactlyOneOrZeroAndZeroAboutOneTimeInTen) {
  host.LoadPlugin();
  int zeros = 0;
  const int runs = 300;
  ASSERT_TRUE(host.RunScript([&] {
    for (int i = 0; i < runs; ++i)
      ApplyCharacterAppearance();
  }));
  const auto calls = host.Calls(SetPedTraitValue);
  ASSERT_EQ(calls.size(), static_cast<size_t>(runs));
  for (const sim::TraceEntry* call : calls) {
    const float v = call->Float(1);
    EXPECT_TRUE(v == 0.0f || v == 1.0f) << v;
    if (v == 0.0f) ++zeros;
  }
  EXPECT_GT(zeros, runs / 30);
  EXPECT_LT(zeros, runs / 5);
}

TEST_F(Appearance, AnUnknownGenderPutsNothingOn) {
  DressFromSave("Gender=3\n");
  EXPECT_TRUE(host.Calls(SetPedTextureLayer).empty());
  EXPECT_TRUE(host.Calls(ApplyShopItemToPed).empty());
  EXPECT_TRUE(host.Calls(SetPedVoice).empty());
}

class AppearanceHandEditedSave : public Appearance {};

TEST_F(AppearanceHandEditedSave, TableNumbersOutOfRangeAreClampedForTheLookupOnly) {
  sim::PedLook& look = DressFromSave("Head Type=99\nSkin Type=-3\nBody Type=400\n");
  const sim::TextureLayer* head = look.Layer("mp_head_mr1_028");
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->albedo, H("mp_head_mr1_sc00_c0_000_ab"));
  EXPECT_EQ(look.bodyType, 0x74D74B1Cu);  // the last body type
  EXPECT_EQ(Character.HeadType, 99);
  EXPECT_EQ(Character.SkinType, -3);
  EXPECT_EQ(Character.BodyType, 400);
  EXPECT_EQ(SaveValue("Character", "Head Type"), "99");

  sim::PedLook& low = DressFromSave("Head Type=-5\nSkin Type=6\nBody Type=-1\n");
  EXPECT_NE(low.Layer("mp_head_mr1_001"), nullptr);
  EXPECT_EQ(low.Layer("mp_head_mr1_001")->albedo, H("mp_head_mr1_sc05_c0_000_ab"));
  EXPECT_EQ(low.bodyType, 0x86155956u);
}

TEST_F(AppearanceHandEditedSave, HugeHairAndBeardNumbersStayInsideTheirNames) {
  sim::PedLook& look = DressFromSave("Hair Style=2147483647\nBeard Style=-2147483648\n");
  EXPECT_NE(look.Layer("mp_hair_mr1_2147483647"), nullptr);
  EXPECT_NE(look.Layer("beard_mr1_00-2147483648"), nullptr);
}

class AppearanceRecord : public Appearance {};

TEST_F(AppearanceRecord, WhatTheCreatorWroteLoadsBackAsTheSameRecord) {
  host.LoadPlugin();
  WriteBool("Character", "Create Character", true);
  WriteInt("Character", "Gender", 1);
  WriteString("Character", "Walking Style", "GUNSLINGER");
  for (int i = 0; i < kFaceFeatureCount; ++i)
    WriteFloat("Character", kFaceFeatures[i].saveKey, static_cast<float>(i % 21 - 10) / 10.0f);
  const char* ints[] = {"Head Type", "Skin Type", "Body Type", "Hair Style",
                        "Hair R",    "Hair G",    "Hair B",    "Beard Style"};
  const int32_t values[] = {27, 5, 20, 23, 255, 128, 1, -1};
  for (int i = 0; i < 8; ++i)
    WriteInt("Character", ints[i], values[i]);

  host.LoadPlugin();  // a fresh start of the game
  ASSERT_FALSE(Campaign.characterCreated);
  LoadCharacterRecord();
  EXPECT_TRUE(Campaign.characterCreated);
  EXPECT_EQ(Character.Gender, 1);
  EXPECT_STREQ(Character.WalkingStyle, "GUNSLINGER");
  for (int i = 0; i < kFaceFeatureCount; ++i)
    EXPECT_FLOAT_EQ(Character.FaceFeatures[i], static_cast<float>(i % 21 - 10) / 10.0f) << i;
  EXPECT_EQ(Character.HeadType, 27);
  EXPECT_EQ(Character.SkinType, 5);
  EXPECT_EQ(Character.BodyType, 20);
  EXPECT_EQ(Character.HairStyle, 23);
  EXPECT_EQ(Character.HairR, 255);
  EXPECT_EQ(Character.HairG, 128);
  EXPECT_EQ(Character.HairB, 1);
  EXPECT_EQ(Character.BeardStyle, -1);
}

TEST_F(AppearanceRecord, AMissingKeyKeepsTheValueInMemory) {
  WriteSave("[Character]\nHair G=9\nOutfit Tint 3=4\n");
  host.LoadPlugin();
  Character.HairR = 77;
  Character.Gender = 1;
  std::snprintf(Character.WalkingStyle, sizeof Character.WalkingStyle, "DRUNK");
  Outfit.OutfitParts[3] = 12;
  LoadCharacterRecord();
  EXPECT_EQ(Character.HairR, 77);
  EXPECT_EQ(Character.HairG, 9);
  EXPECT_EQ(Character.Gender, 1);
  EXPECT_STREQ(Character.WalkingStyle, "DRUNK");
  // The outfit is loaded with it.
  EXPECT_EQ(Outfit.OutfitParts[3], 12);
  EXPECT_EQ(Outfit.OutfitTints[3], 4);
}

}  // namespace
}  // namespace brimvale
