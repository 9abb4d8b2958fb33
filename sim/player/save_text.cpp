#include "player/save_text.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace brimvale::sim {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
    s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
    s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

bool ReadStartSave(const std::filesystem::path& path, std::string& text, std::string& error) {
  std::error_code ec;
  const std::string cannot = "cannot read the save file " + path.string();
  if (!std::filesystem::is_regular_file(path, ec)) {
    error =
        cannot + ": " + (std::filesystem::exists(path, ec) ? "not a regular file" : "no such file");
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  if (in) buffer << in.rdbuf();
  if (!in || in.bad()) {
    error = cannot;
    return false;
  }
  text = buffer.str();
  return true;
}

std::vector<SaveEntry> ParseSaveText(std::string_view text) {
  std::vector<SaveEntry> entries;
  std::string section;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.starts_with('[') && line.ends_with(']')) {
      section = std::string(Trim(line.substr(1, line.size() - 2)));
    } else if (const size_t eq = line.find('='); eq != std::string_view::npos && !section.empty()) {
      entries.push_back(
          {section, std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1)))});
    }
  }
  return entries;
}

std::string ReadSaveValue(std::string_view text, std::string_view section, std::string_view key) {
  for (const SaveEntry& e : ParseSaveText(text)) {
    if (SameName(e.section, section) && SameName(e.key, key)) return e.value;
  }
  return {};
}

}  // namespace brimvale::sim
