// The stand-in hook's exports: the nine operations under the names a hook built with Microsoft's
// compiler exports them, each handed to the active simulated host.
#include "hook/host.h"

using brimvale::KeyboardHandler;
using brimvale::ScriptFunction;
using brimvale::sim::ActiveHost;

// Exported under the decorated names by standin_hook.def (C linkage keeps the internal names
// plain for it).
extern "C" {

void StandInScriptRegister(void* module, ScriptFunction function) {
  ActiveHost().HookScriptRegister(module, function);
}
void StandInScriptUnregister(void* module) {
  ActiveHost().HookScriptUnregister(module);
}
void StandInKeyboardRegister(KeyboardHandler handler) {
  ActiveHost().HookKeyboardRegister(handler);
}
void StandInKeyboardUnregister(KeyboardHandler handler) {
  ActiveHost().HookKeyboardUnregister(handler);
}
void StandInScriptWait(uint32_t ms) {
  ActiveHost().HookScriptWait(ms);
}
void StandInNativeInit(uint64_t hash) {
  ActiveHost().HookNativeInit(hash);
}
void StandInNativePush64(uint64_t slot) {
  ActiveHost().HookNativePush(slot);
}
uint64_t* StandInNativeCall() {
  return ActiveHost().HookNativeCall();
}
uint64_t* StandInGetGlobalPtr(int32_t index) {
  return ActiveHost().HookGlobalPtr(index);
}

}  // extern "C"
