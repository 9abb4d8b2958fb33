// Putting the character's look on a ped: the whole sequence, the mission looks, and the pieces
// the creator reuses while the player edits.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

// Dresses PlayerPed from the record, assuming it already has the model of the record's gender.
void ApplyCharacterAppearance();
// The same look with another arms-and-torso mesh, without the outfit and the voice: `dress` (if
// any) puts on the clothing in the outfit's place.
void ApplyMissionLook(const char* upperTorso, void (*dress)(Ped ped, int32_t gender));

// Pieces of the apply sequence, each on `ped` for `gender` 0 or 1 (other genders do nothing);
// the creator reuses them while the player edits.
void ApplyHeadLayer(Ped ped, int32_t gender);  // the head layer of the record's Head and Skin Type
void ApplyBeardStep(Ped ped, int32_t gender);  // the beard layer, or the beard removed
void ApplyHairLayer(Ped ped, int32_t gender);  // the hair layer in the record's hair colour
// Head, arms and torso, eyes, teeth, beard, hair, then the trait, in the order the game layers
// them; `upperTorso`, when given, replaces the arms-and-torso mesh.
void ApplyBaseLook(Ped ped, int32_t gender, const char* upperTorso = nullptr);
void ApplyBodyType(Ped ped);         // the record's Body Type
void ApplyFaceFeatures(Ped ped);     // all 54 in kFeatureApplyOrder
void UpdateVariationFull(Ped ped);   // UpdatePedVariation(ped, 1, 1, 1, 1, 1)
void UpdateVariationLight(Ped ped);  // UpdatePedVariation(ped, 0, 1, 0, 1, 0)

}  // namespace brimvale
