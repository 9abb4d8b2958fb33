// One line of trace.jsonl per native call: the frame, the role name, the hash, the arguments read
// by the catalogue's forms and the result, so a developer can follow what the plugin asked of the
// game with any JSON tool.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "hook/host.h"

namespace brimvale::sim {

// Name hashes the game was asked for by name (HashName), so that traced hashes read as names.
class HashNames {
 public:
  void Learn(const TraceEntry& entry);
  const std::string* Find(uint32_t hash) const {
    auto it = names_.find(hash);
    return it == names_.end() ? nullptr : &it->second;
  }

 private:
  std::unordered_map<uint32_t, std::string> names_;
};

// Each call the host traced since the last drain, handed to `each` once its names are learnt,
// then dropped from the host so that a long run's trace does not pile up in memory.
template <typename Each>
void DrainTrace(SimHost& host, HashNames& names, Each&& each) {
  for (const TraceEntry& entry : host.Trace()) {
    names.Learn(entry);
    each(entry);
  }
  host.ClearTrace();
}

// Appends the entry's line (with its new line) to `line`.
void AppendTraceJson(const TraceEntry& entry, const HashNames& names, std::string& line);

// `text` as a JSON string literal, quotes included.
void AppendJsonString(std::string_view text, std::string& out);

}  // namespace brimvale::sim
