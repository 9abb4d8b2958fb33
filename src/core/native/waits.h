// The blocking basics every step uses: the game timer's arithmetic, timed waits, and the load
// loops for models and dictionaries.
#pragma once

#include <cstdint>

#include "core/native/invoke.h"

namespace brimvale {

// Wrapping arithmetic on the game timer, a signed 32-bit count that may roll over.
int32_t TimerAfter(int32_t start, int32_t ms);
bool TimerBefore(int32_t now, int32_t deadline);

// Runs perFrame (if any) and waits a frame until the game timer reaches GameTimer() + ms. The
// comparison is signed on the difference, so a wait that spans the timer's wrap still ends.
void WaitMs(int32_t ms, void (*perFrame)() = nullptr);

// Load loops: one request and one test per frame, without time-out. An invalid model is skipped.
void RequestModelAndWait(const char* name);
void RequestModelAndWait(Hash model);
// The same without asking whether the model is valid, for the mission models the game always
// has: an invalid one would wait for ever.
void RequestModelAndWaitUnchecked(Hash model);
void ReleaseModelIfValid(const char* name);
void LoadAnimDict(const char* dict);
void LoadTextureDict(const char* dict);

}  // namespace brimvale
