// What a screen or mission places in the game's view: map blips and scripted cameras, each made
// with the game's wait for it, and the music flags a staged scene sets.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

// Coordinate, radius and named blips wait until the game reports the new blip.
Blip CreateCoordBlip(Hash style, Vector3 at);
Blip CreateRadiusBlip(Hash style, Vector3 at, float radius);
// The blip stands 1.0 below the height given.
Blip CreateNamedBlip(Hash style, Vector3 at, Hash sprite, const char* name);
void RemoveBlipIfExists(Blip& blip);

struct CameraPlace {
  Vector3 at{};
  Vector3 rotation{};
  float fov = 50.0f;
};
Cam CreateCutCamera(CameraPlace place);

// The three music flags, in order: "OpenWorldMusicDisabled", "MusicIgnoreDeathArrest",
// "MusicIgnoreScreenFade".
void SetMissionAudioFlags(bool on);

}  // namespace brimvale
