// The DLL entry: binds the hook table to the script hook's exports, then hands the reason to the
// portable entry logic.
#include <windows.h>

#include "core/entry.h"
#include "core/hook.h"

namespace brimvale {
namespace {

// The script hook is loaded by the game before any plugin, under this file name.
constexpr const char* kScriptHookModule = "ScriptHook.dll";

template <typename Function>
bool BindExport(HMODULE module, const char* name, Function& slot) {
  FARPROC address = GetProcAddress(module, name);
  // Every export is a plain function pointer; the cast only restores its real signature.
  slot = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
  return address != nullptr;
}

bool BindScriptHook() {
  HMODULE module = GetModuleHandleA(kScriptHookModule);
  if (module == nullptr) module = LoadLibraryA(kScriptHookModule);
  if (module == nullptr) return false;
  ScriptHookApi api;
  bool bound = BindExport(module, "scriptRegister", api.scriptRegister) &&
               BindExport(module, "scriptUnregister", api.scriptUnregister) &&
               BindExport(module, "keyboardHandlerRegister", api.keyboardHandlerRegister) &&
               BindExport(module, "keyboardHandlerUnregister", api.keyboardHandlerUnregister) &&
               BindExport(module, "scriptWait", api.scriptWait) &&
               BindExport(module, "nativeInit", api.nativeInit) &&
               BindExport(module, "nativePush64", api.nativePush64) &&
               BindExport(module, "nativeCall", api.nativeCall) &&
               BindExport(module, "getGlobalPtr", api.getGlobalPtr);
  if (bound) Hook = api;
  return bound;
}

// Without a complete hook there is nothing to register with, and calling through a missing
// export would crash the game; the library then stays loaded and idle.
bool HookBound = false;

}  // namespace
}  // namespace brimvale

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  using namespace brimvale;
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(module);
    HookBound = BindScriptHook();
    if (!HookBound) return TRUE;
  } else if (reason == DLL_PROCESS_DETACH && !HookBound) {
    return TRUE;
  }
  return PluginEntry(module, static_cast<uint32_t>(reason)) ? TRUE : FALSE;
}
