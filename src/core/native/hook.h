// The script hook's operations, called through one table. On Windows the table is bound to the
// hook's exports at load time; elsewhere the simulated host fills it.
#pragma once

#include <cstdint>

namespace brimvale {

using ScriptFunction = void (*)();
// The hook's keyboard callback: virtual-key code, repeat count, scan code, extended flag, then the
// alt, was-down and is-up flags (the last three are what the key table keeps).
using KeyboardHandler = void (*)(uint32_t key, uint16_t repeats, uint8_t scanCode,
                                 int32_t isExtended, int32_t isWithAlt, int32_t wasDownBefore,
                                 int32_t isUpNow);

struct ScriptHookApi {
  void (*scriptRegister)(void* module, ScriptFunction function) = nullptr;
  void (*scriptUnregister)(void* module) = nullptr;
  void (*keyboardHandlerRegister)(KeyboardHandler handler) = nullptr;
  void (*keyboardHandlerUnregister)(KeyboardHandler handler) = nullptr;
  void (*scriptWait)(uint32_t ms) = nullptr;
  void (*nativeInit)(uint64_t hash) = nullptr;
  void (*nativePush64)(uint64_t slot) = nullptr;
  uint64_t* (*nativeCall)() = nullptr;
  uint64_t* (*getGlobalPtr)(int32_t index) = nullptr;
};

// The operating system's few services that the plugin uses besides the hook.
struct PlatformApi {
  uint32_t (*tickCount)() = nullptr;  // milliseconds since system start
  void (*freeConsole)() = nullptr;
};

extern ScriptHookApi Hook;
extern PlatformApi Platform;

// The platform's own services (kernel32 on Windows, portable stand-ins elsewhere).
PlatformApi DefaultPlatform();

// Yields the script fibre; 0 waits for the next frame.
inline void ScriptWait(uint32_t ms) {
  Hook.scriptWait(ms);
}

}  // namespace brimvale
