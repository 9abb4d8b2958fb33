// The profile functions of kernel32, behind the store's backend interface.
#include <windows.h>

#include "save/profile.h"

namespace brimvale {

int32_t ProfileGetInt(const char* section, const char* key, int32_t defaultValue,
                      const char* path) {
  // The result is unsigned only in its type: "-1" comes back as its two's complement.
  return static_cast<int32_t>(GetPrivateProfileIntA(section, key, defaultValue, path));
}

void ProfileGetString(const char* section, const char* key, const char* defaultValue, char* out,
                      size_t outSize, const char* path) {
  if (outSize == 0) return;
  GetPrivateProfileStringA(section, key, defaultValue, out, static_cast<DWORD>(outSize), path);
}

bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
  return WritePrivateProfileStringA(section, key, value, path) != 0;
}

}  // namespace brimvale
