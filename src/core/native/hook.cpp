#include "core/native/hook.h"

namespace brimvale {

ScriptHookApi Hook;
PlatformApi Platform = DefaultPlatform();

}  // namespace brimvale
