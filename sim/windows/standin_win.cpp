// What the loader asks of the stand-in hook once it is loaded: play a scenario against the real
// plugin, check that the plugin binds and unbinds in order (or, loaded before the hook, that it
// bound early), or watch a plugin that found no hook.
#include <windows.h>

#include <iostream>
#include <thread>

#include "hook/game_directory.h"
#include "hook/host.h"
#include "hook/plugin_link.h"
#include "player/playthrough.h"
#include "player/scenario.h"

namespace brimvale::sim {
namespace {

bool Check(bool ok, const char* what) {
  std::cout << (ok ? "  ok: " : "  FAILED: ") << what << "\n";
  return ok;
}

using Ops = std::vector<std::string>;

// The registered script runs on the hook's fibre, draws the creator's blip and takes keyboard
// messages from another thread.
bool CheckScriptRuns(SimHost& host) {
  host.RunFrames(120);
  bool ok = Check(host.ScriptRunning(), "the script runs on the hook's fibre");
  ok &= Check(host.world.blips.Named("Brimvale - Create Character") != nullptr,
              "the creator's blip is on the map");
  std::thread input([&host] {
    for (uint32_t key : {0x45u, 0x0Du, 254u, 255u, 1000u})
      host.SendKey(key, 0, 0, 0);
  });
  input.join();
  host.RunFrames(5);
  ok &= Check(host.UnknownNatives().empty(), "every native the plugin called is known");
  return ok;
}

// The plugin registers with the hook on load, runs its script, and on unload unregisters in order
// and leaves the process.
bool CheckBinding(const std::string& pluginPath) {
  GameDirectory game("brimvale_wine_bind");
  SimHost host;
  host.LoadPlugin();
  bool ok = Check(host.HookLog() == Ops{"scriptRegister", "keyboardHandlerRegister"},
                  "attach registered the script, then the keyboard handler");
  ok &= CheckScriptRuns(host);
  host.UnloadPlugin();
  ok &= Check(host.HookLog() == Ops{"scriptRegister", "keyboardHandlerRegister", "scriptUnregister",
                                    "keyboardHandlerUnregister"},
              "detach unregistered the script, then the keyboard handler");
  ok &= Check(!host.ScriptRunning(), "the script has stopped");
  ok &= Check(GetModuleHandleA(pluginPath.c_str()) == nullptr, "the plugin left the process");
  return ok;
}

// The plugin came into the process alone and loaded this hook from the game's folder itself, so
// it registered before there was a host; a host that loads it takes the registrations over.
bool CheckEarlyBinding(const std::string& pluginPath) {
  GameDirectory game("brimvale_wine_early");
  bool ok = Check(GetModuleHandleA(pluginPath.c_str()) != nullptr,
                  "the plugin was in the process before the hook had a host");
  SimHost host;
  host.LoadPlugin();
  ok &= Check(host.HookLog() == Ops{"scriptRegister", "keyboardHandlerRegister"},
              "it had registered the script, then the keyboard handler");
  ok &= CheckScriptRuns(host);
  host.UnloadPlugin();
  ok &= Check(!host.ScriptRunning(), "the script has stopped");
  return ok;
}

// The plugin was loaded before any hook was there: it must have bound nothing, not even now.
bool CheckInert() {
  SimHost host;
  host.RunFrames(60);
  bool ok = Check(host.HookLog().empty(), "the plugin registered nothing with the hook");
  ok &= Check(host.Trace().empty(), "the plugin called no native");
  return ok;
}

// "trace:<scenario>:<folder>": the playthrough of the scenario, its trace written to the folder as
// the Linux build writes it, for the two to be compared call for call.
bool PlayTraced(const std::string& run) {
  const size_t colon = run.find(':');
  if (colon == std::string::npos) return false;
  PlayOptions options;
  options.scenario = run.substr(0, colon);
  options.out = run.substr(colon + 1);
  options.shots = false;
  return RunPlaythrough(options, nullptr, std::cout, std::cout) == 0;
}

}  // namespace
}  // namespace brimvale::sim

// 0 when the run did what it should; the loader passes on the code as its own.
extern "C" int BrimvaleStandInRun(const char* mode, const char* pluginPath) {
  using namespace brimvale::sim;
  SetPluginPath(pluginPath ? pluginPath : "");
  const std::string name = mode ? mode : "";
  bool ok = false;
  try {
    if (name == "bind") {
      ok = CheckBinding(pluginPath ? pluginPath : "");
    } else if (name == "early") {
      ok = CheckEarlyBinding(pluginPath ? pluginPath : "");
    } else if (name == "inert") {
      ok = CheckInert();
    } else if (name.rfind("trace:", 0) == 0) {
      ok = PlayTraced(name.substr(6));
    } else if (const Scenario* scenario = FindScenario(name)) {
      std::cout << "scenario " << scenario->name << ": " << scenario->summary << "\n";
      ok = PlayScenario(*scenario, HostConfig{}, std::cout);
    } else {
      std::cout << "unknown run '" << name << "'\n";
    }
  } catch (const std::exception& error) {
    std::cout << "stopped: " << error.what() << "\n";
    ok = false;
  }
  std::cout << (ok ? "run finished" : "run did not finish") << std::endl;
  return ok ? 0 : 1;
}
