#include <condition_variable>
#include <mutex>
#include <thread>

#include "hook/fibre.h"

namespace brimvale::sim {
namespace {

class ThreadFibre final : public ScriptFibre {
 public:
  ~ThreadFibre() override { Stop(); }

  void Start(std::function<void()> body) override {
    body_ = std::move(body);
    started_ = true;
    finished_ = false;
    stopRequested_ = false;
    thread_ = std::thread([this] { Main(); });
  }

  bool Resume() override {
    if (!started_ || finished_) return false;
    std::unique_lock lock(mutex_);
    scriptTurn_ = true;
    wake_.notify_all();
    wake_.wait(lock, [this] { return !scriptTurn_; });
    return !finished_;
  }

  void Yield() override {
    {
      std::unique_lock lock(mutex_);
      scriptTurn_ = false;
      wake_.notify_all();
      wake_.wait(lock, [this] { return scriptTurn_; });
    }
    if (stopRequested_) throw ScriptStopped{};
  }

  void Stop() override {
    if (!started_) return;
    if (!finished_) {
      stopRequested_ = true;
      Resume();
    }
    if (thread_.joinable()) thread_.join();
    started_ = false;
  }

  bool Running() const override { return started_ && !finished_; }

 private:
  void Main() {
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return scriptTurn_; });
    }
    if (!stopRequested_) {
      try {
        body_();
      } catch (const ScriptStopped&) {
      }
    }
    std::unique_lock lock(mutex_);
    finished_ = true;
    scriptTurn_ = false;
    wake_.notify_all();
  }

  std::function<void()> body_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool scriptTurn_ = false;
  bool started_ = false;
  bool finished_ = false;
  bool stopRequested_ = false;
};

}  // namespace

std::unique_ptr<ScriptFibre> MakeScriptFibre() {
  return std::make_unique<ThreadFibre>();
}

}  // namespace brimvale::sim
