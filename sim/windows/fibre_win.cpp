// The script fibre as the real hook has it: a Win32 fibre that the game thread switches to once
// per frame and that switches back at every wait.
#include <windows.h>

#include "hook/fibre.h"

namespace brimvale::sim {
namespace {

// The game thread as a fibre, converted on the first resume.
void* GameThreadFibre() {
  if (!IsThreadAFiber()) return ConvertThreadToFiber(nullptr);
#pragma GCC diagnostic push
    // The header's inline reads the fibre pointer from the thread block, which GCC takes for a
    // zero-length array.
#pragma GCC diagnostic ignored "-Warray-bounds"
  return GetCurrentFiber();
#pragma GCC diagnostic pop
}

class Win32Fibre final : public ScriptFibre {
 public:
  ~Win32Fibre() override { Stop(); }

  void Start(std::function<void()> body) override {
    Stop();
    body_ = std::move(body);
    started_ = true;
    finished_ = false;
    stopRequested_ = false;
    script_ = CreateFiber(kStackBytes, &Win32Fibre::Main, this);
    if (script_ == nullptr) finished_ = true;
  }

  bool Resume() override {
    if (!started_ || finished_) return false;
    if (host_ == nullptr) host_ = GameThreadFibre();
    SwitchToFiber(script_);
    return !finished_;
  }

  void Yield() override {
    SwitchToFiber(host_);
    if (stopRequested_) throw ScriptStopped{};
  }

  void Stop() override {
    if (!started_) return;
    if (!finished_) {
      stopRequested_ = true;
      Resume();
    }
    if (script_ != nullptr) DeleteFiber(script_);
    script_ = nullptr;
    started_ = false;
  }

  bool Running() const override { return started_ && !finished_; }

 private:
  static constexpr SIZE_T kStackBytes = 1 << 20;

  static void WINAPI Main(void* self) {
    auto* fibre = static_cast<Win32Fibre*>(self);
    if (!fibre->stopRequested_) {
      try {
        fibre->body_();
      } catch (const ScriptStopped&) {
      }
    }
    fibre->finished_ = true;
    // A fibre must never return (that would end the thread); it waits here to be deleted.
    for (;;)
      SwitchToFiber(fibre->host_);
  }

  std::function<void()> body_;
  void* host_ = nullptr;
  void* script_ = nullptr;
  bool started_ = false;
  bool finished_ = false;
  bool stopRequested_ = false;
};

}  // namespace

std::unique_ptr<ScriptFibre> MakeScriptFibre() {
  return std::make_unique<Win32Fibre>();
}

}  // namespace brimvale::sim
