#include "core/entry.h"

#include "core/native/hook.h"
#include "core/script_main.h"

namespace brimvale {

KeyboardState Keyboard;

void OnKey(uint32_t key, uint16_t, uint8_t, int32_t, int32_t isWithAlt, int32_t wasDownBefore,
           int32_t isUpNow) {
  if (key >= kKeyStateCount) return;
  KeyState& state = Keyboard.keyStates[key];
  state.lastTick = Platform.tickCount();
  state.flag5 = isWithAlt;
  state.flag6 = wasDownBefore;
  state.flag7 = isUpNow;
}

int32_t PluginEntry(void* module, uint32_t reason) {
  if (reason == kProcessAttach) {
    Hook.scriptRegister(module, ScriptMain);
    Hook.keyboardHandlerRegister(OnKey);
  } else if (reason == kProcessDetach) {
    Platform.freeConsole();
    Hook.scriptUnregister(module);
    Hook.keyboardHandlerUnregister(OnKey);
  }
  return 1;
}

}  // namespace brimvale
