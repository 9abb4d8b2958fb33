// The plugin's whole contact with the loader: registration with the script hook, and the table
// of key states that the keyboard handler keeps current.
#pragma once

#include <cstdint>

namespace brimvale {

struct KeyState {
  uint32_t lastTick = 0;  // tick count when the last message for this key arrived
  int32_t flag5 = 0;      // the callback's fifth to seventh arguments, stored unchanged
  int32_t flag6 = 0;
  int32_t flag7 = 0;
};

inline constexpr int kKeyStateCount = 255;

struct KeyboardState {
  KeyState keyStates[kKeyStateCount] = {};
};

extern KeyboardState Keyboard;

inline constexpr uint32_t kProcessDetach = 0;
inline constexpr uint32_t kProcessAttach = 1;

void OnKey(uint32_t key, uint16_t repeats, uint8_t scanCode, int32_t isExtended, int32_t isWithAlt,
           int32_t wasDownBefore, int32_t isUpNow);

// The library entry's logic: DllMain on Windows, called by the host's load and unload elsewhere.
// Returns TRUE (1) for every reason.
int32_t PluginEntry(void* module, uint32_t reason);

// Puts every subsystem back to its state at load, as a fresh load of the library would.
void ResetPluginState();

}  // namespace brimvale
