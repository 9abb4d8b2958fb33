#include "hook/trace_json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace brimvale::sim {
namespace {

void AppendHex(uint64_t value, int digits, std::string& out) {
  char text[24];
  std::snprintf(text, sizeof text, "\"0x%0*llX\"", digits, static_cast<unsigned long long>(value));
  out += text;
}

void AppendInt(int64_t value, std::string& out) {
  char text[24];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  out.append(text, end);
}

// The shortest text that reads back as the same float.
void AppendFloat(float value, std::string& out) {
  if (!std::isfinite(value)) {
    out += std::isnan(value) ? "\"nan\"" : (value > 0 ? "\"inf\"" : "\"-inf\"");
    return;
  }
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  out.append(text, end);
}

void AppendHash(uint32_t hash, const HashNames& names, std::string& out) {
  if (const std::string* name = names.Find(hash)) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", hash);
    AppendJsonString(*name + " (" + hex + ")", out);
  } else {
    AppendHex(hash, 8, out);
  }
}

// One value of the given form from its slots; returns the slots it took.
size_t AppendValue(ArgForm form, const uint64_t* slots, size_t available, const std::string* text,
                   const HashNames& names, std::string& out) {
  const uint64_t slot = available > 0 ? slots[0] : 0;
  const auto low = static_cast<uint32_t>(slot);
  switch (form) {
    case ArgForm::Int:
    case ArgForm::Handle:
      AppendInt(static_cast<int32_t>(low), out);
      return 1;
    case ArgForm::Bool:
      out += low != 0 ? "true" : "false";
      return 1;
    case ArgForm::Float:
      AppendFloat(SlotFloat(slot), out);
      return 1;
    case ArgForm::Hash:
      AppendHash(low, names, out);
      return 1;
    case ArgForm::String:
    case ArgForm::DisplayString:
      if (text) {
        AppendJsonString(*text, out);
      } else {
        out += slot ? "\"pointer\"" : "null";
      }
      return 1;
    case ArgForm::Pointer:
      // Addresses change from run to run; whether one was passed is what reads.
      out += slot ? "\"pointer\"" : "null";
      return 1;
    case ArgForm::Vector:
      out += '[';
      for (size_t i = 0; i < 3; ++i) {
        if (i) out += ',';
        AppendFloat(SlotFloat(i < available ? slots[i] : 0), out);
      }
      out += ']';
      return 3;
    case ArgForm::None:
      out += "null";
      return 0;
  }
  return 1;
}

}  // namespace

void HashNames::Learn(const TraceEntry& entry) {
  if (entry.hash == HashName.hash && !entry.strings.empty())
    names_.try_emplace(static_cast<uint32_t>(entry.result[0]), entry.strings[0]);
}

void AppendJsonString(std::string_view text, std::string& out) {
  out += '"';
  for (const char ch : text) {
    switch (ch) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(ch) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(ch));
          out += escaped;
        } else {
          out += ch;
        }
    }
  }
  out += '"';
}

void AppendTraceJson(const TraceEntry& entry, const HashNames& names, std::string& line) {
  const NativeInfo* info = FindNative(entry.hash);
  line += "{\"frame\":";
  AppendInt(entry.frame, line);
  line += ",\"native\":";
  AppendJsonString(entry.name, line);
  line += ",\"hash\":";
  AppendHex(entry.hash, 16, line);
  line += ",\"args\":[";
  size_t slot = 0, text = 0;
  bool first = true;
  if (info) {
    for (ArgForm form : info->forms) {
      if (!first) line += ',';
      first = false;
      const bool hasText = form == ArgForm::String || form == ArgForm::DisplayString;
      const std::string* str =
          hasText && text < entry.strings.size() ? &entry.strings[text++] : nullptr;
      const size_t left = slot < entry.args.size() ? entry.args.size() - slot : 0;
      slot += AppendValue(form, entry.args.data() + std::min(slot, entry.args.size()), left, str,
                          names, line);
    }
  }
  // Slots the catalogue does not name (another shape of a shared hash, an unknown native).
  for (; slot < entry.args.size(); ++slot) {
    if (!first) line += ',';
    first = false;
    AppendHex(entry.args[slot], 1, line);
  }
  line += ']';
  if (info && info->result != ArgForm::None) {
    line += ",\"result\":";
    const std::string* str = info->result == ArgForm::DisplayString ? &entry.resultText : nullptr;
    AppendValue(info->result, entry.result, 3, str, names, line);
  }
  line += "}\n";
}

}  // namespace brimvale::sim
