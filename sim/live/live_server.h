// The live page's server: the page's own files from a fixed table, frames as server-sent events
// and the viewer's input as small JSON messages queued to the game. Linux only.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "live/live_game.h"

namespace httplib {
class Server;
}

namespace brimvale::sim {

// The page's files, compiled into the program (generated from sim/live/page/).
struct PageAsset {
  const char* path;  // "/", "/page.js"
  const char* type;  // its content type
  std::string_view body;
};
const PageAsset* FindPageAsset(std::string_view path);

inline constexpr size_t kMaxInputBytes = 4096;
inline constexpr int kMaxViewers = 12;

// Parses one input message of the page; false with the reason in `error`.
bool ParseLiveCommand(std::string_view body, LiveCommand& command, std::string& error);

class LiveServer {
 public:
  explicit LiveServer(LiveGame& game);
  ~LiveServer();
  LiveServer(const LiveServer&) = delete;
  LiveServer& operator=(const LiveServer&) = delete;

  // Binds to the address and port (0: any free port); false when it cannot. Returns the port.
  int Bind(const std::string& address, int port);
  void Start();  // serves on a thread of its own
  void Stop();   // viewers are let go and the thread ends

 private:
  LiveGame& game_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::atomic<int> viewers_{0};
  std::atomic<bool> stopping_{false};
};

}  // namespace brimvale::sim
