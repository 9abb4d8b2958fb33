// The save store's differential test: the same reads and writes through kernel32 (under Wine) and
// through the portable backend. Every read must give the same result, and every file must come
// out byte for byte the same, except for the differences listed below with their reasons.
//   profile_differential <wine-run command...> <profile_kernel32.exe>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "profile_sequence.h"

namespace {

// Cases whose final file may differ: the portable backend changes only the line of the value it
// writes and keeps the player's own formatting, where kernel32 (as Wine has it) rewrites the whole
// file in its own.
struct FileDifference {
  const char* caseName;
  const char* reason;
};
constexpr FileDifference kIntendedFileDifferences[] = {
    {"quotes and blanks",
     "blanks around '=', a key's indent and other values' blanks stay as the player wrote them; "
     "kernel32 rewrites every line as name=value"},
    {"foreign lines and comments", "blank lines between sections stay; kernel32 drops them"},
    {"LF-only file",
     "a file kept with LF line breaks keeps them for the lines added; kernel32 rewrites every "
     "line break as CRLF"},
    {"a lone CR among LF line breaks",
     "the file's line breaks stay as they are and the line added takes its first one (a CR); "
     "kernel32 rewrites every line break as CRLF"},
    {"a lone CR inside a CRLF line",
     "only the value written changes and the CR after it stays; kernel32 rewrites every line "
     "break as CRLF"},
};

using Transcript = std::map<std::string, std::vector<std::string>>;

// Splits a transcript into its cases, in order of their names; carriage returns that a Windows
// console adds at line ends are dropped.
Transcript Parse(const std::string& text, std::vector<std::string>& order) {
  Transcript cases;
  std::istringstream in(text);
  std::string line, current;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("case ", 0) == 0) {
      current = line.substr(5);
      order.push_back(current);
      cases[current];
    } else if (!current.empty()) {
      cases[current].push_back(line);
    }
  }
  return cases;
}

std::string RunKernel32(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return text;
  char chunk[4096];
  size_t got = 0;
  while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0)
    text.append(chunk, got);
  const int status = pclose(pipe);
  if (status != 0) std::cerr << "kernel32 run ended with status " << status << "\n";
  return text;
}

const char* IntendedReason(const std::string& name) {
  for (const FileDifference& d : kIntendedFileDifferences) {
    if (name == d.caseName) return d.reason;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: profile_differential <wine-run command...> <profile_kernel32.exe>\n";
    return 2;
  }
  std::string command;
  for (int i = 1; i < argc; ++i)
    command += std::string(i > 1 ? " '" : "'") + argv[i] + "'";

  // Both runs play in the same fresh directory, one after the other.
  const auto dir = std::filesystem::temp_directory_path() /
                   ("brimvale_profile_differential_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  std::ostringstream portableText;
  brimvale::differential::RunProfileSequence("/", portableText);
  const std::string kernelText = RunKernel32(command);
  std::filesystem::current_path(dir.parent_path());
  std::filesystem::remove_all(dir);

  std::vector<std::string> order, kernelOrder;
  const Transcript portable = Parse(portableText.str(), order);
  const Transcript kernel32 = Parse(kernelText, kernelOrder);
  if (order != kernelOrder) {
    std::cerr << "the kernel32 run did not play every case:\n" << kernelText << "\n";
    return 1;
  }
  int failures = 0;
  for (const std::string& name : order) {
    const auto& mine = portable.at(name);
    const auto& theirs = kernel32.at(name);
    for (size_t i = 0; i < mine.size() || i < theirs.size(); ++i) {
      const std::string a = i < mine.size() ? mine[i] : "(nothing)";
      const std::string b = i < theirs.size() ? theirs[i] : "(nothing)";
      if (a == b) continue;
      const bool isFile = a.rfind("file -> ", 0) == 0 && b.rfind("file -> ", 0) == 0;
      if (isFile && IntendedReason(name)) {
        std::cout << "case " << name << ": file differs as intended (" << IntendedReason(name)
                  << ")\n  portable: " << a << "\n  kernel32: " << b << "\n";
        continue;
      }
      ++failures;
      std::cout << "case " << name << ": DIFFERS\n  portable: " << a << "\n  kernel32: " << b
                << "\n";
    }
  }
  std::cout << order.size() << " cases, " << failures << " unexpected differences\n";
  return failures == 0 ? 0 : 1;
}
