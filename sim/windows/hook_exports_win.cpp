// The stand-in hook's exports: the nine operations under the names a hook built with Microsoft's
// compiler exports them, each handed to the active simulated host.
#include "hook/host.h"
#include "hook/plugin_link.h"

using brimvale::KeyboardHandler;
using brimvale::ScriptFunction;
using brimvale::sim::ActiveHost;
using brimvale::sim::HostIsActive;

namespace {

// Brimvale loaded alone loads this hook from the game's folder and registers while it attaches,
// before the loader has made a host; the hook keeps the registrations, as the real one keeps them
// until its script thread starts, and the next host to load the plugin takes them over.
struct EarlyRegistration {
  void* module = nullptr;
  ScriptFunction script = nullptr;
  KeyboardHandler keyboard = nullptr;
} Early;

}  // namespace

void brimvale::sim::AdoptEarlyRegistration(SimHost& host) {
  if (Early.script != nullptr) host.HookScriptRegister(Early.module, Early.script);
  if (Early.keyboard != nullptr) host.HookKeyboardRegister(Early.keyboard);
}

// Exported under the decorated names by standin_hook.def (C linkage keeps the internal names
// plain for it).
extern "C" {

void StandInScriptRegister(void* module, ScriptFunction function) {
  if (!HostIsActive()) {
    Early.module = module;
    Early.script = function;
    return;
  }
  ActiveHost().HookScriptRegister(module, function);
}
void StandInScriptUnregister(void* module) {
  Early.script = nullptr;
  if (HostIsActive()) ActiveHost().HookScriptUnregister(module);
}
void StandInKeyboardRegister(KeyboardHandler handler) {
  if (!HostIsActive()) {
    Early.keyboard = handler;
    return;
  }
  ActiveHost().HookKeyboardRegister(handler);
}
void StandInKeyboardUnregister(KeyboardHandler handler) {
  Early.keyboard = nullptr;
  if (HostIsActive()) ActiveHost().HookKeyboardUnregister(handler);
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
