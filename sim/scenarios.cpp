#include <map>

#include "host.h"
#include "scenario.h"

namespace brimvale::sim {
namespace {

void ReportCalls(SimHost& host, std::ostream& out) {
  std::map<std::string, int> counts;
  for (const TraceEntry& entry : host.Trace())
    ++counts[entry.name];
  out << "natives called (" << host.Trace().size() << " calls):\n";
  for (const auto& [name, count] : counts)
    out << "  " << name << " x" << count << "\n";
  out << "unknown natives: " << host.UnknownNatives().size() << "\n";
}

// Loads the plugin, lets it run for ten seconds of game time and unloads it again.
bool RunCampaign(std::ostream& out) {
  SimHost host;
  host.LoadPlugin();
  host.RunFrames(300);
  out << "frames: " << host.Frame() << ", game time: " << host.GameTime() << " ms\n";
  ReportCalls(host, out);
  host.UnloadPlugin();
  out << "hook operations:";
  for (const std::string& op : host.HookLog())
    out << " " << op;
  out << "\n";
  return host.UnknownNatives().empty();
}

}  // namespace

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> all = {
      {"campaign", "load the plugin and play the campaign from a fresh save", RunCampaign},
  };
  return all;
}

const Scenario* FindScenario(const std::string& name) {
  for (const Scenario& s : Scenarios()) {
    if (name == s.name) return &s;
  }
  return nullptr;
}

}  // namespace brimvale::sim
