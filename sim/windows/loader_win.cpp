// brimvale-loader: the game process in miniature. Loads the stand-in hook under a file name of its
// own, then the plugin, lets the stand-in play a run, and unloads the plugin before the hook.
//   brimvale-loader <Brimvale.asi> <stand-in hook DLL> <bind | inert | scenario name>
// With --folder it loads the plugin alone: the game's folder is the loader's own, and the plugin
// must load the one DLL of it named (or none) and no other, then the run plays through that hook.
//   brimvale-loader --folder <Brimvale.asi> <hook file name | none> <early | scenario name>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

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

std::string GameFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// The full paths of the folder's files whose names end in .dll, directories among them.
std::vector<std::string> FolderDlls(const std::string& folder) {
  std::vector<std::string> paths;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.dll").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return paths;
  do {
    paths.push_back(folder + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return paths;
}

// Which of the folder's DLLs are in the process: exactly `expected` (a full path, or empty for
// none) must be.
bool OnlyLoaded(const std::vector<std::string>& dlls, const std::string& expected, bool say) {
  bool ok = true;
  for (const std::string& dll : dlls) {
    const bool loaded = GetModuleHandleA(dll.c_str()) != nullptr;
    if (say) std::printf("loader: %s %s\n", dll.c_str(), loaded ? "is loaded" : "is not loaded");
    ok &= loaded == (dll == expected);
  }
  return ok;
}

int RunFromFolder(const std::string& plugin, const std::string& hookName, const std::string& mode) {
  const std::string folder = GameFolder();
  const std::string expected = hookName == "none" ? std::string() : folder + hookName;
  const std::vector<std::string> dlls = FolderDlls(folder);
  if (!OnlyLoaded(dlls, std::string(), false))
    return Fail("a DLL of the folder was loaded already");
  HMODULE self = LoadLibraryA(plugin.c_str());
  if (self == nullptr) return Fail("the plugin did not load");
  std::printf("loader: plugin %s loaded alone from %s\n", plugin.c_str(), folder.c_str());
  if (!OnlyLoaded(dlls, expected, true)) return Fail("the plugin loaded other DLLs than the hook");
  int code = 0;
  if (!expected.empty()) {
    auto run = reinterpret_cast<RunFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA(expected.c_str()), "BrimvaleStandInRun")));
    if (run == nullptr) return Fail("the hook the plugin loaded has no run entry");
    std::fflush(stdout);
    code = run(mode.c_str(), plugin.c_str());
  }
  if (!FreeLibrary(self)) code = Fail("the plugin did not unload");
  if (GetModuleHandleA(plugin.c_str()) != nullptr) code = Fail("the plugin is still loaded");
  std::printf("loader: %s\n", code == 0 ? "passed" : "failed");
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--folder") {
    return RunFromFolder(FullPath(argv[2]), argv[3], argv[4]);
  }
  if (argc != 4) {
    std::printf(
        "usage: brimvale-loader <Brimvale.asi> <stand-in hook DLL> <run>\n"
        "       brimvale-loader --folder <Brimvale.asi> <hook file name | none> <run>\n");
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
