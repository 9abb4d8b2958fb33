// The real DLL and the Linux build make the same calls: the campaign scenario played with the
// same seed on Brimvale.asi under Wine (through the stand-in hook) and on the Linux build, and the
// two traces compared call for call. Pointers the catalogue names read as "pointer" in a trace; a
// slot it does not name prints as hex, and there an address of each side's own heap stands for an
// address of the other's. Anything else that differs is a difference between the two builds, and
// the first one is named.
//   trace_differential <folder> <scenario> <wine-run command...> <loader.exe> <plugin> <hook>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "player/playthrough.h"

// The Windows C runtime's generator in place of the C library's in this program: the plugin draws
// a ped's trait value from rand(), as the game's runtime deals it, and the Linux run must be dealt
// the same numbers for the two runs to make the same calls. The host seeds it as the game would.
namespace {
uint32_t windowsRandState = 1;
}  // namespace

extern "C" void srand(unsigned seed) noexcept {
  windowsRandState = seed;
}

extern "C" int rand() noexcept {
  windowsRandState = windowsRandState * 214013u + 2531011u;
  return static_cast<int>((windowsRandState >> 16) & 0x7FFF);
}

namespace {

namespace fs = std::filesystem;

// A Linux path as Wine's programs name it: on drive Z:, with backslashes.
std::string WinePath(const fs::path& path) {
  std::string text = "Z:" + fs::absolute(path).string();
  for (char& ch : text)
    if (ch == '/') ch = '\\';
  return text;
}

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char ch : text)
    out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return out + "'";
}

// A hex slot as the trace prints it, quotes included.
const std::regex kHexSlot("\"0x([0-9A-F]+)\"");

// Below the top of a process's user space on both systems; Linux puts its heaps above 4 GiB (nine
// digits and more), Windows anywhere above the first 64 KiB. A sign-extended value lies above both.
constexpr unsigned long long kUserSpaceTop = 0x800000000000ULL;

bool LinuxAddress(const std::string& digits) {
  if (digits.size() < 9 || digits.size() > 12) return false;
  return std::stoull(digits, nullptr, 16) < kUserSpaceTop;
}

bool WindowsAddress(const std::string& digits) {
  if (digits.size() > 12) return false;
  const unsigned long long value = std::stoull(digits, nullptr, 16);
  return value >= 0x10000 && value < kUserSpaceTop;
}

// The line cut at its hex slots: text, digits, text, digits, ..., text.
std::vector<std::string> Pieces(const std::string& line) {
  std::vector<std::string> pieces;
  size_t from = 0;
  for (std::sregex_iterator it(line.begin(), line.end(), kHexSlot), end; it != end; ++it) {
    pieces.push_back(line.substr(from, it->position() - from));
    pieces.push_back((*it)[1]);
    from = it->position() + it->length();
  }
  pieces.push_back(line.substr(from));
  return pieces;
}

// The same call, but for each side's addresses in the slots the catalogue does not name.
bool SameCall(const std::string& onWindows, const std::string& onLinux) {
  if (onWindows == onLinux) return true;
  const std::vector<std::string> a = Pieces(onWindows), b = Pieces(onLinux);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const bool digits = i % 2 == 1;
    if (a[i] != b[i] && !(digits && WindowsAddress(a[i]) && LinuxAddress(b[i]))) return false;
  }
  return true;
}

// The call a trace line names, for the report: its frame and native.
std::string Describe(const std::string& line) {
  const size_t native = line.find("\"native\":\"");
  const size_t frame = line.find("\"frame\":");
  if (native == std::string::npos || frame == std::string::npos) return line;
  const size_t nameEnd = line.find('"', native + 10);
  return line.substr(native + 10, nameEnd - native - 10) + " in frame " +
         line.substr(frame + 8, line.find(',', frame) - frame - 8);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7) {
    std::cerr << "usage: trace_differential <folder> <scenario> <wine-run command...> <loader.exe> "
                 "<plugin> <hook>\n";
    return 2;
  }
  const fs::path folder = fs::absolute(argv[1]);
  const std::string scenario = argv[2];
  const fs::path windowsOut = folder / "windows", linuxOut = folder / "linux";
  fs::remove_all(folder);
  fs::create_directories(windowsOut);

  // The real DLL under Wine: the loader's last argument is the stand-in's run.
  std::string command;
  for (int i = 3; i < argc; ++i)
    command += Quoted(argv[i]) + " ";
  command += Quoted("trace:" + scenario + ":" + WinePath(windowsOut)) + " > " +
             Quoted((folder / "wine.log").string()) + " 2>&1";
  const int wine = std::system(command.c_str());

  // The same scenario and seed on the Linux build, in this process.
  brimvale::sim::PlayOptions options;
  options.scenario = scenario;
  options.out = linuxOut;
  options.shots = false;
  std::ostringstream lines;
  const int linuxExit = brimvale::sim::RunPlaythrough(options, nullptr, lines, std::cerr);
  if (wine != 0) {
    std::cout << "the run under Wine did not finish (status " << wine << "):\n"
              << std::ifstream(folder / "wine.log").rdbuf() << "\n";
    return 1;
  }
  if (linuxExit != 0) {
    std::cout << "the Linux run did not finish (exit " << linuxExit << "):\n" << lines.str();
    return 1;
  }

  std::ifstream windowsTrace(windowsOut / "trace.jsonl"), linuxTrace(linuxOut / "trace.jsonl");
  if (!windowsTrace || !linuxTrace) {
    std::cout << "a trace is missing: " << (windowsOut / "trace.jsonl").string() << ", "
              << (linuxOut / "trace.jsonl").string() << "\n";
    return 1;
  }
  std::string previous, onWindows, onLinux;
  for (long long line = 1;; ++line) {
    const bool moreWindows = static_cast<bool>(std::getline(windowsTrace, onWindows));
    const bool moreLinux = static_cast<bool>(std::getline(linuxTrace, onLinux));
    if (!moreWindows && !moreLinux) {
      std::cout << "the traces match: " << line - 1 << " lines of " << scenario << "\n";
      return 0;
    }
    if (!moreWindows) onWindows = "(the trace ends)";
    if (!moreLinux) onLinux = "(the trace ends)";
    if (!onWindows.empty() && onWindows.back() == '\r') onWindows.pop_back();
    if (!SameCall(onWindows, onLinux)) {
      std::cout << "the traces differ first at line " << line << ", "
                << Describe(moreLinux ? onLinux : onWindows) << "\n  Windows: " << onWindows
                << "\n  Linux:   " << onLinux << "\n  after:   " << previous << "\n";
      return 1;
    }
    previous = onLinux;
  }
}
