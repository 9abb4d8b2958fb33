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

float ParseFloat(const char* text) {
  if (*text == '+') ++text;
  float value = 0.0f;
  const auto parsed = std::from_chars(text, text + std::strlen(text), value);
  // Not a number, or one no float holds: the neutral 0.0 rather than a NaN or infinity passed on.
  if (parsed.ec != std::errc{} || !std::isfinite(value)) return 0.0f;
  return value;
}

}  // namespace

// A float is m * 2^e with m below 2^24: its value times a million is exact in 64 bits while e is
// negative, and its whole part fits 128 bits when e is not, so "%f" needs no wider arithmetic (and
// none of the C++ library's general formatting, which would triple the plugin's size).
void FormatFloat(float value, char (&out)[64]) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  char* text = out;
  if (bits >> 31) *text++ = '-';
  const uint32_t biased = bits >> 23 & 0xFF;
  uint32_t mantissa = bits & 0x7FFFFF;
  if (biased == 0xFF) {
    std::strcpy(text, mantissa != 0 ? "nan" : "inf");
    return;
  }
  const int exponent = biased == 0 ? -149 : static_cast<int>(biased) - 150;
  if (biased != 0) mantissa |= 0x800000;

  unsigned __int128 whole = 0;
  uint32_t millionths = 0;
  if (exponent >= 0) {
    whole = static_cast<unsigned __int128>(mantissa) << exponent;
  } else {
    // Rounded to the nearest millionth, a tie to the even one, as printf rounds.
    const uint64_t scaled = uint64_t{mantissa} * 1000000;  // below 2^44
    const int shift = -exponent;
    uint64_t rounded = 0;
    if (shift < 64) {
      rounded = scaled >> shift;
      const uint64_t rest = scaled & ((uint64_t{1} << shift) - 1);
      const uint64_t half = uint64_t{1} << (shift - 1);
      if (rest > half || (rest == half && (rounded & 1) != 0)) ++rounded;
    }
    whole = rounded / 1000000;
    millionths = static_cast<uint32_t>(rounded % 1000000);
  }
  char digits[40];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + static_cast<int>(whole % 10));
    whole /= 10;
  } while (whole != 0);
  while (count > 0)
    *text++ = digits[--count];
  *text++ = '.';
  for (uint32_t unit = 100000; unit > 0; unit /= 10)
    *text++ = static_cast<char>('0' + millionths / unit % 10);
  *text = '\0';
}

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
