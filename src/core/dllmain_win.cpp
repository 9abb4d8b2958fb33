// The DLL entry: finds the script hook among the modules already loaded, binds the hook table to
// its exports, then hands the reason to the portable entry logic.
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include "core/entry.h"
#include "core/native/hook.h"
#include "core/native/hook_binding.h"

namespace brimvale {
namespace {

// The game loads the hook before any plugin, under whatever file name its installer chose, so it
// is found by what it exports. Loading a library here is not allowed (the loader lock is held),
// so only modules already in the process are considered.
constexpr DWORD kMaxModules = 1024;
HMODULE LoadedModules[kMaxModules];

void* FindModuleExport(void* module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

bool BindScriptHook(HMODULE self) {
  DWORD bytes = 0;
  if (!K32EnumProcessModules(GetCurrentProcess(), LoadedModules, sizeof LoadedModules, &bytes)) {
    return false;
  }
  DWORD count = bytes / sizeof(HMODULE);
  if (count > kMaxModules) count = kMaxModules;
  void* candidates[kMaxModules];
  for (DWORD i = 0; i < count; ++i)
    candidates[i] = LoadedModules[i] == self ? nullptr : LoadedModules[i];
  return BindHookFromModules(candidates, count, FindModuleExport, Hook);
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
    HookBound = BindScriptHook(module);
    if (!HookBound) return TRUE;
  } else if (reason == DLL_PROCESS_DETACH && !HookBound) {
    return TRUE;
  }
  return PluginEntry(module, static_cast<uint32_t>(reason)) ? TRUE : FALSE;
}
