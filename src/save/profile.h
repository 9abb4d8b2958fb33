// The private-profile functions the save file store stands on: one call per value, each opening,
// reading or rewriting the whole file. kernel32 provides them on Windows; profile_portable.cpp
// provides the same behaviour elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brimvale {

// The value of `key` in `section` parsed as an integer (blanks, optional sign, a "0x", "0o" or
// "0b" prefix or none, digits up to the first that is not one); `defaultValue` when the file,
// section or key is missing or the value empty.
int32_t ProfileGetInt(const char* section, const char* key, int32_t defaultValue, const char* path);

// The value of `key` into `out` (`outSize` bytes, always zero-terminated, cut to outSize - 1);
// `defaultValue` when the file, section or key is missing.
void ProfileGetString(const char* section, const char* key, const char* defaultValue, char* out,
                      size_t outSize, const char* path);

// Sets `key` in `section` to `value`, creating the file, the section and the key as needed and
// keeping every other line of the file as it was. False when the file could not be written.
bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path);

}  // namespace brimvale
