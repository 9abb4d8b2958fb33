#include "core/native/hook_binding.h"

#include "core/native/dll_file.h"

namespace brimvale {
namespace {

struct ExportName {
  const char* decorated;
  const char* plain;
};

constexpr ExportName kScriptRegister{"?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z",
                                     "scriptRegister"};
constexpr ExportName kScriptUnregister{"?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z",
                                       "scriptUnregister"};
constexpr ExportName kKeyboardRegister{"?keyboardHandlerRegister@@YAXP6AXKGEHHHH@Z@Z",
                                       "keyboardHandlerRegister"};
constexpr ExportName kKeyboardUnregister{"?keyboardHandlerUnregister@@YAXP6AXKGEHHHH@Z@Z",
                                         "keyboardHandlerUnregister"};
constexpr ExportName kScriptWait{"?scriptWait@@YAXK@Z", "scriptWait"};
constexpr ExportName kNativeInit{"?nativeInit@@YAX_K@Z", "nativeInit"};
constexpr ExportName kNativePush64{"?nativePush64@@YAX_K@Z", "nativePush64"};
constexpr ExportName kNativeCall{"?nativeCall@@YAPEA_KXZ", "nativeCall"};
constexpr ExportName kGetGlobalPtr{"?getGlobalPtr@@YAPEA_KH@Z", "getGlobalPtr"};

template <typename Function>
bool BindExport(void* module, FindExport find, const ExportName& name, Function& slot) {
  void* address = find(module, name.decorated);
  if (address == nullptr) address = find(module, name.plain);
  // Every export is a plain function pointer; the cast only restores its real signature.
  slot = reinterpret_cast<Function>(address);
  return address != nullptr;
}

bool BindModule(void* module, FindExport find, ScriptHookApi& api) {
  return BindExport(module, find, kScriptRegister, api.scriptRegister) &&
         BindExport(module, find, kScriptUnregister, api.scriptUnregister) &&
         BindExport(module, find, kKeyboardRegister, api.keyboardHandlerRegister) &&
         BindExport(module, find, kKeyboardUnregister, api.keyboardHandlerUnregister) &&
         BindExport(module, find, kScriptWait, api.scriptWait) &&
         BindExport(module, find, kNativeInit, api.nativeInit) &&
         BindExport(module, find, kNativePush64, api.nativePush64) &&
         BindExport(module, find, kNativeCall, api.nativeCall) &&
         BindExport(module, find, kGetGlobalPtr, api.getGlobalPtr);
}

// The file's export table answers as GetProcAddress would: an address when the name is there
// (the export data's copy, never called), null when it is not.
void* FindFileExport(void* exports, const char* name) {
  const DllExports& table = *static_cast<const DllExports*>(exports);
  return DllExportsName(table, name) ? const_cast<uint8_t*>(table.data.data()) : nullptr;
}

}  // namespace

bool BindHookFromModules(void* const* modules, size_t count, FindExport find, ScriptHookApi& api) {
  for (size_t i = 0; i < count; ++i) {
    ScriptHookApi candidate;
    if (modules[i] != nullptr && BindModule(modules[i], find, candidate)) {
      api = candidate;
      return true;
    }
  }
  return false;
}

bool DllFileHasHookExports(const DllFile& file) {
  DllExports exports;
  ScriptHookApi unused;  // bound to addresses in the copy, so never called
  return ReadDllExports(file, exports) && BindModule(&exports, FindFileExport, unused);
}

}  // namespace brimvale
