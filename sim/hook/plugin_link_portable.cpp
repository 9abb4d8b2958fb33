// The plugin in the host's process off Windows: linked in, with its hook table pointing at the
// active host, or its shared library loaded from a fresh copy of the file (the live game).
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

#include "core/entry.h"
#include "core/native/hook.h"
#include "hook/host.h"
#include "hook/plugin_link.h"
#include "hook/plugin_reload.h"

namespace brimvale::sim {
namespace {

namespace fs = std::filesystem;

using ModuleEntry = int32_t (*)(void* module, uint32_t reason, const ScriptHookApi* hook,
                                const PlatformApi* platform);
constexpr const char* kModuleEntry = "BrimvaleModuleEntry";

std::string PluginPath;
std::string LoadError;
PluginBuild LoadedBuild;

ScriptHookApi HostHookTable() {
  ScriptHookApi hook;
  hook.scriptRegister = [](void* m, ScriptFunction f) { ActiveHost().HookScriptRegister(m, f); };
  hook.scriptUnregister = [](void* m) { ActiveHost().HookScriptUnregister(m); };
  hook.keyboardHandlerRegister = [](KeyboardHandler h) { ActiveHost().HookKeyboardRegister(h); };
  hook.keyboardHandlerUnregister = [](KeyboardHandler h) {
    ActiveHost().HookKeyboardUnregister(h);
  };
  hook.scriptWait = [](uint32_t ms) { ActiveHost().HookScriptWait(ms); };
  hook.nativeInit = [](uint64_t hash) { ActiveHost().HookNativeInit(hash); };
  hook.nativePush64 = [](uint64_t slot) { ActiveHost().HookNativePush(slot); };
  hook.nativeCall = [] { return ActiveHost().HookNativeCall(); };
  hook.getGlobalPtr = [](int32_t index) { return ActiveHost().HookGlobalPtr(index); };
  return hook;
}

PlatformApi HostPlatformTable() {
  PlatformApi platform;
  platform.tickCount = [] { return ActiveHost().PlatformTickCount(); };
  platform.freeConsole = [] { ActiveHost().PlatformFreeConsole(); };
  return platform;
}

// One loaded copy of the shared library.
struct SharedModule {
  void* handle = nullptr;
  ModuleEntry entry = nullptr;
  fs::path copy;
  PluginBuild build;
};
std::set<SharedModule*> SharedModules;

// A short id of the file's bytes (FNV-1a), so the page can tell two builds apart.
std::string BuildId(const std::string& bytes) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return std::string(text, 8);
}

void CloseShared(SharedModule* m) {
  if (m->handle) dlclose(m->handle);
  std::error_code ec;
  fs::remove(m->copy, ec);
  SharedModules.erase(m);
  delete m;
}

// The build copied to a name of its own, since the loader hands back a library it already has
// when the name is the same, then opened; its entry is looked up but not called.
SharedModule* OpenShared(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return nullptr;
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  static std::atomic<int> copies{0};
  auto* m = new SharedModule;
  m->copy = fs::temp_directory_path() / ("brimvale-plugin-" + std::to_string(getpid()) + "-" +
                                         std::to_string(++copies) + ".so");
  SharedModules.insert(m);
  {
    std::ofstream out(m->copy, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      error = "cannot copy " + path + " to " + m->copy.string();
      CloseShared(m);
      return nullptr;
    }
  }
  m->handle = dlopen(m->copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m->handle) {
    const char* why = dlerror();
    error = path + " is not a loadable library: " + (why ? why : "unknown reason");
    CloseShared(m);
    return nullptr;
  }
  m->entry = reinterpret_cast<ModuleEntry>(dlsym(m->handle, kModuleEntry));
  if (!m->entry) {
    error = path + " has no entry " + kModuleEntry;
    CloseShared(m);
    return nullptr;
  }
  std::error_code ec;
  const auto written = fs::last_write_time(path, ec);
  m->build.path = path;
  m->build.id = BuildId(bytes);
  m->build.fileTime =
      ec ? 0 : std::chrono::duration_cast<std::chrono::seconds>(written.time_since_epoch()).count();
  return m;
}

// The attach, which registers the script; a build that refuses it or throws is not taken.
bool AttachShared(SharedModule* m, std::string& error) {
  const ScriptHookApi hook = HostHookTable();
  const PlatformApi platform = HostPlatformTable();
  try {
    if (m->entry(m, kProcessAttach, &hook, &platform)) return true;
    error = m->build.path + ": its attach failed";
  } catch (...) {
    error = m->build.path + ": its attach threw";
  }
  return false;
}

void DetachShared(SharedModule* m) {
  m->entry(m, kProcessDetach, nullptr, nullptr);
}

SharedModule* AsShared(void* module) {
  auto* m = static_cast<SharedModule*>(module);
  return SharedModules.count(m) ? m : nullptr;
}

}  // namespace

void* LoadPluginModule(SimHost& host) {
  LoadError.clear();
  if (PluginPath.empty()) {
    Hook = HostHookTable();
    Platform = HostPlatformTable();
    ResetPluginState();
    PluginEntry(&host, kProcessAttach);
    return &host;
  }
  SharedModule* m = OpenShared(PluginPath, LoadError);
  if (!m) return nullptr;
  if (!AttachShared(m, LoadError)) {
    CloseShared(m);
    return nullptr;
  }
  LoadedBuild = m->build;
  return m;
}

void UnloadPluginModule(void* module) {
  if (SharedModule* m = AsShared(module)) {
    DetachShared(m);
    CloseShared(m);
    return;
  }
  PluginEntry(module, kProcessDetach);
}

void ReleasePluginLink() {
  Hook = {};
  Platform = DefaultPlatform();
}

void SetPluginPath(const std::string& path) {
  PluginPath = path;
}

const std::string& PluginLoadError() {
  return LoadError;
}

const PluginBuild& LoadedPluginBuild() {
  return LoadedBuild;
}

bool ReloadPlugin(SimHost& host, std::string& reason) {
  SharedModule* old = AsShared(host.PluginModule());
  if (!old) {
    reason = "the running plugin is not a shared library";
    return false;
  }
  // The new build must at least open before the old one lets go.
  SharedModule* next = OpenShared(PluginPath, reason);
  if (!next) return false;
  host.StopScript();
  DetachShared(old);
  if (!AttachShared(next, reason)) {
    CloseShared(next);
    // The old build takes the game back; its script starts again from the top.
    std::string ignored;
    AttachShared(old, ignored);
    return false;
  }
  CloseShared(old);
  host.AdoptPluginModule(next);
  LoadedBuild = next->build;
  return true;
}

bool PluginFileWatch::Changed(const std::string& path) {
  std::error_code ec;
  const auto time = fs::last_write_time(path, ec);
  const auto size = ec ? 0 : fs::file_size(path, ec);
  const std::string seen =
      ec ? std::string()
         : std::to_string(time.time_since_epoch().count()) + "/" + std::to_string(size);
  if (last_.empty()) {
    last_ = seen;
    stable_ = seen;
    return false;
  }
  // A build in progress writes the file in steps: a change counts once it has held for one
  // more look.
  const bool landed = !seen.empty() && seen == pending_ && seen != stable_;
  pending_ = seen;
  if (landed) stable_ = seen;
  last_ = seen;
  return landed;
}

}  // namespace brimvale::sim
