#include "replayed_natives.h"

#include <array>
#include <chrono>
#include <vector>

#include "core/native/hook.h"

namespace brimvale::bench {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::array<uint64_t, sim::kResultSlots>> recorded;
std::array<uint64_t, sim::kResultSlots> result{};
size_t callIndex = 0;
int64_t calls = 0, callsLastFrame = 0;
Clock::time_point resumed;
double secondsLastFrame = 0.0;
void (*hostScriptWait)(uint32_t) = nullptr;

void Init(uint64_t) {}
void Push(uint64_t) {}
uint64_t* Call() {
  result = callIndex < recorded.size() ? recorded[callIndex] : std::array<uint64_t, 8>{};
  ++callIndex;
  ++calls;
  return result.data();
}

void Wait(uint32_t ms) {
  secondsLastFrame = std::chrono::duration<double>(Clock::now() - resumed).count();
  callsLastFrame = calls;
  hostScriptWait(ms);
  callIndex = 0;
  calls = 0;
  resumed = Clock::now();
}

}  // namespace

void ReplayNativesFromNextFrame(sim::SimHost& host) {
  const bool traced = host.config.trace;
  host.config.trace = true;
  host.ClearTrace();
  host.RunFrame();
  recorded.clear();
  for (const sim::TraceEntry& entry : host.Trace()) {
    std::array<uint64_t, sim::kResultSlots> slots{};
    for (size_t i = 0; i < 3; ++i)
      slots[i] = entry.result[i];
    recorded.push_back(slots);
  }
  host.ClearTrace();
  host.config.trace = traced;
  // A run stopped in an earlier measurement leaves its frame's count behind.
  callIndex = 0;
  calls = 0;
  hostScriptWait = Hook.scriptWait;
  Hook.nativeInit = Init;
  Hook.nativePush64 = Push;
  Hook.nativeCall = Call;
  Hook.scriptWait = Wait;
  resumed = Clock::now();
}

double PluginSecondsLastFrame() {
  return secondsLastFrame;
}
int64_t NativeCallsLastFrame() {
  return callsLastFrame;
}

}  // namespace brimvale::bench
