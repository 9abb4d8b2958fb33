// The DLL entry: finds the script hook among the modules already loaded, or else among the DLL
// files of the game's folder, binds the hook table to its exports, then hands the reason to the
// portable entry logic.
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include "core/entry.h"
#include "core/native/hook.h"
#include "core/native/hook_binding.h"

namespace brimvale {
namespace {

// The hook is normally in the process already, under whatever file name its installer chose,
// loaded by the plugins that import it by name; so it is looked for by what it exports.
constexpr DWORD kMaxModules = 1024;
HMODULE LoadedModules[kMaxModules];

void* FindModuleExport(void* module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

bool BindLoadedHook(HMODULE self) {
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

// Room for the longest path Windows has, in the game's folder and a file name in it.
constexpr DWORD kPathRoom = 32768;
wchar_t GameFolderPath[kPathRoom];

bool EndsWithDll(const wchar_t* name) {
  const size_t length = wcslen(name);
  return length > 4 && _wcsicmp(name + length - 4, L".dll") == 0;
}

bool ReadHandleAt(void* file, uint64_t offset, void* into, size_t length) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  return length <= MAXDWORD &&
         ReadFile(static_cast<HANDLE>(file), into, static_cast<DWORD>(length), &got, &at) &&
         got == length;
}

// Reads the file's headers and export table with plain reads at their offsets: a drive that
// fails mid-read (a network share, a removable disc) fails the read, where a mapped view of the
// file would fault in the game; and a huge file costs no more than a small one. Nothing of it
// runs.
bool FileIsHook(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  const bool hook =
      GetFileSizeEx(file, &size) &&
      DllFileHasHookExports(DllFile{file, static_cast<uint64_t>(size.QuadPart), ReadHandleAt});
  CloseHandle(file);
  return hook;
}

// Brimvale alone, or loaded before the plugins that pull the hook in, finds no hook loaded. The
// game's folder (the executable's) is where the loader would look for a hook imported by name,
// so the first DLL there whose file exports all nine operations is loaded, as that import would
// load it; nothing else of the folder is loaded.
bool LoadAndBindFolderHook() {
  const DWORD length = GetModuleFileNameW(nullptr, GameFolderPath, kPathRoom);
  if (length == 0 || length >= kPathRoom) return false;
  wchar_t* name = wcsrchr(GameFolderPath, L'\\');
  if (name == nullptr) return false;
  ++name;
  const size_t room = static_cast<size_t>(GameFolderPath + kPathRoom - name);  // with the zero
  if (room <= wcslen(L"*.dll")) return false;
  wcscpy(name, L"*.dll");
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(GameFolderPath, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool bound = false;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !EndsWithDll(found.cFileName) ||
        wcslen(found.cFileName) >= room) {
      continue;
    }
    wcscpy(name, found.cFileName);
    if (!FileIsHook(GameFolderPath)) continue;
    // A file that reads whole may still not load (a DLL it needs is missing) or not bind: it is
    // let go, and the next candidate tried.
    HMODULE hook = LoadLibraryW(GameFolderPath);
    if (hook == nullptr) continue;
    void* module = hook;
    bound = BindHookFromModules(&module, 1, FindModuleExport, Hook);
    if (!bound) FreeLibrary(hook);
  } while (!bound && FindNextFileW(search, &found));
  FindClose(search);
  return bound;
}

bool BindScriptHook(HMODULE self) {
  return BindLoadedHook(self) || LoadAndBindFolderHook();
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
