// Off Windows the operating-system services have plain stand-ins; a host may replace them.
#include <chrono>

#include "core/native/hook.h"

namespace brimvale {
namespace {

uint32_t SteadyTickCount() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void NoConsole() {}

}  // namespace

PlatformApi DefaultPlatform() {
  return {SteadyTickCount, NoConsole};
}

}  // namespace brimvale
