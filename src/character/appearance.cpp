// Putting the character record on a ped: texture layers, the trait, the outfit, body type, the 54
// shape values and the voice, in the order the game needs them.
#include "character/appearance.h"

#include <cstdlib>

#include "character/character_record.h"
#include "character/outfit.h"
#include "core/native/natives.h"

namespace brimvale {
namespace {

constexpr Hash kPaletteSkin = 0xAA65D8A3;
constexpr Hash kPaletteHair = 0xDFB1F64C;
constexpr Hash kPaletteEyes = 0xA4CFABD0;
constexpr Hash kEyesAlbedo = 0xBD10D52A;
constexpr Hash kBeardAlbedo = 0xF8AF92E5;
constexpr Hash kBeardNormal = 0x7E6E8DF9;
constexpr Hash kBeardMaterial = 0xF4FD0D09;

bool KnownGender(int32_t gender) {
  return gender == 0 || gender == 1;
}

// A layer whose names are hashed in argument order just before the call; a null albedo name
// means the fixed albedo hash is used instead.
struct FixedLayer {
  const char* mesh;
  const char* albedo;
  Hash albedoHash;
  const char* normal;
  const char* material;
  Hash palette;
  int32_t tint0, tint1, tint2;
};

// The layers every character wears after the head (arms and torso, eyes, teeth), by gender.
constexpr FixedLayer kFixedLayers[2][3] = {
    {
        {"mp_uppertorso_mr1_000_o_b", "mp_hand_mr1_000_c0_008_ab", 0, "mp_hand_mr1_000_c0_002_nm",
         "mp_hand_mr1_000_c0_000_m", kPaletteSkin, 0, 0, 0},
        {"eyes_mr1_0000", nullptr, kEyesAlbedo, "eyes_gen_0000_c0_000_nm", "eyes_gen_0000_c0_000_m",
         kPaletteEyes, 2, 73, 43},
        {"teeth_mr1_0000", "teeth_gen_0000_c0_000_ab", 0, "teeth_gen_0000_c0_000_nm",
         "teeth_gen_0000_c0_000_m", kPaletteSkin, 255, 255, 255},
    },
    {
        {"mp_uppertorso_fr1_000_o_b", "mp_hand_fr1_000_c0_000_ab", 0, "mp_hand_fr1_000_c0_000_nm",
         "mp_hand_fr1_000_c0_000_ma", kPaletteSkin, 0, 0, 0},
        {"eyes_fr1_0000", nullptr, kEyesAlbedo, "eyes_gen_0000_c0_000_nm", "eyes_gen_0000_c0_000_m",
         kPaletteEyes, 2, 73, 43},
        {"teeth_fr1_0000", "teeth_gen_0000_c0_000_ab", 0, "teeth_gen_0000_c0_000_nm",
         "teeth_gen_0000_c0_000_m", kPaletteSkin, 255, 255, 255},
    },
};

void SetLayer(Ped ped, const FixedLayer& layer) {
  const Hash mesh = HashName(layer.mesh);
  const Hash albedo = layer.albedo ? HashName(layer.albedo) : layer.albedoHash;
  const Hash normal = HashName(layer.normal);
  const Hash material = HashName(layer.material);
  SetPedTextureLayer(ped, mesh, albedo, normal, material, layer.palette, layer.tint0, layer.tint1,
                     layer.tint2);
}

void RemoveBeard(Ped ped) {
  RemovePedComponentCategory(ped, HashName("beards_complete"), 1);
  UpdateVariationFull(ped);
}

// 0.0 one time in ten, 1.0 otherwise.
void ApplyTrait(Ped ped) {
  const int r = std::rand() % 10;
  const int v = 1 - (r + 1) / 10;
  SetPedTraitValue(ped, static_cast<float>(v));
}

}  // namespace

void UpdateVariationFull(Ped ped) {
  UpdatePedVariation(ped, 1, 1, 1, 1, 1);
}

void UpdateVariationLight(Ped ped) {
  UpdatePedVariation(ped, 0, 1, 0, 1, 0);
}

void ApplyHeadLayer(Ped ped, int32_t gender) {
  if (!KnownGender(gender)) return;
  char head[32];
  char skin[32];
  HeadMeshName(gender, Character.HeadType, head);
  SkinTextureName(gender, Character.SkinType, skin);
  const FixedLayer layer{head,
                         skin,
                         0,
                         gender == 0 ? "mp_head_mr1_000_nm" : "mp_head_fr1_000_nm",
                         gender == 0 ? "mp_head_mr1_000_m" : "mp_head_fr1_000_m",
                         kPaletteSkin,
                         0,
                         0,
                         0};
  SetLayer(ped, layer);
}

void ApplyBeardStep(Ped ped, int32_t gender) {
  if (gender == 1 || (gender == 0 && Character.BeardStyle == -1)) {
    RemoveBeard(ped);
    return;
  }
  if (gender != 0) return;
  char beard[32];
  BeardMeshName(Character.BeardStyle, beard);
  SetPedTextureLayer(ped, HashName(beard), kBeardAlbedo, kBeardNormal, kBeardMaterial, kPaletteHair,
                     Character.HairR, Character.HairG, Character.HairB);
}

void ApplyHairLayer(Ped ped, int32_t gender) {
  if (!KnownGender(gender)) return;
  char hair[32];
  HairMeshName(gender, Character.HairStyle, hair);
  const Hash mesh = HashName(hair);
  const Hash albedo = HashName("hair_gen_999_c0_999_ab");
  const Hash normal = HashName("hair_gen_999_c0_999_nm");
  const Hash material = HashName("hair_gen_999_c0_999_m");
  SetPedTextureLayer(ped, mesh, albedo, normal, material, kPaletteHair, Character.HairR,
                     Character.HairG, Character.HairB);
}

void ApplyBaseLook(Ped ped, int32_t gender, const char* upperTorso) {
  if (!KnownGender(gender)) return;
  ApplyHeadLayer(ped, gender);
  FixedLayer torso = kFixedLayers[gender][0];
  if (upperTorso) torso.mesh = upperTorso;
  SetLayer(ped, torso);
  SetLayer(ped, kFixedLayers[gender][1]);
  SetLayer(ped, kFixedLayers[gender][2]);
  ApplyBeardStep(ped, gender);
  ApplyHairLayer(ped, gender);
  ApplyTrait(ped);
}

void ApplyBodyType(Ped ped) {
  SetPedBodyType(ped, BodyTypeHash(Character.BodyType));
}

void ApplyFaceFeatures(Ped ped) {
  for (int number : kFeatureApplyOrder) {
    const FaceFeature& feature = kFaceFeatures[number - 1];
    SetPedFaceFeature(ped, feature.id, Character.FaceFeatures[number - 1]);
  }
}

void ApplyMissionLook(const char* upperTorso, void (*dress)(Ped ped, int32_t gender)) {
  const int32_t gender = Character.Gender;
  if (!KnownGender(gender)) return;
  const Ped ped = PlayerPed();
  ApplyBaseLook(ped, gender, upperTorso);
  if (dress) dress(ped, gender);
  ApplyBodyType(ped);
  UpdateVariationLight(ped);
  ApplyFaceFeatures(ped);
  UpdateVariationFull(ped);
}

void ApplyCharacterAppearance() {
  const int32_t gender = Character.Gender;
  if (!KnownGender(gender)) return;
  const Ped ped = PlayerPed();
  ApplyBaseLook(ped, gender);
  ApplyOutfit();
  ApplyBodyType(ped);
  UpdateVariationLight(ped);
  ApplyFaceFeatures(ped);
  SetPedVoiceStyle(ped, "NONE");
  SetPedVoice(ped, HashName(gender == 0 ? "VOFX_PLAYER_MALE01" : "VOFX_PLAYER_FEMALE01"));
  UpdateVariationFull(ped);
}

}  // namespace brimvale
