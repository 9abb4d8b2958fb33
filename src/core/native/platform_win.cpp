// On Windows the operating-system services are kernel32's own.
#include <windows.h>

#include "core/native/hook.h"

namespace brimvale {
namespace {

uint32_t Kernel32TickCount() {
  return GetTickCount();
}

void Kernel32FreeConsole() {
  FreeConsole();
}

}  // namespace

PlatformApi DefaultPlatform() {
  return {Kernel32TickCount, Kernel32FreeConsole};
}

}  // namespace brimvale
