// The script fibre off Windows: a stack of its own entered with swapcontext, so a frame's hand-over
// is a user-space switch on the one thread instead of a wake-up of another thread.
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "hook/fibre.h"

#if defined(__SANITIZE_ADDRESS__)
#define BRIMVALE_ASAN_FIBRES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BRIMVALE_ASAN_FIBRES 1
#endif
#endif
#ifdef BRIMVALE_ASAN_FIBRES
#include <sanitizer/common_interface_defs.h>
#endif

namespace brimvale::sim {
namespace {

// AddressSanitizer must be told of every stack switch, or it reads the script's frames as the
// host's and reports the unwinding of ScriptStopped as an overflow.
struct SwitchNotes {
#ifdef BRIMVALE_ASAN_FIBRES
  // Leaving a stack for one at [bottom, bottom + size); a null `fake` says the one left is done.
  static void Leaving(void** fake, const void* bottom, size_t size) {
    __sanitizer_start_switch_fiber(fake, bottom, size);
  }
  // Arrived on a stack; keeps the bounds of the one left, to switch back to it.
  static void Arrived(void* fake, const void** bottom, size_t* size) {
    __sanitizer_finish_switch_fiber(fake, bottom, size);
  }
#else
  static void Leaving(void**, const void*, size_t) {}
  static void Arrived(void*, const void**, size_t*) {}
#endif
};

class ContextFibre final : public ScriptFibre {
 public:
  ~ContextFibre() override {
    Stop();
    if (stack_ != nullptr) munmap(stack_, kStackBytes + GuardBytes());
  }

  void Start(std::function<void()> body) override {
    Stop();
    body_ = std::move(body);
    started_ = true;
    finished_ = false;
    stopRequested_ = false;
    // One stack for the fibre's life, reused by every script: pages are committed as touched.
    if (stack_ == nullptr) {
      void* mapped = mmap(nullptr, kStackBytes + GuardBytes(), PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
      if (mapped == MAP_FAILED) {
        finished_ = true;
        return;
      }
      stack_ = static_cast<char*>(mapped);
      // The lowest page faults on an overflow instead of writing over other memory.
      mprotect(stack_, GuardBytes(), PROT_NONE);
    }
    getcontext(&script_);
    script_.uc_stack.ss_sp = stack_ + GuardBytes();
    script_.uc_stack.ss_size = kStackBytes;
    script_.uc_link = nullptr;
    const auto self = reinterpret_cast<uintptr_t>(this);
    makecontext(&script_, reinterpret_cast<void (*)()>(&ContextFibre::Main), 2,
                static_cast<unsigned>(self >> 32), static_cast<unsigned>(self & 0xffffffffu));
  }

  bool Resume() override {
    if (!started_ || finished_) return false;
    void* fake = nullptr;
    SwitchNotes::Leaving(&fake, stack_ + GuardBytes(), kStackBytes);
    swapcontext(&host_, &script_);
    SwitchNotes::Arrived(fake, nullptr, nullptr);
    return !finished_;
  }

  void Yield() override {
    SwitchBack();
    if (stopRequested_) throw ScriptStopped{};
  }

  void Stop() override {
    if (!started_) return;
    if (!finished_) {
      stopRequested_ = true;
      Resume();
    }
    body_ = nullptr;
    started_ = false;
  }

  bool Running() const override { return started_ && !finished_; }

 private:
  static constexpr size_t kStackBytes = size_t{8} << 20;  // a thread's default
  static size_t GuardBytes() { return static_cast<size_t>(sysconf(_SC_PAGESIZE)); }

  // makecontext passes int arguments only: the fibre's address comes in two halves.
  static void Main(unsigned high, unsigned low) {
    auto* fibre = reinterpret_cast<ContextFibre*>((uintptr_t{high} << 32) | low);
    SwitchNotes::Arrived(nullptr, &fibre->hostBottom_, &fibre->hostSize_);
    if (!fibre->stopRequested_) {
      try {
        fibre->body_();
      } catch (const ScriptStopped&) {
      }
    }
    fibre->finished_ = true;
    // Never returns: the stack is left for good, and the host's Resume sees the end.
    SwitchNotes::Leaving(nullptr, fibre->hostBottom_, fibre->hostSize_);
    setcontext(&fibre->host_);
    std::abort();
  }

  void SwitchBack() {
    void* fake = nullptr;
    SwitchNotes::Leaving(&fake, hostBottom_, hostSize_);
    swapcontext(&script_, &host_);
    SwitchNotes::Arrived(fake, &hostBottom_, &hostSize_);
  }

  std::function<void()> body_;
  ucontext_t host_{};
  ucontext_t script_{};
  char* stack_ = nullptr;
  const void* hostBottom_ = nullptr;
  size_t hostSize_ = 0;
  bool started_ = false;
  bool finished_ = false;
  bool stopRequested_ = false;
};

}  // namespace

std::unique_ptr<ScriptFibre> MakeScriptFibre() {
  return std::make_unique<ContextFibre>();
}

}  // namespace brimvale::sim
