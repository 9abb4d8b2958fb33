// The plugin as a Linux shared library, which the live game loads, and loads again after each
// new build. The host hands over its hook table with the attach, where the Windows entry binds
// the hook's exports; each load of a fresh copy starts every subsystem from its state at load.
#include <cstdint>

#include "core/entry.h"
#include "core/native/hook.h"

extern "C" __attribute__((visibility("default"))) int32_t BrimvaleModuleEntry(
    void* module, uint32_t reason, const brimvale::ScriptHookApi* hook,
    const brimvale::PlatformApi* platform) {
  using namespace brimvale;
  if (reason == kProcessAttach) {
    // Without a complete table there is nothing to register with; the load is refused.
    if (!hook || !platform) return 0;
    Hook = *hook;
    Platform = *platform;
  }
  return PluginEntry(module, reason);
}
