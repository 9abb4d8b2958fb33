// The save file: one settings-style file read and written key by key, at the moment a value
// changes. Each subsystem reads and writes its own keys here; the store knows none of them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brimvale {

// Relative to the game's current directory.
extern const char* const kSaveFilePath;

// Every string read goes into a destination of this size, so longer values are cut to 254.
inline constexpr size_t kProfileStringSize = 255;

// An integer as the profile reader parses it: optional sign, digits up to the first non-digit;
// a missing file or key gives `defaultValue`.
int32_t ReadInt(const char* section, const char* key, int32_t defaultValue);
// A string into `out` (kProfileStringSize bytes); `defaultValue` when the key is missing.
void ReadString(const char* section, const char* key, const char* defaultValue,
                char (&out)[kProfileStringSize]);
// True only for exactly "True" or "true".
bool ReadBool(const char* section, const char* key, bool defaultValue);

void WriteBool(const char* section, const char* key, bool value);    // "True" / "False"
void WriteInt(const char* section, const char* key, int32_t value);  // "%d"
// Up to the value's first line break, so that no value can add lines of its own to the file.
// A missing or unusable section or key (empty, a line break, "=" in a key, brackets in a section)
// writes nothing: the file is never asked to delete anything.
void WriteString(const char* section, const char* key, const char* value);

// Floats written as "%f" and read back as atof does in the "C" locale, whatever locale the game
// sets; not a number, NaN or infinity reads 0.0.
float ReadFloat(const char* section, const char* key, float defaultValue);
void WriteFloat(const char* section, const char* key, float value);
// The text WriteFloat stores: "%f" of the value in the "C" locale, exactly ("0.333333",
// "-2.500000").
void FormatFloat(float value, char (&out)[64]);

}  // namespace brimvale
