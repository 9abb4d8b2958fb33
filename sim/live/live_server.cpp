#include "live/live_server.h"

#include <httplib.h>

#include <nlohmann/json.hpp>

namespace brimvale::sim {
namespace {

// Handler threads: the viewers' streams each hold one, and input must still get through.
constexpr int kServerThreads = kMaxViewers + 4;

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

LiveServer::LiveServer(LiveGame& game) : game_(game), server_(std::make_unique<httplib::Server>()) {
  httplib::Server& server = *server_;
  server.new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
  server.set_payload_max_length(kMaxInputBytes);
  server.set_keep_alive_max_count(1000);

  server.Get("/events", [this](const httplib::Request&, httplib::Response& res) {
    if (viewers_.fetch_add(1) >= kMaxViewers) {
      viewers_.fetch_sub(1);
      res.status = 503;
      res.set_content("too many viewers\n", "text/plain");
      return;
    }
    res.set_header("Cache-Control", "no-store");
    auto sent = std::make_shared<uint64_t>(0);
    res.set_chunked_content_provider(
        "text/event-stream",
        [this, sent](size_t, httplib::DataSink& sink) {
          if (stopping_) return false;
          auto frame = game_.WaitAfter(*sent, std::chrono::milliseconds(1000));
          if (stopping_) return false;
          if (!frame || frame->sequence == *sent) {
            // Nothing new (paused): a comment line finds out whether the viewer is still there.
            static constexpr char kBeat[] = ": still here\n\n";
            return sink.write(kBeat, sizeof kBeat - 1);
          }
          *sent = frame->sequence;
          std::string event = "data: ";
          event.reserve(frame->json.size() + 10);
          event += frame->json;
          event += "\n\n";
          return sink.write(event.data(), event.size());
        },
        [this](bool) { viewers_.fetch_sub(1); });
  });

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

  server.Post("/input", [this](const httplib::Request& req, httplib::Response& res) {
    LiveCommand command;
    std::string error;
    if (!ParseLiveCommand(req.body, command, error)) {
      res.status = 400;
      res.set_content(error + "\n", "text/plain");
      return;
    }
    if (!game_.Submit(std::move(command))) {
      res.status = 429;
      res.set_content("the game is busy; input dropped\n", "text/plain");
      return;
    }
    res.set_content("ok\n", "text/plain");
  });

  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) res.set_content(std::to_string(res.status) + "\n", "text/plain");
  });
}

LiveServer::~LiveServer() {
  Stop();
}

int LiveServer::Bind(const std::string& address, int port) {
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
