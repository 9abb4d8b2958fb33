// The character's look: the record loaded from section "Character" and its tables; putting it on
// a ped is character/appearance.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

inline constexpr int kFaceFeatureCount = 54;
inline constexpr int kHeadCount = 28;
inline constexpr int kSkinCount = 6;
inline constexpr int kBodyTypeCount = 21;
inline constexpr int kHairStyleCount = 24;   // "Hair Style" 0 .. 23 in the creator
inline constexpr int kBeardStyleCount = 52;  // "Beard Style" 0 .. 51, -1 for none
inline constexpr size_t kWalkStyleSize = 255;

struct FaceFeature {
  const char* saveKey;
  const char* label;
  int32_t id;  // the game's constant for SetPedFaceFeature
};

// Entry n-1 is "Face Feature n".
inline constexpr FaceFeature kFaceFeatures[kFaceFeatureCount] = {
    {"Face Feature 1", "Eye Height", 35627},
    {"Face Feature 2", "Eye Width", 7019},
    {"Face Feature 3", "Eye Depth", 60996},
    {"Face Feature 4", "Eye Angle", 53862},
    {"Face Feature 5", "Eye H_POS", 42318},
    {"Face Feature 6", "Eye V_POS", 56827},
    {"Face Feature 7", "Nose Height", 1013},
    {"Face Feature 8", "Nose Width", 28287},
    {"Face Feature 9", "Nose Length", 13425},
    {"Face Feature 10", "Nose Tilt", 13489},
    {"Face Feature 11", "Nose Break", 61782},
    {"Face Feature 12", "Nostral Width", 22046},
    {"Face Feature 13", "Mouth Width", 61541},
    {"Face Feature 14", "Mouth Depth", 43625},
    {"Face Feature 15", "Mouth H_POS", 31427},
    {"Face Feature 16", "Mouth V_POS", 16653},
    {"Face Feature 17", "Upper Lip Thickness", 6656},
    {"Face Feature 18", "Upper Lip Width", 37313},
    {"Face Feature 19", "Upper Lip Depth", 50037},
    {"Face Feature 20", "Lower Lip Thickness", 47949},
    {"Face Feature 21", "Lower Lip Width", 45232},
    {"Face Feature 22", "Lower Lip Depth", 23830},
    {"Face Feature 23", "Chin Tilt", 15375},
    {"Face Feature 24", "Chin Width", 50098},
    {"Face Feature 25", "Chin Depth", 58147},
    {"Face Feature 26", "Jaw Height", 36106},
    {"Face Feature 27", "Jaw Width", 60334},
    {"Face Feature 28", "Jaw Depth", 7670},
    {"Face Feature 29", "Cheek Height", 27147},
    {"Face Feature 30", "Cheek Width", 43983},
    {"Face Feature 31", "Cheek Depth", 13709},
    {"Face Feature 32", "Ear Size", 49231},
    {"Face Feature 33", "Ear Rotation", 46798},
    {"Face Feature 34", "Ear Length", 10308},
    {"Face Feature 35", "Ear Lobe", 60720},
    {"Face Feature 36", "Brow Height", 13059},
    {"Face Feature 37", "Brow Width", 12281},
    {"Face Feature 38", "Brow Depth", 19153},
    {"Face Feature 39", "Face Width", 34006},
    {"Face Feature 40", "Neck Width", 36277},
    {"Face Feature 41", "Neck Depth", 60890},
    {"Face Feature 42", "Shoulder Height", 15833},
    {"Face Feature 43", "Shoulder Width", 50039},
    {"Face Feature 44", "Shoulder Depth", 7010},
    {"Face Feature 45", "Traps", 33485},
    {"Face Feature 46", "Lats", 18046},
    {"Face Feature 47", "Forearm", 8420},
    {"Face Feature 48", "Upper Arm", 46032},
    {"Face Feature 49", "Chest Width", 41478},
    {"Face Feature 50", "Chest Depth", 27779},
    {"Face Feature 51", "Belly Width", 50460},
    {"Face Feature 52", "Belly Depth", 49787},
    {"Face Feature 53", "Upper Legs", 64834},
    {"Face Feature 54", "Lower Legs", 42067},
};

// Feature numbers (1-based) in the order the game is given them: body first, then the face.
inline constexpr int kFeatureApplyOrder[kFaceFeatureCount] = {
    47, 48, 49, 50, 51, 52, 53, 54, 42, 43, 44, 40, 41, 45, 46, 39, 36, 37,
    38, 32, 33, 34, 35, 29, 30, 31, 26, 27, 28, 23, 24, 25, 1,  2,  3,  4,
    5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};

// Shared by both genders, indexed by "Body Type".
inline constexpr Hash kBodyTypes[kBodyTypeCount] = {
    0x86155956, 0x97F0FD0D, 0xEC92A64F, 0xC0794E49, 0xCDA6E8A4, 0xB418B588, 0x3743BBB0,
    0x08EEDF07, 0x17C87CBA, 0xD998005A, 0x68109C55, 0x3BDB43E7, 0x4C35E49C, 0x1DF38818,
    0x833C52B8, 0x927AF135, 0x677F9B3F, 0x79A13F82, 0xBA0BC056, 0xCC4664CB, 0x74D74B1C};

// One character; "Create Character" lives in Campaign.characterCreated.
struct CharacterRecord {
  int32_t Gender = 0;  // 0 "MP_MALE", 1 "MP_FEMALE"
  char WalkingStyle[kWalkStyleSize] = "MP_Style_Casual";
  float FaceFeatures[kFaceFeatureCount] = {};  // index n-1 is "Face Feature n"
  int32_t HeadType = 0;
  int32_t SkinType = 0;
  int32_t BodyType = 0;
  int32_t HairStyle = 0;
  int32_t HairR = 0;
  int32_t HairG = 0;
  int32_t HairB = 0;
  int32_t BeardStyle = 0;  // -1 = no beard
};

extern CharacterRecord Character;

// Mesh and texture names of the record's numbers, written into the caller's buffer. Numbers
// outside the tables are clamped into them; hair and beard numbers are written as they are.
void HeadMeshName(int32_t gender, int32_t headType, char (&out)[32]);
void SkinTextureName(int32_t gender, int32_t skinType, char (&out)[32]);
void HairMeshName(int32_t gender, int32_t hairStyle, char (&out)[32]);
void BeardMeshName(int32_t beardStyle, char (&out)[32]);
Hash BodyTypeHash(int32_t bodyType);

// Reads the record from the save file, each key defaulting to the value in memory; ends with
// LoadOutfit.
void LoadCharacterRecord();

}  // namespace brimvale
