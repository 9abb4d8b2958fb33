// The plugin linked into the host: its hook table points at the active host.
#include "core/entry.h"
#include "core/native/hook.h"
#include "hook/host.h"
#include "hook/plugin_link.h"

namespace brimvale::sim {
namespace {

void InstallHookTable() {
  Hook.scriptRegister = [](void* m, ScriptFunction f) { ActiveHost().HookScriptRegister(m, f); };
  Hook.scriptUnregister = [](void* m) { ActiveHost().HookScriptUnregister(m); };
  Hook.keyboardHandlerRegister = [](KeyboardHandler h) { ActiveHost().HookKeyboardRegister(h); };
  Hook.keyboardHandlerUnregister = [](KeyboardHandler h) {
    ActiveHost().HookKeyboardUnregister(h);
  };
  Hook.scriptWait = [](uint32_t ms) { ActiveHost().HookScriptWait(ms); };
  Hook.nativeInit = [](uint64_t hash) { ActiveHost().HookNativeInit(hash); };
  Hook.nativePush64 = [](uint64_t slot) { ActiveHost().HookNativePush(slot); };
  Hook.nativeCall = [] { return ActiveHost().HookNativeCall(); };
  Hook.getGlobalPtr = [](int32_t index) { return ActiveHost().HookGlobalPtr(index); };
  Platform.tickCount = [] { return ActiveHost().PlatformTickCount(); };
  Platform.freeConsole = [] { ActiveHost().PlatformFreeConsole(); };
}

}  // namespace

void* LoadPluginModule(SimHost& host) {
  InstallHookTable();
  ResetPluginState();
  PluginEntry(&host, kProcessAttach);
  return &host;
}

void UnloadPluginModule(void* module) {
  PluginEntry(module, kProcessDetach);
}

void ReleasePluginLink() {
  Hook = {};
  Platform = DefaultPlatform();
}

void SetPluginPath(const std::string&) {}

}  // namespace brimvale::sim
