// brimvale-loader: the game process in miniature. Loads the stand-in hook under a file name of its
// own, then the plugin, lets the stand-in play a run, and unloads the plugin before the hook.
//   brimvale-loader <Brimvale.asi> <stand-in hook DLL> <bind | inert | scenario name>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using RunFunction = int (*)(const char* mode, const char* pluginPath);

std::string FullPath(const char* path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path, MAX_PATH, full, nullptr);
  return (length > 0 && length < MAX_PATH) ? std::string(full) : std::string(path);
}

// A copy of the stand-in hook under a name no build has used, so that the plugin can only find it
// by its exports.
std::string CopyUnderFreshName(const std::string& hook) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string copy = std::string(temp) + "hook_" + std::to_string(GetCurrentProcessId()) +
                           "_" + std::to_string(GetTickCount()) + ".dll";
  return CopyFileA(hook.c_str(), copy.c_str(), FALSE) ? copy : std::string();
}

int Fail(const char* what) {
  std::printf("loader: %s (error %lu)\n", what, GetLastError());
  std::fflush(stdout);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::printf("usage: brimvale-loader <Brimvale.asi> <stand-in hook DLL> <run>\n");
    return 2;
  }
  const std::string plugin = FullPath(argv[1]);
  const std::string mode = argv[3];
  const std::string hookPath = CopyUnderFreshName(FullPath(argv[2]));
  if (hookPath.empty()) return Fail("could not copy the stand-in hook");

  // With no hook in the process the plugin must load and stay idle; the hook comes after it.
  HMODULE early = nullptr;
  if (mode == "inert") {
    early = LoadLibraryA(plugin.c_str());
    if (early == nullptr) return Fail("the plugin did not load without a hook");
  }
  HMODULE hook = LoadLibraryA(hookPath.c_str());
  if (hook == nullptr) return Fail("the stand-in hook did not load");
  auto run = reinterpret_cast<RunFunction>(
      reinterpret_cast<void*>(GetProcAddress(hook, "BrimvaleStandInRun")));
  if (run == nullptr) return Fail("the stand-in hook has no run entry");
  std::printf("loader: hook %s, plugin %s, run %s\n", hookPath.c_str(), plugin.c_str(),
              mode.c_str());
  std::fflush(stdout);
  int code = run(mode.c_str(), plugin.c_str());

  if (early != nullptr && !FreeLibrary(early)) code = Fail("the idle plugin did not unload");
  if (GetModuleHandleA(plugin.c_str()) != nullptr) {
    code = Fail("the plugin is still loaded when the hook is about to go");
  }
  if (!FreeLibrary(hook)) code = Fail("the stand-in hook did not unload");
  DeleteFileA(hookPath.c_str());
  std::printf("loader: %s\n", code == 0 ? "passed" : "failed");
  return code;
}
