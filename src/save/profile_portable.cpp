// The private-profile reader and writer where kernel32 is not there: the same reads as the Windows
// functions, and writes that change only the one value and replace the file in one step.
#include "save/profile_portable.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "save/profile.h"

namespace brimvale {
namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char LowerAscii(char ch) {
  return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// A line ends at LF, at CR LF, or at a CR alone: kernel32 reads a file whose lines end in CR alone
// line by line too.
constexpr std::string_view kLineBreaks = "\r\n";

// The start of the first line from `from` on whose first character other than a blank is '[';
// npos when there is none.
size_t NextSectionLine(std::string_view text, size_t from) {
  for (size_t bracket = text.find('[', from); bracket != std::string_view::npos;
       bracket = text.find('[', bracket + 1)) {
    const size_t newline =
        bracket == from ? std::string_view::npos : text.find_last_of(kLineBreaks, bracket - 1);
    size_t lineStart = newline == std::string_view::npos ? 0 : newline + 1;
    if (lineStart < from) lineStart = from;
    // Blanks before the bracket, but not a CR: that one ended the line before.
    if (text.substr(lineStart, bracket - lineStart).find_first_not_of(" \t\v\f") ==
        std::string_view::npos) {
      return lineStart;
    }
    // Not a section line: go on after its end.
    const size_t lineEnd = text.find_first_of(kLineBreaks, bracket);
    if (lineEnd == std::string_view::npos) return std::string_view::npos;
    bracket = lineEnd;
  }
  return std::string_view::npos;
}

// Where a key stands in the file text, or where it would go.
struct KeyLookup {
  bool sectionFound = false;
  size_t insertAt = 0;            // just after the first matching section's last key line
  bool insertNeedsBreak = false;  // that line is the file's last and has no line break
  bool keyFound = false;
  size_t valueBegin = 0;  // the raw text after '=' up to the line break
  size_t valueEnd = 0;
};

// Sections and keys are matched trimmed and without regard to case. As in kernel32, only the
// first section of a name counts, for reads and writes alike, lines before any section belong to
// the section with the empty name, and a line is a key line when it has a name before '=' (a
// line starting with ';' too). Other lines (blanks, other text) are never touched.
KeyLookup FindKey(std::string_view text, std::string_view section, std::string_view key) {
  KeyLookup found;
  bool inSection = section.empty();
  bool inFirstSection = false;
  size_t begin = 0;
  while (begin < text.size()) {
    // Outside a matching section only section lines matter: jump to the next line that opens
    // one, so that a file of megabytes costs a few scans per read instead of a pass per line.
    if (!inSection) {
      begin = NextSectionLine(text, begin);
      if (begin == std::string_view::npos) break;
    }
    const size_t lineBreak = text.find_first_of(kLineBreaks, begin);
    const bool hasBreak = lineBreak != std::string_view::npos;
    const size_t contentEnd = hasBreak ? lineBreak : text.size();
    size_t end = text.size();
    if (hasBreak) {
      const bool crlf =
          text[lineBreak] == '\r' && lineBreak + 1 < text.size() && text[lineBreak + 1] == '\n';
      end = lineBreak + (crlf ? 2 : 1);
    }
    const std::string_view line = text.substr(begin, contentEnd - begin);
    const std::string_view trimmed = Trim(line);

    if (!trimmed.empty() && trimmed.front() == '[') {
      const size_t close = trimmed.find(']');
      const std::string_view name =
          Trim(trimmed.substr(1, close == std::string_view::npos ? close : close - 1));
      inSection = SameName(name, section) && !found.sectionFound;
      inFirstSection = inSection;
      if (inFirstSection) {
        found.sectionFound = true;
        found.insertAt = end;
        found.insertNeedsBreak = !hasBreak;
      }
    } else if (inSection && !trimmed.empty()) {
      const size_t equals = line.find('=');
      if (equals != std::string_view::npos && !Trim(line.substr(0, equals)).empty()) {
        if (inFirstSection) {
          found.insertAt = end;
          found.insertNeedsBreak = !hasBreak;
        }
        if (SameName(Trim(line.substr(0, equals)), key)) {
          found.keyFound = true;
          found.valueBegin = begin + equals + 1;
          found.valueEnd = contentEnd;
          return found;
        }
      }
    }
    begin = end;
  }
  return found;
}

// A value as the Windows reader gives it: trimmed, and without one pair of enclosing quotes.
std::string_view ValueText(std::string_view raw) {
  std::string_view value = Trim(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// An integer as kernel32 reads one: optional sign, then a "0x", "0o" or "0b" prefix for hex, octal
// or binary, else decimal; digits up to the first that does not belong to the base.
int32_t ParseProfileInt(std::string_view value) {
  size_t at = 0;
  const bool negative = at < value.size() && value[at] == '-';
  if (at < value.size() && (value[at] == '-' || value[at] == '+')) ++at;
  uint32_t base = 10;
  if (value.size() - at >= 2 && value[at] == '0') {
    const char mark = value[at + 1];
    base = mark == 'x' ? 16 : mark == 'o' ? 8 : mark == 'b' ? 2 : 10;
    if (base != 10) at += 2;
  }
  // Unsigned and wrapping, as the Windows reader accumulates: no overflow whatever the digits.
  uint32_t number = 0;
  for (; at < value.size(); ++at) {
    const char ch = LowerAscii(value[at]);
    const uint32_t digit = (ch >= '0' && ch <= '9')   ? static_cast<uint32_t>(ch - '0')
                           : (ch >= 'a' && ch <= 'z') ? static_cast<uint32_t>(ch - 'a' + 10)
                                                      : 99u;
    if (digit >= base) break;
    number = number * base + digit;
  }
  if (negative) number = 0u - number;
  return static_cast<int32_t>(number);
}

enum class ReadResult { kRead, kMissing, kFailed };

ReadResult ReadWholeFile(const char* path, std::string& text) {
  text.clear();
  std::FILE* file = std::fopen(path, "rb");
  if (!file) {
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    return (exists || error) ? ReadResult::kFailed : ReadResult::kMissing;
  }
  // Straight into one buffer of the file's size: a save of megabytes is read on every value.
  std::error_code sizeError;
  const uintmax_t expected = std::filesystem::file_size(path, sizeError);
  size_t got = 0;
  if (!sizeError && expected > 0 && expected < text.max_size()) {
    text.resize(static_cast<size_t>(expected));
    got = std::fread(text.data(), 1, text.size(), file);
    text.resize(got);
  }
  // The rest, for a file that grew meanwhile or whose size is not known in advance.
  char chunk[4096];
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    text.append(chunk, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? ReadResult::kFailed : ReadResult::kRead;
}

// New lines follow the file's own line ending, so a file kept with LF (or CR) alone stays so; a
// file without any line break gets CRLF, as kernel32 writes a new file.
std::string_view LineBreakOf(std::string_view text) {
  const size_t lineBreak = text.find_first_of(kLineBreaks);
  if (lineBreak == std::string_view::npos) return "\r\n";
  if (text[lineBreak] == '\n') return "\n";
  return (lineBreak + 1 < text.size() && text[lineBreak + 1] == '\n') ? "\r\n" : "\r";
}

std::string RewriteProfileText(std::string_view text, std::string_view section,
                               std::string_view key, std::string_view value) {
  const KeyLookup found = FindKey(text, section, key);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
  if (found.keyFound) {
    // The key's own spelling and the blanks after '=' stay; only the value changes.
    size_t replaceFrom = found.valueBegin;
    const std::string_view raw = text.substr(found.valueBegin, found.valueEnd - found.valueBegin);
    if (!Trim(raw).empty()) replaceFrom += raw.find_first_not_of(kBlanks);
    out.append(text.substr(0, replaceFrom));
    out.append(value);
    out.append(text.substr(found.valueEnd));
    return out;
  }
  const std::string_view lineBreak = LineBreakOf(text);
  if (found.sectionFound) {
    out.append(text.substr(0, found.insertAt));
    if (found.insertNeedsBreak) out.append(lineBreak);
    out.append(key).append("=").append(value).append(lineBreak);
    out.append(text.substr(found.insertAt));
    return out;
  }
  out.append(text);
  if (!out.empty() && out.back() != '\n' && out.back() != '\r') out.append(lineBreak);
  out.append("[").append(section).append("]").append(lineBreak);
  out.append(key).append("=").append(value).append(lineBreak);
  return out;
}

void CopyCut(std::string_view text, char* out, size_t outSize) {
  if (outSize == 0) return;
  const size_t length = text.size() < outSize - 1 ? text.size() : outSize - 1;
  if (length > 0) std::memcpy(out, text.data(), length);
  out[length] = '\0';
}

// Finds the value of a key; false when the file, section or key is missing.
bool LookUp(const char* section, const char* key, const char* path, std::string& text,
            std::string_view& value) {
  if (!section || !key || !path) return false;
  if (ReadWholeFile(path, text) != ReadResult::kRead) return false;
  const KeyLookup found = FindKey(text, Trim(section), Trim(key));
  if (!found.keyFound) return false;
  value =
      ValueText(std::string_view(text).substr(found.valueBegin, found.valueEnd - found.valueBegin));
  return true;
}

}  // namespace

std::string ProfileTempPath(const char* path) {
  return std::string(path) + ".tmp";
}

bool WriteProfileTemp(const char* path, std::string_view text) {
  const std::string temp = ProfileTempPath(path);
  std::FILE* file = std::fopen(temp.c_str(), "wb");  // truncates what a crash left behind
  if (!file) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

int32_t ProfileGetInt(const char* section, const char* key, int32_t defaultValue,
                      const char* path) {
  std::string text;
  std::string_view value;
  if (!LookUp(section, key, path, text, value) || value.empty()) return defaultValue;
  return ParseProfileInt(value);
}

void ProfileGetString(const char* section, const char* key, const char* defaultValue, char* out,
                      size_t outSize, const char* path) {
  std::string text;
  std::string_view value;
  if (LookUp(section, key, path, text, value)) {
    CopyCut(value, out, outSize);
    return;
  }
  // The Windows reader drops trailing blanks of the default as well.
  std::string_view fallback = defaultValue ? defaultValue : "";
  const size_t last = fallback.find_last_not_of(kBlanks);
  fallback = fallback.substr(0, last == std::string_view::npos ? 0 : last + 1);
  CopyCut(fallback, out, outSize);
}

bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
  if (!section || !key || !value || !path) return false;
  std::string text;
  const ReadResult read = ReadWholeFile(path, text);
  // A file that is there but cannot be read is left alone rather than replaced by one key.
  if (read == ReadResult::kFailed) return false;
  const std::string updated = RewriteProfileText(text, Trim(section), Trim(key), value);
  if (!WriteProfileTemp(path, updated)) return false;

  const std::string temp = ProfileTempPath(path);
  std::error_code ignored;
  if (read == ReadResult::kRead) {
    std::filesystem::permissions(temp, std::filesystem::status(path, ignored).permissions(),
                                 ignored);
  }
  // The rename replaces the file in one step: a reader or a crash sees the old text or the new.
  if (std::rename(temp.c_str(), path) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace brimvale
