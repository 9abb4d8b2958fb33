// The character record, the names its numbers stand for, and its load from the save file.
#include "character/character_record.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "character/outfit.h"
#include "save/store.h"
#include "ui/screens.h"

namespace brimvale {

CharacterRecord Character;

namespace {

constexpr const char* kSection = "Character";

const char* GenderCode(int32_t gender) {
  return gender == 1 ? "f" : "m";
}

// A hand-edited save can hold any number; the lookup stays inside the table and the stored value
// is left as it is.
int32_t TableIndex(int32_t value, int32_t count) {
  return std::clamp(value, 0, count - 1);
}

// The padding of a three-digit number: "00" below 10, "0" up to 99, nothing from 100 on. A
// negative or longer number is written as it is after its padding.
const char* ThreeDigitPadding(int32_t n) {
  return n < 10 ? "00" : n < 100 ? "0" : "";
}

}  // namespace

void HeadMeshName(int32_t gender, int32_t headType, char (&out)[32]) {
  std::snprintf(out, sizeof out, "mp_head_%sr1_%03d", GenderCode(gender),
                TableIndex(headType, kHeadCount) + 1);
}

void SkinTextureName(int32_t gender, int32_t skinType, char (&out)[32]) {
  std::snprintf(out, sizeof out, "mp_head_%sr1_sc%02d_c0_000_ab", GenderCode(gender),
                TableIndex(skinType, kSkinCount));
}

void HairMeshName(int32_t gender, int32_t hairStyle, char (&out)[32]) {
  std::snprintf(out, sizeof out, "mp_hair_%sr1_%s%d", GenderCode(gender),
                ThreeDigitPadding(hairStyle), hairStyle);
}

void BeardMeshName(int32_t beardStyle, char (&out)[32]) {
  std::snprintf(out, sizeof out, "beard_mr1_%s%d", ThreeDigitPadding(beardStyle), beardStyle);
}

Hash BodyTypeHash(int32_t bodyType) {
  return kBodyTypes[TableIndex(bodyType, kBodyTypeCount)];
}

void LoadCharacterRecord() {
  CharacterRecord& c = Character;
  Campaign.characterCreated = ReadBool(kSection, "Create Character", Campaign.characterCreated);
  c.Gender = ReadInt(kSection, "Gender", c.Gender);
  char walkingStyle[kProfileStringSize] = {};
  ReadString(kSection, "Walking Style", c.WalkingStyle, walkingStyle);
  static_assert(sizeof walkingStyle == sizeof c.WalkingStyle);
  std::memcpy(c.WalkingStyle, walkingStyle, sizeof c.WalkingStyle);
  c.WalkingStyle[kWalkStyleSize - 1] = '\0';
  for (int i = 0; i < kFaceFeatureCount; ++i) {
    c.FaceFeatures[i] = ReadFloat(kSection, kFaceFeatures[i].saveKey, c.FaceFeatures[i]);
  }
  c.HeadType = ReadInt(kSection, "Head Type", c.HeadType);
  c.SkinType = ReadInt(kSection, "Skin Type", c.SkinType);
  c.BodyType = ReadInt(kSection, "Body Type", c.BodyType);
  c.HairStyle = ReadInt(kSection, "Hair Style", c.HairStyle);
  c.HairR = ReadInt(kSection, "Hair R", c.HairR);
  c.HairG = ReadInt(kSection, "Hair G", c.HairG);
  c.HairB = ReadInt(kSection, "Hair B", c.HairB);
  c.BeardStyle = ReadInt(kSection, "Beard Style", c.BeardStyle);
  LoadOutfit();
}

}  // namespace brimvale
