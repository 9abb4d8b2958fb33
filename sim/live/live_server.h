// The live page's server: the page's own files from a fixed table, frames as server-sent events
// and the viewer's input as small JSON messages queued to the game. Linux only.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

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

// Whether a request's Host names this server: a loopback name or the address it listens on (on
// a wildcard address, any address of the machine). Other names are how a page of another site
// reaches a local server through its own DNS.
bool ServesHostName(std::string_view host, std::string_view listenAddress);

// One viewer's place among the streams: the connection it holds, and whether it was given back
// (its viewer gone) while its stream waited for a frame.
struct ViewerPlace {
  int socket = -1;
  std::atomic<bool> givenBack{false};
};

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
  std::string listenAddress_;
  std::mutex placesMutex_;
  std::vector<std::shared_ptr<ViewerPlace>> places_;  // the open streams, at most kMaxViewers
  std::atomic<bool> stopping_{false};

  // The server's routes, one concern each.
  void RouteOwnNamesOnly(httplib::Server& server);
  void RouteFrames(httplib::Server& server);
  void RouteRecording(httplib::Server& server);
  void RoutePage(httplib::Server& server);
  void RouteInput(httplib::Server& server);
  std::shared_ptr<ViewerPlace> TakePlace(int socket);
  void GiveBack(const std::shared_ptr<ViewerPlace>& place);
};

}  // namespace brimvale::sim
