// Every value is one read or one write of the profile file; nothing is cached, so the file is
// always what a fresh start would load.
#include "save/store.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "save/profile.h"

namespace brimvale {

// The leading ".\" keeps the Windows functions in the current directory; a bare file name would
// send them to the Windows directory.
#ifdef _WIN32
const char* const kSaveFilePath = ".\\Brimvale.ini";
#else
const char* const kSaveFilePath = "./Brimvale.ini";
#endif

namespace {

// A missing key or section would make the Windows functions list or delete whole sections, and a
// line break or bracket in a name would write a line that reads back as something else.
bool UsableName(const char* name, const char* forbidden) {
  return name && *name && !std::strpbrk(name, forbidden);
}

bool UsableSectionAndKey(const char* section, const char* key) {
  return UsableName(section, "\r\n[]") && UsableName(key, "\r\n=");
}

// The file keeps one value per line: a value is written up to its first line break, so no value
// can add lines (or keys) of its own.
void WriteValue(const char* section, const char* key, const char* value) {
  if (!UsableSectionAndKey(section, key) || !value) return;
  const size_t length = std::strcspn(value, "\r\n");
  if (value[length] == '\0') {
    ProfileWriteString(section, key, value, kSaveFilePath);
    return;
  }
  const std::string firstLine(value, length);
  ProfileWriteString(section, key, firstLine.c_str(), kSaveFilePath);
}

// "%f" and atof without the process locale, which the game may set: the file always holds a
// decimal point, whichever language the game runs in.
void FormatFloat(float value, char (&out)[64]) {
  const auto written = std::to_chars(out, out + sizeof out - 1, value, std::chars_format::fixed, 6);
  *(written.ec == std::errc{} ? written.ptr : out) = '\0';
}

float ParseFloat(const char* text) {
  if (*text == '+') ++text;
  float value = 0.0f;
  const auto parsed = std::from_chars(text, text + std::strlen(text), value);
  // Not a number, or one no float holds: the neutral 0.0 rather than a NaN or infinity passed on.
  if (parsed.ec != std::errc{} || !std::isfinite(value)) return 0.0f;
  return value;
}

}  // namespace

int32_t ReadInt(const char* section, const char* key, int32_t defaultValue) {
  if (!UsableSectionAndKey(section, key)) return defaultValue;
  return ProfileGetInt(section, key, defaultValue, kSaveFilePath);
}

void ReadString(const char* section, const char* key, const char* defaultValue,
                char (&out)[kProfileStringSize]) {
  if (!UsableSectionAndKey(section, key)) {
    std::snprintf(out, sizeof out, "%s", defaultValue ? defaultValue : "");
    return;
  }
  ProfileGetString(section, key, defaultValue, out, sizeof out, kSaveFilePath);
}

bool ReadBool(const char* section, const char* key, bool defaultValue) {
  char text[kProfileStringSize];
  ReadString(section, key, defaultValue ? "True" : "False", text);
  return std::strcmp(text, "True") == 0 || std::strcmp(text, "true") == 0;
}

void WriteBool(const char* section, const char* key, bool value) {
  WriteValue(section, key, value ? "True" : "False");
}

void WriteInt(const char* section, const char* key, int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  WriteValue(section, key, text);
}

void WriteString(const char* section, const char* key, const char* value) {
  WriteValue(section, key, value);
}

float ReadFloat(const char* section, const char* key, float defaultValue) {
  char fallback[64];
  FormatFloat(defaultValue, fallback);
  char text[kProfileStringSize];
  ReadString(section, key, fallback, text);
  return ParseFloat(text);
}

void WriteFloat(const char* section, const char* key, float value) {
  char text[64];
  FormatFloat(value, text);
  WriteValue(section, key, text);
}

}  // namespace brimvale
