#include "core/native/waits.h"

#include "core/native/hook.h"
#include "core/native/natives.h"

namespace brimvale {

int32_t TimerAfter(int32_t start, int32_t ms) {
  return static_cast<int32_t>(static_cast<uint32_t>(start) + static_cast<uint32_t>(ms));
}

bool TimerBefore(int32_t now, int32_t deadline) {
  return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(deadline)) < 0;
}

void WaitMs(int32_t ms, void (*perFrame)()) {
  // A negative wait would otherwise mean the better part of a timer cycle.
  if (ms <= 0) return;
  const int32_t deadline = TimerAfter(GameTimer(), ms);
  while (TimerBefore(GameTimer(), deadline)) {
    if (perFrame) perFrame();
    ScriptWait(0);
  }
}

void RequestModelAndWait(Hash model) {
  if (!IsModelValid(model)) return;
  RequestModelAndWaitUnchecked(model);
}

void RequestModelAndWaitUnchecked(Hash model) {
  RequestModel(model, false);
  while (!HasModelLoaded(model))
    ScriptWait(0);
}

void RequestModelAndWait(const char* name) {
  RequestModelAndWait(HashName(name));
}

void ReleaseModelIfValid(const char* name) {
  const Hash model = HashName(name);
  if (IsModelValid(model)) ReleaseModel(model);
}

void LoadAnimDict(const char* dict) {
  while (!HasAnimDictLoaded(dict)) {
    RequestAnimDict(dict);
    ScriptWait(0);
  }
}

void LoadTextureDict(const char* dict) {
  while (!HasTextureDictLoaded(dict)) {
    RequestTextureDict(dict, true);
    ScriptWait(0);
  }
}

}  // namespace brimvale
