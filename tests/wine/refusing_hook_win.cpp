// A DLL whose file reads as a whole hook but that refuses to load (as one whose own DLLs are
// missing would): a plugin that looks for the hook in the game folder must go on to the next.
#include <windows.h>

extern "C" void RefusingHookOperation() {}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  return reason != DLL_PROCESS_ATTACH;
}
