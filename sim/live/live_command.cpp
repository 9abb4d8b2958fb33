#include "live/live_command.h"

#include <charconv>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include "live/live_game.h"
#include "live/live_server.h"
#include "live/recorder.h"
#include "player/scenario.h"

namespace brimvale::sim {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
  interrupted = 1;
}

constexpr const char* kUsage =
    R"(usage: brimvale-sim live [--port N] [--listen ADDR] [--scenario NAME | --save FILE] [--seed N]
                          [--plugin FILE] [--record FILE] [--replay FILE [--to FRAME]]

Plays Brimvale in the simulated host in real time (30 game frames a second) and serves it to a
browser: open the address it prints. Ctrl-C stops it.

  --port N         the port (default 8080, or the next free one up to 8099; 0: any free port)
  --listen ADDR    the address to listen on (default 127.0.0.1)
  --scenario NAME  start from that scenario's save instead of a new game
  --save FILE      start from a copy of a player's save file (the file is never changed)
  --seed N         the host's random seed (default 1)
  --plugin FILE    the plugin's shared library, loaded again whenever a new build of it lands
                   (default: libbrimvale.so beside brimvale-sim; without one, the plugin built
                   into brimvale-sim plays and cannot be reloaded)
  --record FILE    keep the session's recording there (default: a new file in
                   out/live/recordings/), for `brimvale-sim replay FILE`
  --replay FILE    start where a recording ends: its input is played again from its start as
                   fast as it goes, then the game goes on live, paused
  --to FRAME       with --replay: stop replaying after this frame of its last game
)";

// A file of its own for each session, named by the time it began.
std::filesystem::path DefaultRecording() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char name[64];
  std::strftime(name, sizeof name, "session-%Y%m%d-%H%M%S", &utc);
  const std::filesystem::path folder = std::filesystem::absolute("out/live/recordings");
  std::filesystem::path path = folder / (std::string(name) + ".jsonl");
  std::error_code ec;
  for (int n = 2; std::filesystem::exists(path, ec); ++n) {
    char numbered[96];
    std::snprintf(numbered, sizeof numbered, "%s-%d.jsonl", name, n);
    path = folder / numbered;
  }
  return path;
}

// libbrimvale.so beside the running brimvale-sim, where the build puts it.
std::string PluginBesideProgram() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "";
  const std::filesystem::path plugin = self.parent_path() / "libbrimvale.so";
  return std::filesystem::exists(plugin, ec) ? plugin.string() : "";
}

int Bad(const std::string& message) {
  std::cerr << "brimvale-sim live: " << message
            << "\n(brimvale-sim live --help lists the options)\n";
  return 2;
}

template <typename T>
bool Number(const std::string& text, T& value) {
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

int RunLiveCommand(int argc, char** argv) {
  LiveOptions options;
  std::string address = "127.0.0.1";
  int port = 8080;
  bool portGiven = false;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg != "--port" && arg != "--listen" && arg != "--scenario" && arg != "--save" &&
        arg != "--seed" && arg != "--plugin" && arg != "--record" && arg != "--replay" &&
        arg != "--to")
      return Bad("unknown option '" + arg + "'");
    if (i + 1 >= argc || std::string(argv[i + 1]).empty()) return Bad(arg + " needs a value");
    const std::string value = argv[++i];
    if (arg == "--port") {
      if (!Number(value, port) || port < 0 || port > 65535)
        return Bad("--port wants a port number from 0 to 65535, not '" + value + "'");
      portGiven = true;
    } else if (arg == "--listen") {
      address = value;
    } else if (arg == "--scenario") {
      if (!FindScenario(value)) return Bad("unknown scenario '" + value + "'");
      options.scenario = value;
    } else if (arg == "--save") {
      std::error_code ec;
      if (!std::filesystem::is_regular_file(value, ec))
        return Bad("cannot read the save file " + value);
      options.save = std::filesystem::absolute(value);
    } else if (arg == "--record") {
      options.record = std::filesystem::absolute(value);
    } else if (arg == "--replay") {
      auto recording = std::make_shared<Recording>();
      RecordingError error;
      if (!ReadRecordingFile(value, *recording, error)) {
        std::string where = "cannot replay " + value;
        if (error.line > 0) where.append(":").append(std::to_string(error.line));
        return Bad(where + ": " + error.why);
      }
      if (recording->start.source != "live")
        return Bad(value + " is a scripted playthrough's recording: brimvale-sim replay plays it");
      options.follow = std::move(recording);
    } else if (arg == "--to") {
      if (!Number(value, options.followTo) || options.followTo < 0)
        return Bad("--to wants a frame number, not '" + value + "'");
    } else if (arg == "--plugin") {
      std::error_code ec;
      if (!std::filesystem::is_regular_file(value, ec))
        return Bad("--plugin wants the plugin's shared library, not '" + value + "'");
      options.plugin = std::filesystem::absolute(value).string();
    } else if (!Number(value, options.seed)) {
      return Bad("--seed wants a whole number from 0 to 4294967295, not '" + value + "'");
    }
  }
  if (options.plugin.empty()) options.plugin = PluginBesideProgram();
  if ((!options.scenario.empty() || options.follow) && !options.save.empty())
    return Bad("--scenario, --save and --replay each say where to start; give one");
  if (options.follow && !options.scenario.empty())
    return Bad("--scenario, --save and --replay each say where to start; give one");
  if (options.followTo >= 0 && !options.follow) return Bad("--to goes with --replay");
  if (options.record.empty()) options.record = DefaultRecording();
  options.build = ThisProgramBuild();
  if (address != "127.0.0.1" && address != "localhost" && address != "::1")
    std::cerr << "warning: listening on " << address
              << ": anyone who can reach this address can play and restart the game\n";

  std::mutex printing;
  options.log = [&printing](const std::string& line) {
    std::lock_guard lock(printing);
    std::cout << line << "\n" << std::flush;
  };
  LiveGame game(options);
  LiveServer server(game);
  int bound = -1;
  for (int tries = 0; bound < 0 && tries < (portGiven ? 1 : 20); ++tries)
    bound = server.Bind(address, port == 0 ? 0 : port + tries);
  if (bound < 0) {
    std::cerr << "brimvale-sim live: cannot listen on " << address << " port " << port
              << (portGiven ? "" : " or the next 19") << "\n";
    return 2;
  }
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  game.Start();
  server.Start();
  const std::string host = address.find(':') != std::string::npos ? "[" + address + "]" : address;
  options.log("Brimvale live: open http://" + host + ":" + std::to_string(bound) +
              "/ (Ctrl-C stops)");
  while (!interrupted && game.Running())
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  options.log("stopping");
  server.Stop();
  game.Stop();
  return 0;
}

}  // namespace brimvale::sim
