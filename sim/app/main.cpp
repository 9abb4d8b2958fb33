// brimvale-sim: plays the campaign (or a smaller scenario) in the simulated host and writes the
// playthrough's output folder.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <io.h>
#define BRIMVALE_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define BRIMVALE_ISATTY(fd) isatty(fd)
#endif

#include "live/live_command.h"
#include "live/replay.h"
#include "pictures/screen_render.h"
#include "player/playthrough.h"
#include "player/scenario.h"

namespace {

using brimvale::sim::PlayOptions;

constexpr const char* kUsage = R"(usage: brimvale-sim [play] [options]
       brimvale-sim list
       brimvale-sim live [--port N] [--listen ADDR] [--scenario NAME | --save FILE] [--seed N]
       brimvale-sim replay FILE [--to FRAME] [--out DIR] [--shots] [--trace] [--plugin FILE]

Plays the Brimvale campaign in the simulated host as a player would, from an empty save
directory, printing one line per milestone, and writes the output folder: the save file
(Brimvale.ini), every native call (trace.jsonl), screenshots (PNG, 1920x1080) and index.html,
which lays the screenshots out with their milestones. Open index.html in a browser.

options:
  --scenario NAME   what to play (default play):
)";

constexpr const char* kOptions = R"(  --out DIR         the output folder (default out/play/)
  --seed N          the host's random seed (default 1)
  --frame-ms N      the length of a game frame in milliseconds (default 33.333)
  --shots           take screenshots (the default)
  --no-shots        take none
  --trace           write trace.jsonl (the default)
  --no-trace        write none
  --save FILE       start from a copy of a player's save file instead of the scenario's own;
                    the copy changes, the given file never does
  --record FILE     keep the playthrough as a recording that `brimvale-sim replay FILE` plays
                    again, comparing the world with it once a game-second
  --help            this text
  --version         the version of Brimvale this host plays

exit status: 0 played to the end; 1 did not finish or called a native the game does not have;
2 a bad option or a save file that cannot be read.
replay: 0 every digest matched, 1 the world differs (the frame and what differs are printed),
2 a recording it cannot use (its line and why), nothing written.
)";

void PrintUsage(std::ostream& out) {
  out << kUsage;
  for (const auto& s : brimvale::sim::Scenarios())
    out << "                      " << s.name << ": " << s.summary << "\n";
  out << kOptions;
}

int BadUsage(const std::string& message) {
  std::cerr << "brimvale-sim: " << message << "\n(brimvale-sim --help lists the options)\n";
  return 2;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool WriteShot(const brimvale::sim::ScreenFrame& screen, const std::string& path,
               std::string& error) {
  return brimvale::sim::WriteScreenPng(screen, path, error);
}

int Replay(int argc, char** argv) {
  brimvale::sim::ReplayOptions options;
  options.build = brimvale::sim::ThisProgramBuild();
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) return false;
      into = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--shots") {
      options.shots = true;
    } else if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "--out" || arg == "--plugin" || arg == "--to") {
      if (!value(text)) return BadUsage(arg + " needs a value");
      if (arg == "--out") options.out = text;
      if (arg == "--plugin") options.plugin = text, options.build.clear();
      if (arg == "--to" && (!ParseNumber(text, options.to) || options.to < 0))
        return BadUsage("--to wants a frame number, not '" + text + "'");
    } else if (arg.starts_with("-")) {
      return BadUsage("unknown option '" + arg + "'");
    } else if (options.file.empty()) {
      options.file = arg;
    } else {
      return BadUsage("replay takes one recording");
    }
  }
  if (options.file.empty()) return BadUsage("replay needs a recording");
  return brimvale::sim::RunReplay(options, WriteShot, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "live")
    return brimvale::sim::RunLiveCommand(argc - 2, argv + 2);
  if (argc > 1 && std::string_view(argv[1]) == "replay") return Replay(argc - 2, argv + 2);
  std::string record;
  PlayOptions options;
  options.progressBar = BRIMVALE_ISATTY(1) != 0;
  bool list = false, sawCommand = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string value;
    bool hasValue = false;
    if (arg.starts_with("--")) {
      if (const size_t eq = arg.find('='); eq != std::string::npos) {
        value = arg.substr(eq + 1);
        arg.resize(eq);
        hasValue = true;
      }
    }
    auto take = [&](std::string& into) {
      if (!hasValue) {
        if (i + 1 >= argc) return false;
        value = argv[++i];
      }
      into = value;
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      PrintUsage(std::cout);
      return 0;
    } else if (arg == "--version") {
      std::cout << "brimvale-sim " << BRIMVALE_VERSION << "\n";
      return 0;
    } else if (arg == "--shots" || arg == "--no-shots") {
      options.shots = arg == "--shots";
    } else if (arg == "--trace" || arg == "--no-trace") {
      options.trace = arg == "--trace";
    } else if (arg == "--out" || arg == "--scenario" || arg == "--save" || arg == "--seed" ||
               arg == "--frame-ms" || arg == "--record") {
      if (!take(text)) return BadUsage(arg + " needs a value");
      if (text.empty()) return BadUsage(arg + " needs a value");
      if (arg == "--record") record = text;
      if (arg == "--out") options.out = text;
      if (arg == "--save") options.save = text;
      if (arg == "--scenario") {
        if (!brimvale::sim::FindScenario(text)) return BadUsage("unknown scenario '" + text + "'");
        options.scenario = text;
      }
      if (arg == "--seed" && !ParseNumber(text, options.seed))
        return BadUsage("--seed wants a whole number from 0 to 4294967295, not '" + text + "'");
      if (arg == "--frame-ms" && (!ParseNumber(text, options.frameMs) ||
                                  !(options.frameMs >= 1.0 && options.frameMs <= 1000.0)))
        return BadUsage("--frame-ms wants a number of milliseconds from 1 to 1000, not '" + text +
                        "'");
    } else if (!arg.starts_with("-") && !sawCommand && (arg == "play" || arg == "list")) {
      sawCommand = true;
      list = arg == "list";
    } else if (!arg.starts_with("-") && !sawCommand && brimvale::sim::FindScenario(arg)) {
      // A scenario named in place of the command, as older scripts do.
      sawCommand = true;
      options.scenario = arg;
    } else if (arg.starts_with("-")) {
      return BadUsage("unknown option '" + arg + "'");
    } else {
      return BadUsage("unknown command '" + arg + "'");
    }
  }
  if (list) {
    for (const auto& s : brimvale::sim::Scenarios())
      std::cout << "  " << s.name << "  " << s.summary << "\n";
    return 0;
  }
  // The recording's path is taken before the playthrough changes into its game directory.
  std::unique_ptr<brimvale::sim::PlayRecording> recording;
  if (!record.empty()) {
    recording = std::make_unique<brimvale::sim::PlayRecording>(std::filesystem::absolute(record),
                                                               options.seed, options.frameMs,
                                                               brimvale::sim::ThisProgramBuild());
    options.listener = recording.get();
  }
  const int status = brimvale::sim::RunPlaythrough(options, WriteShot, std::cout, std::cerr);
  if (recording && recording->Failed()) {
    std::cerr << "brimvale-sim: cannot write the recording " << record << "\n";
    return 2;
  }
  if (recording) std::cout << "recording " << record << "\n";
  return status;
}
