// Script cameras, animation dictionaries and the animations peds play, and the player's
// teleports, freezes, motion states and heading alignments.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/native/invoke.h"
#include "world/dictionaries.h"

namespace brimvale::sim {

struct SimCamera {
  int32_t handle = 0;
  std::string kind;  // "DEFAULT_SCRIPTED_CAMERA"
  Vector3 position{};
  Vector3 rotation{};
  float fov = 0.0f;
  bool active = false;
  int64_t activatedSeq = 0;  // when it was last made active; the newest active camera is seen
  int32_t attachedTo = 0;    // entity, 0 when free
  Vector3 attachOffset{};
  int32_t pointedAt = 0;  // entity, 0 when not aimed at one
  Vector3 pointOffset{};
  double interpolatingUntilMs = -1.0;  // the end of a blend towards or away from it
};

struct CameraBlend {
  int64_t frame = 0;
  int32_t to = 0, from = 0;
  int32_t durationMs = 0, easeA = 0, easeB = 0;
};

// One RenderScriptCameras call: script cameras on or off, with the eased hand-back.
struct RenderRequest {
  int64_t frame = 0;
  bool on = false;
  bool ease = false;
  int32_t easeMs = 0;
};

// What a ped is playing: the last PlayPedAnim that found its dictionary loaded.
struct PedAnim {
  std::string dict, clip;
  float blendIn = 0.0f, blendOut = 0.0f;
  int32_t durationMs = -1;  // -1 loops until another animation replaces it
  int32_t flags = 0;
  double startedMs = 0.0;
  int plays = 0;  // PlayPedAnim calls of this same clip in a row
};

struct TeleportRecord {
  int64_t frame = 0;
  Vector3 to{};
  float heading = 0.0f;
  bool settled = false;  // SettlePlayerTeleport was called after it
};

struct MotionState {
  Hash state = 0;
  int32_t a = 0, b = 0, c = 0;
};

struct HeadingAlignment {
  int64_t frame = 0;
  float speed = 0.0f;
  int32_t durationMs = 0;
  float heading = 0.0f;
};

struct CameraWorld {
  int32_t nextHandle = 70001;  // camera handles live apart from entity and blip handles
  std::map<int32_t, SimCamera> cameras;
  int64_t activations = 0;
  std::vector<CameraBlend> blends;
  bool rendering = false;  // script cameras are shown instead of the gameplay camera
  std::vector<RenderRequest> renders;
  std::optional<float> gameplayRelativeHeading;

  DictTable animDicts;
  std::map<int32_t, PedAnim> anims;  // by ped handle
  std::vector<int64_t> heldFrames;   // the frames HoldFrame was called in

  std::vector<TeleportRecord> teleports;
  int settles = 0;
  std::set<int32_t> frozen;
  std::map<int32_t, MotionState> motionStates;  // by ped
  std::vector<HeadingAlignment> alignments;

  const SimCamera* Find(int32_t handle) const {
    auto it = cameras.find(handle);
    return it == cameras.end() ? nullptr : &it->second;
  }
  int LiveCameras() const { return static_cast<int>(cameras.size()); }
  // The camera the player sees while script cameras render: the newest active one.
  const SimCamera* Seen() const {
    if (!rendering) return nullptr;
    const SimCamera* seen = nullptr;
    for (const auto& [handle, cam] : cameras) {
      if (cam.active && (!seen || cam.activatedSeq > seen->activatedSeq)) seen = &cam;
    }
    return seen;
  }
  const PedAnim* AnimOf(int32_t ped) const {
    auto it = anims.find(ped);
    return it == anims.end() ? nullptr : &it->second;
  }
  bool Frozen(int32_t entity) const { return frozen.count(entity) > 0; }
  bool AnimDictLoaded(std::string_view name) const { return animDicts.Loaded(name); }
};

}  // namespace brimvale::sim
