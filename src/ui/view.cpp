#include "ui/view.h"

#include "core/native/hook.h"
#include "core/native/natives.h"

namespace brimvale {
namespace {

constexpr const char* kMusicFlags[] = {"OpenWorldMusicDisabled", "MusicIgnoreDeathArrest",
                                       "MusicIgnoreScreenFade"};

template <typename Create>
Blip CreateBlipAndWait(Create create) {
  Blip blip{};
  do {
    blip = create();
    ScriptWait(0);
  } while (!DoesBlipExist(blip));
  return blip;
}

}  // namespace

Blip CreateCoordBlip(Hash style, Vector3 at) {
  return CreateBlipAndWait([&] { return AddBlipForCoord(style, at); });
}

Blip CreateRadiusBlip(Hash style, Vector3 at, float radius) {
  return CreateBlipAndWait([&] { return AddBlipForRadius(style, at, radius); });
}

Blip CreateNamedBlip(Hash style, Vector3 at, Hash sprite, const char* name) {
  // Each pass that made a blip the game did not report is finished before the next try, so a
  // retry never leaves a half-made blip without its sprite and name.
  return CreateBlipAndWait([&] {
    const Blip blip = AddBlipForCoord(style, {at.x, at.y, at.z - 1.0f});
    SetBlipSprite(blip, sprite, 1);
    SetBlipName(blip, CreateVarString(kVarStringPlain, "PLAYER_STRING", name));
    return blip;
  });
}

void RemoveBlipIfExists(Blip& blip) {
  if (DoesBlipExist(blip)) RemoveBlip(&blip);
  blip = {};
}

Cam CreateCutCamera(CameraPlace place) {
  return CreateCameraAt("DEFAULT_SCRIPTED_CAMERA", place.at, place.rotation, place.fov, 1, 2);
}

void SetMissionAudioFlags(bool on) {
  for (const char* flag : kMusicFlags)
    SetAudioFlag(flag, on);
}

}  // namespace brimvale
