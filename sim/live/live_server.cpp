#include "live/live_server.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <httplib.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

namespace brimvale::sim {
namespace {

// Handler threads: the viewers' streams hold at most kMaxViewers of them, and the rest are left
// for input, the page's files and refusals, with room for idle kept-alive connections.
constexpr int kServerThreads = kMaxViewers + 16;

int PortOf(const sockaddr_storage& address) {
  if (address.ss_family == AF_INET)
    return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
  if (address.ss_family == AF_INET6)
    return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
  return -1;
}

// The connection a request came on: the open socket whose ends are the request's two addresses.
// The server library does not hand it to handlers, and a stream needs it to see its viewer leave.
int ConnectionSocket(const httplib::Request& req) {
  DIR* fds = opendir("/proc/self/fd");
  if (!fds) return -1;
  int found = -1;
  while (const dirent* entry = readdir(fds)) {
    char* end = nullptr;
    const long fd = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0' || fd == dirfd(fds)) continue;
    sockaddr_storage peer{}, local{};
    socklen_t peerSize = sizeof peer, localSize = sizeof local;
    if (getpeername(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0 ||
        PortOf(peer) != req.remote_port ||
        getsockname(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
        PortOf(local) != req.local_port)
      continue;
    char host[NI_MAXHOST];
    if (getnameinfo(reinterpret_cast<sockaddr*>(&peer), peerSize, host, sizeof host, nullptr, 0,
                    NI_NUMERICHOST) == 0 &&
        req.remote_addr == host) {
      found = static_cast<int>(fd);
      break;
    }
  }
  closedir(fds);
  return found;
}

// Whether the viewer at the other end closed the connection (an event stream's viewer sends
// nothing, so anything but silence is its leaving).
bool PeerGone(int socket) {
  pollfd check{socket, POLLIN | POLLRDHUP, 0};
  if (socket < 0 || poll(&check, 1, 0) <= 0) return false;
  if (check.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) return true;
  char byte;
  return recv(socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool IsIpLiteral(const std::string& name) {
  unsigned char address[sizeof(in6_addr)];
  if (name.size() > 2 && name.front() == '[' && name.back() == ']')
    return inet_pton(AF_INET6, name.substr(1, name.size() - 2).c_str(), address) == 1;
  return inet_pton(AF_INET, name.c_str(), address) == 1;
}

// Input is JSON, whatever parameters the type carries ("application/json; charset=utf-8").
bool IsJson(const std::string& contentType) {
  std::string media = Lower(contentType.substr(0, contentType.find(';')));
  media.erase(
      std::remove_if(media.begin(), media.end(), [](unsigned char c) { return std::isspace(c); }),
      media.end());
  return media == "application/json";
}

bool ReadNumber(const nlohmann::json& message, const char* name, double& out) {
  auto it = message.find(name);
  if (it == message.end() || !it->is_number()) return false;
  out = it->get<double>();
  return std::isfinite(out);
}

}  // namespace

bool ParseLiveCommand(std::string_view body, LiveCommand& command, std::string& error) {
  const nlohmann::json message = nlohmann::json::parse(body, nullptr, false);
  if (message.is_discarded() || !message.is_object()) {
    error = "not a JSON object";
    return false;
  }
  auto type = message.find("type");
  if (type == message.end() || !type->is_string()) {
    error = "no \"type\"";
    return false;
  }
  const std::string kind = type->get<std::string>();
  using Kind = LiveCommand::Kind;
  if (kind == "key") {
    auto key = message.find("key");
    auto down = message.find("down");
    if (key == message.end() || !key->is_string() || key->get<std::string>().size() > 64 ||
        down == message.end() || !down->is_boolean()) {
      error = "a key wants \"key\" (a key code) and \"down\" (true or false)";
      return false;
    }
    command.kind = Kind::Key;
    command.key = key->get<std::string>();
    command.down = down->get<bool>();
  } else if (kind == "reload") {
    command.kind = Kind::Reload;
  } else if (kind == "reloadAndReplay") {
    command.kind = Kind::ReloadAndReplay;
  } else if (kind == "rewind") {
    auto frame = message.find("frame");
    if (frame == message.end() || !frame->is_number_integer() ||
        (frame->is_number_unsigned() && frame->get<uint64_t>() > uint64_t{1} << 40) ||
        frame->get<int64_t>() < 0) {
      error = "rewind wants \"frame\", a frame number from 0 to now";
      return false;
    }
    command.kind = Kind::Rewind;
    command.frame = frame->get<int64_t>();
  } else if (kind == "pause" || kind == "resume" || kind == "step") {
    command.kind = kind == "pause" ? Kind::Pause : kind == "resume" ? Kind::Resume : Kind::Step;
  } else if (kind == "speed") {
    if (!ReadNumber(message, "speed", command.speed) || command.speed < 0.25 ||
        command.speed > 8.0) {
      error = "speed wants \"speed\" from 0.25 to 8";
      return false;
    }
    command.kind = Kind::Speed;
  } else if (kind == "restart") {
    auto scenario = message.find("scenario");
    command.kind = Kind::Restart;
    if (scenario != message.end()) {
      if (!scenario->is_string() || scenario->get<std::string>().size() > 64) {
        error = "restart wants \"scenario\" as a name";
        return false;
      }
      command.scenario = scenario->get<std::string>();
    }
  } else if (kind == "walk" || kind == "teleport") {
    if (!ReadNumber(message, "x", command.x) || !ReadNumber(message, "y", command.y) ||
        std::abs(command.x) > 1e5 || std::abs(command.y) > 1e5) {
      error = kind + " wants \"x\" and \"y\" in world coordinates";
      return false;
    }
    command.kind = kind == "walk" ? Kind::WalkTo : Kind::TeleportTo;
  } else if (kind == "playForMe") {
    auto on = message.find("on");
    if (on == message.end() || !on->is_boolean()) {
      error = "playForMe wants \"on\" (true or false)";
      return false;
    }
    command.kind = Kind::PlayForMe;
    command.on = on->get<bool>();
  } else {
    error = "unknown type";
    return false;
  }
  return true;
}

bool ServesHostName(std::string_view host, std::string_view listenAddress) {
  // The name, then an optional port of digits; an IPv6 address is bracketed.
  size_t nameEnd = host.starts_with('[') ? host.find(']') : host.find(':');
  if (nameEnd != std::string_view::npos && host.starts_with('[')) ++nameEnd;
  if (nameEnd == std::string_view::npos) nameEnd = host.size();
  const std::string name = Lower(host.substr(0, nameEnd));
  std::string_view port = host.substr(nameEnd);
  if (!port.empty()) {
    port.remove_prefix(1);
    if (!host.substr(nameEnd).starts_with(':') || port.empty() || port.size() > 5 ||
        !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return false;
  }
  if (name.empty()) return false;
  std::string listening = Lower(listenAddress);
  if (listening.find(':') != std::string::npos && !listening.starts_with('['))
    listening = "[" + listening + "]";
  if (name == "localhost" || name == "127.0.0.1" || name == "[::1]" || name == listening)
    return true;
  // Listening on every address, the viewer may use any of the machine's; a name that is an
  // address cannot be another site's.
  return (listening == "0.0.0.0" || listening == "[::]") && IsIpLiteral(name);
}

LiveServer::LiveServer(LiveGame& game) : game_(game), server_(std::make_unique<httplib::Server>()) {
  httplib::Server& server = *server_;
  server.new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
  server.set_payload_max_length(kMaxInputBytes);
  server.set_keep_alive_max_count(1000);

  RouteOwnNamesOnly(server);
  RouteFrames(server);
  RouteRecording(server);
  RoutePage(server);
  RouteInput(server);
  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) res.set_content(std::to_string(res.status) + "\n", "text/plain");
  });
}

void LiveServer::RouteOwnNamesOnly(httplib::Server& server) {
  // Names other than this server's are refused before anything is served: a page of another
  // site that points its own name at this address gets neither the page nor the stream.
  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (ServesHostName(req.get_header_value("Host"), listenAddress_))
      return httplib::Server::HandlerResponse::Unhandled;
    res.status = 403;
    res.set_content("this server answers only its own address\n", "text/plain");
    return httplib::Server::HandlerResponse::Handled;
  });
}

// Frames stream to each viewer with a place, as server-sent events.
void LiveServer::RouteFrames(httplib::Server& server) {
  server.Get("/events", [this](const httplib::Request& req, httplib::Response& res) {
    std::shared_ptr<ViewerPlace> place = TakePlace(ConnectionSocket(req));
    if (!place) {
      res.status = 503;
      res.set_content("too many viewers\n", "text/plain");
      return;
    }
    res.set_header("Cache-Control", "no-store");
    auto sent = std::make_shared<uint64_t>(0);
    res.set_chunked_content_provider(
        "text/event-stream",
        [this, place, sent](size_t, httplib::DataSink& sink) {
          // Short waits, so that a viewer who left ends its stream soon even while paused.
          const auto beat = std::chrono::steady_clock::now() + std::chrono::seconds(1);
          while (!stopping_ && !place->givenBack && !PeerGone(place->socket)) {
            auto frame = game_.WaitAfter(*sent, std::chrono::milliseconds(100));
            if (stopping_) break;
            if (frame && frame->sequence != *sent) {
              *sent = frame->sequence;
              std::string event = "data: ";
              event.reserve(frame->json.size() + 10);
              event += frame->json;
              event += "\n\n";
              return sink.write(event.data(), event.size());
            }
            if (std::chrono::steady_clock::now() >= beat) {
              // Nothing new (paused): a comment line keeps proxies and the page's stream open.
              static constexpr char kBeat[] = ": still here\n\n";
              return sink.write(kBeat, sizeof kBeat - 1);
            }
          }
          return false;
        },
        [this, place](bool) { GiveBack(place); });
  });
}

// The session's recording as it stands, whole lines only (the game may be writing one).
void LiveServer::RouteRecording(httplib::Server& server) {
  server.Get("/recording", [this](const httplib::Request&, httplib::Response& res) {
    const std::filesystem::path& file = game_.RecordingFile();
    std::ifstream in(file, std::ios::binary);
    if (file.empty() || !in) {
      res.status = 404;
      res.set_content("this session is not recorded\n", "text/plain");
      return;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    res.set_header("Cache-Control", "no-store");
    // The name is the operator's --record path: anything outside a plain file name's letters
    // would end the quoted value or the header line, so it becomes '_'.
    std::string name = file.filename().string();
    for (char& c : name)
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') c = '_';
    res.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
    res.set_content(text, "application/x-ndjson");
  });
}

void LiveServer::RoutePage(httplib::Server& server) {
  // Only the table's paths are served: no part of a request reaches the file system.
  server.Get(R"(/[a-z0-9.\-]*)", [](const httplib::Request& req, httplib::Response& res) {
    const PageAsset* asset = FindPageAsset(req.path);
    if (!asset) {
      res.status = 404;
      res.set_content("not found\n", "text/plain");
      return;
    }
    res.set_header("Cache-Control", "no-store");
    res.set_content(asset->body.data(), asset->body.size(), asset->type);
  });
}

void LiveServer::RouteInput(httplib::Server& server) {
  server.Post("/input", [this](const httplib::Request& req, httplib::Response& res) {
    // Browsers send an Origin with every cross-site POST; a request without one is a script's.
    if (req.has_header("Origin") &&
        Lower(req.get_header_value("Origin")) != "http://" + Lower(req.get_header_value("Host"))) {
      res.status = 403;
      res.set_content("input is taken only from the page itself\n", "text/plain");
      return;
    }
    if (!IsJson(req.get_header_value("Content-Type"))) {
      res.status = 415;
      res.set_content("input is a JSON message (Content-Type: application/json)\n", "text/plain");
      return;
    }
    LiveCommand command;
    std::string error;
    if (!ParseLiveCommand(req.body, command, error)) {
      res.status = 400;
      res.set_content(error + "\n", "text/plain");
      return;
    }
    // The game thread checks again: a restart may have begun a new game since that frame.
    if (const auto latest = game_.Latest();
        command.kind == LiveCommand::Kind::Rewind && (!latest || command.frame > latest->frame)) {
      res.status = 400;
      res.set_content("rewind: frame " + std::to_string(command.frame) + " is past now\n",
                      "text/plain");
      return;
    }
    if (!game_.Submit(std::move(command))) {
      res.status = 429;
      res.set_content("the game is busy; input dropped\n", "text/plain");
      return;
    }
    res.set_content("ok\n", "text/plain");
  });
}

LiveServer::~LiveServer() {
  Stop();
}

std::shared_ptr<ViewerPlace> LiveServer::TakePlace(int socket) {
  std::lock_guard lock(placesMutex_);
  // A viewer who left gives its place back here and now, though its stream may still be waiting
  // for the next frame to find that out.
  std::erase_if(places_, [](const std::shared_ptr<ViewerPlace>& place) {
    if (!PeerGone(place->socket)) return false;
    place->givenBack = true;
    return true;
  });
  if (places_.size() >= static_cast<size_t>(kMaxViewers)) return nullptr;
  auto place = std::make_shared<ViewerPlace>();
  place->socket = socket;
  places_.push_back(place);
  return place;
}

void LiveServer::GiveBack(const std::shared_ptr<ViewerPlace>& place) {
  std::lock_guard lock(placesMutex_);
  std::erase(places_, place);
}

int LiveServer::Bind(const std::string& address, int port) {
  listenAddress_ = address;
  if (port == 0) return server_->bind_to_any_port(address.c_str());
  return server_->bind_to_port(address.c_str(), port) ? port : -1;
}

void LiveServer::Start() {
  thread_ = std::thread([this] { server_->listen_after_bind(); });
}

void LiveServer::Stop() {
  stopping_ = true;
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

}  // namespace brimvale::sim
