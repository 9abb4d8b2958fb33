#include "alloc_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/native/hook.h"

namespace brimvale::bench {
namespace {

std::atomic<bool> counting{false};
std::atomic<int64_t> allocations{0};
std::atomic<int64_t> resumes{0};

uint64_t* (*hostNativeCall)() = nullptr;
void (*hostScriptWait)(uint32_t) = nullptr;

uint64_t* NativeCallOutsideCount() {
  const bool was = counting.exchange(false);
  uint64_t* result = hostNativeCall();
  counting = was;
  return result;
}

void ScriptWaitOutsideCount(uint32_t ms) {
  // The plugin yields here; what the host does meanwhile is not the plugin's.
  counting = false;
  hostScriptWait(ms);
  ++resumes;
  counting = true;
}

void* Allocate(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

int64_t PluginAllocations() {
  return allocations.load();
}
int64_t PluginResumes() {
  return resumes.load();
}
void ResetPluginAllocations() {
  allocations = 0;
  resumes = 0;
}
void CountPluginAllocations(bool on) {
  counting = on;
}

void ExcludeHostFromCounting() {
  if (Hook.nativeCall != NativeCallOutsideCount) {
    hostNativeCall = Hook.nativeCall;
    Hook.nativeCall = NativeCallOutsideCount;
  }
  if (Hook.scriptWait != ScriptWaitOutsideCount) {
    hostScriptWait = Hook.scriptWait;
    Hook.scriptWait = ScriptWaitOutsideCount;
  }
}

}  // namespace brimvale::bench

void* operator new(std::size_t size) {
  return brimvale::bench::Allocate(size);
}
void* operator new[](std::size_t size) {
  return brimvale::bench::Allocate(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
