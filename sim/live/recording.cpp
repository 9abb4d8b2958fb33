#include "live/recording.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace brimvale::sim {
namespace {

using nlohmann::json;
using PK = PlayerInput::Kind;
using CK = LiveCommand::Kind;

constexpr size_t kMaxName = 64;
constexpr int64_t kMaxFrame = int64_t{1} << 40;
constexpr double kMaxCoordinate = 1e6;  // far beyond the map

struct PlayerKindName {
  PK kind;
  const char* name;
};
constexpr PlayerKindName kPlayerKinds[] = {
    {PK::Press, "press"},
    {PK::Move, "move"},
    {PK::Hold, "hold"},
    {PK::Release, "release"},
    {PK::KnockDown, "knock_down"},
    {PK::Kill, "kill"},
    {PK::Loot, "loot"},
    {PK::PickUp, "pick_up"},
    {PK::PutDown, "put_down"},
    {PK::EnterVehicle, "enter_vehicle"},
    {PK::LeaveVehicle, "leave_vehicle"},
    {PK::DrawWeapon, "draw_weapon"},
    {PK::SetMoney, "money"},
    {PK::KillPlayer, "kill_player"},
    {PK::SeenBy, "seen_by"},
    {PK::CommitCrime, "crime"},
};

const char* PlayerKindText(PK kind) {
  for (const auto& k : kPlayerKinds)
    if (k.kind == kind) return k.name;
  return "press";
}

const char* CommandKindText(CK kind) {
  switch (kind) {
    case CK::Key:
      return "key";
    case CK::WalkTo:
      return "walk";
    case CK::TeleportTo:
      return "teleport";
    case CK::PlayForMe:
      return "play_for_me";
    case CK::Restart:
      return "restart";
    case CK::Reload:
      return "reload";
    default:
      return "";
  }
}

bool ParseHex(const std::string& text, uint64_t& value) {
  if (text.size() != 16) return false;
  value = 0;
  for (char ch : text) {
    int digit = 0;
    if (ch >= '0' && ch <= '9')
      digit = ch - '0';
    else if (ch >= 'a' && ch <= 'f')
      digit = ch - 'a' + 10;
    else
      return false;
    value = value << 4 | static_cast<uint64_t>(digit);
  }
  return true;
}

// Reads the fields of one line, keeping the first complaint.
class Fields {
 public:
  explicit Fields(const json& object) : object_(object) {}
  const std::string& Problem() const { return problem_; }

  const json* Get(const char* name) {
    auto it = object_.find(name);
    if (it == object_.end()) {
      Complain(std::string("has no \"") + name + "\"");
      return nullptr;
    }
    return &*it;
  }
  std::string Text(const char* name, size_t most = kMaxName) {
    const json* v = Get(name);
    if (!v) return {};
    if (!v->is_string()) return Complain(std::string("\"") + name + "\" is not a text"), "";
    const auto& s = v->get_ref<const std::string&>();
    if (s.size() > most) return Complain(std::string("\"") + name + "\" is too long"), "";
    return s;
  }
  int64_t Whole(const char* name, int64_t least, int64_t most) {
    const json* v = Get(name);
    if (!v) return least;
    if (!v->is_number_integer())
      return Complain(std::string("\"") + name + "\" is not a whole number"), least;
    const int64_t n = v->is_number_unsigned() && v->get<uint64_t>() > uint64_t(INT64_MAX)
                          ? most + 1
                          : v->get<int64_t>();
    if (n < least || n > most)
      return Complain(std::string("\"") + name + "\" is out of range"), least;
    return n;
  }
  double Number(const json& v, const char* name, double most) {
    if (!v.is_number()) return Complain(std::string("\"") + name + "\" is not a number"), 0.0;
    const double d = v.get<double>();
    if (!std::isfinite(d) || std::fabs(d) > most)
      return Complain(std::string("\"") + name + "\" is out of range"), 0.0;
    return d;
  }
  double Number(const char* name, double most = kMaxCoordinate) {
    const json* v = Get(name);
    return v ? Number(*v, name, most) : 0.0;
  }
  bool Flag(const char* name) {
    const json* v = Get(name);
    if (!v) return false;
    if (!v->is_boolean())
      return Complain(std::string("\"") + name + "\" is not true or false"), false;
    return v->get<bool>();
  }
  uint64_t Hex(const json& v, const char* name) {
    uint64_t h = 0;
    if (!v.is_string() || !ParseHex(v.get<std::string>(), h))
      Complain(std::string("\"") + name + "\" is not sixteen hex digits");
    return h;
  }
  // [count, "hash"]
  void Counted(const char* name, int32_t& count, uint64_t& hash) {
    const json* v = Get(name);
    if (!v) return;
    if (!v->is_array() || v->size() != 2 || !(*v)[0].is_number_unsigned() ||
        (*v)[0].get<uint64_t>() > 1000000) {
      Complain(std::string("\"") + name + "\" is not [count, hash]");
      return;
    }
    count = static_cast<int32_t>((*v)[0].get<uint64_t>());
    hash = Hex((*v)[1], name);
  }
  void Complain(const std::string& why) {
    if (problem_.empty()) problem_ = why;
  }

 private:
  const json& object_;
  std::string problem_;
};

// The fields each kind of player input carries beside its frame, named once for the reader and
// the writer of a line: `io` reads them into `in` or writes them from it.
template <typename Input, typename Io>
void InputFields(Input& in, Io& io) {
  switch (in.kind) {
    case PK::Press:
      io.Text("control", in.name);
      io.Whole("pad", in.pad, 0, 15);
      break;
    case PK::Hold:
    case PK::Release:
      io.Text("control", in.name);
      break;
    case PK::DrawWeapon:
      io.Text("weapon", in.name);
      break;
    case PK::Move:
    case PK::CommitCrime:
      io.Position(in.at);
      break;
    case PK::SetMoney:
      io.Whole("cents", in.target, 0, INT32_MAX);
      break;
    case PK::PutDown:
    case PK::LeaveVehicle:
    case PK::KillPlayer:
      break;
    default:
      io.Whole("target", in.target, INT32_MIN, INT32_MAX);
  }
}

struct InputReader {
  Fields& f;
  void Text(const char* name, std::string& value) { value = f.Text(name); }
  void Whole(const char* name, int32_t& value, int64_t least, int64_t most) {
    value = static_cast<int32_t>(f.Whole(name, least, most));
  }
  void Position(Vector3& at) {
    at = {static_cast<float>(f.Number("x")), static_cast<float>(f.Number("y")),
          static_cast<float>(f.Number("z"))};
  }
};

struct InputWriter {
  json& j;
  void Text(const char* name, const std::string& value) { j[name] = value; }
  void Whole(const char* name, int32_t value, int64_t, int64_t) { j[name] = value; }
  void Position(const Vector3& at) { j["x"] = at.x, j["y"] = at.y, j["z"] = at.z; }
};

// A save file's text as the game could have left it: lines of sections, keys and values.
std::string SaveMisfit(const std::string& text) {
  if (text.size() > kMaxRecordedSave) return "it is larger than 32 KB";
  if (text.find('\0') != std::string::npos) return "it holds a NUL byte";
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    const bool section = line.front() == '[' && line.back() == ']' && line.size() > 2;
    if (!section && line.find('=') == std::string::npos)
      return "its line " + std::to_string(number) + " is neither a [section] nor a key=value";
  }
  return {};
}

void ReadDigest(Fields& f, WorldDigest& d) {
  if (const json* p = f.Get("player")) {
    if (!p->is_array() || p->size() != 4) {
      f.Complain("\"player\" is not [x, y, z, heading]");
    } else {
      d.player = {static_cast<float>(f.Number((*p)[0], "player", kMaxCoordinate)),
                  static_cast<float>(f.Number((*p)[1], "player", kMaxCoordinate)),
                  static_cast<float>(f.Number((*p)[2], "player", kMaxCoordinate))};
      d.heading = static_cast<float>(f.Number((*p)[3], "player", 100000.0));
    }
  }
  f.Counted("peds", d.peds, d.pedsHash);
  f.Counted("vehicles", d.vehicles, d.vehiclesHash);
  f.Counted("objects", d.objects, d.objectsHash);
  if (const json* w = f.Get("world")) d.world = f.Hex(*w, "world");
  if (const json* s = f.Get("save")) d.save = f.Hex(*s, "save");
}

bool ReadEvent(const std::string& kind, Fields& f, RecordedEvent& e) {
  using T = RecordedEvent::Type;
  e.frame = f.Whole("frame", 0, kMaxFrame);
  if (kind == "key" || kind == "walk" || kind == "teleport" || kind == "play_for_me" ||
      kind == "restart" || kind == "reload") {
    e.type = T::Command;
    LiveCommand& c = e.command;
    if (kind == "key") {
      c.kind = CK::Key;
      c.key = f.Text("key");
      c.down = f.Flag("down");
    } else if (kind == "walk" || kind == "teleport") {
      c.kind = kind == "walk" ? CK::WalkTo : CK::TeleportTo;
      c.x = f.Number("x");
      c.y = f.Number("y");
    } else if (kind == "play_for_me") {
      c.kind = CK::PlayForMe;
      c.on = f.Flag("on");
    } else if (kind == "restart") {
      c.kind = CK::Restart;
      c.scenario = f.Text("scenario");
    } else {
      c.kind = CK::Reload;
    }
    return true;
  }
  for (const auto& k : kPlayerKinds) {
    if (kind != k.name) continue;
    e.type = T::Player;
    PlayerInput& in = e.player;
    in.kind = k.kind;
    InputReader reader{f};
    InputFields(in, reader);
    return true;
  }
  if (kind == "save") {
    e.type = T::Save;
    e.section = f.Text("section", 256);
    e.key = f.Text("key", 256);
    if (const json* v = f.Get("value")) {
      if (v->is_null())
        e.value.reset();
      else if (v->is_string() && v->get_ref<const std::string&>().size() <= 4096)
        e.value = v->get<std::string>();
      else
        f.Complain("\"value\" is not a text of at most 4 KB or null");
    }
    return true;
  }
  if (kind == "relaunch") {
    // The game closed and started again from this save (a returning player's restart).
    e.type = T::Relaunch;
    const std::string text = f.Text("save", SIZE_MAX);
    if (f.Problem().empty()) {
      const std::string misfit = SaveMisfit(text);
      if (!misfit.empty()) f.Complain("the save file does not fit: " + misfit);
    }
    e.value = text;
    return true;
  }
  if (kind == "digest" || kind == "end") {
    e.type = kind == "end" ? T::End : T::Digest;
    ReadDigest(f, e.digest);
    return true;
  }
  return false;
}

void ReadStart(Fields& f, RecordedStart& s) {
  s.source = f.Text("source");
  if (f.Problem().empty() && s.source != "live" && s.source != "play")
    f.Complain("\"source\" is neither \"live\" nor \"play\"");
  s.seed = static_cast<uint32_t>(f.Whole("seed", 0, UINT32_MAX));
  s.frameMs = f.Number("frame_ms", 1000.0);
  if (f.Problem().empty() && s.frameMs < 1.0) f.Complain("\"frame_ms\" is out of range");
  s.scenario = f.Text("scenario");
  s.scenarioGame = f.Flag("scenario_game");
  s.build = f.Text("build");
  if (const json* v = f.Get("save")) {
    if (v->is_null()) {
      s.save.reset();
    } else if (!v->is_string()) {
      f.Complain("the save file does not fit: it is not a text");
    } else {
      const std::string misfit = SaveMisfit(v->get<std::string>());
      if (!misfit.empty())
        f.Complain("the save file does not fit: " + misfit);
      else
        s.save = v->get<std::string>();
    }
  }
  if (const json* v = f.Get("version"); v && (!v->is_number_integer() || v->get<int64_t>() != 1))
    f.Complain("it is not a recording of version 1");
}

}  // namespace

std::string HexHash(uint64_t hash) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

bool ParseRecording(std::string_view text, Recording& recording, RecordingError& error) {
  recording = Recording{};
  auto fail = [&](int line, std::string why) {
    error = {line, std::move(why)};
    return false;
  };
  if (text.empty()) return fail(0, "the file is empty");
  size_t at = 0;
  int line = 0;
  int64_t lastFrame = 0;
  bool restarting = false, over = false;
  while (at < text.size()) {
    ++line;
    const size_t end = text.find('\n', at);
    const bool cut = end == std::string_view::npos;
    const std::string_view raw = text.substr(at, cut ? std::string_view::npos : end - at);
    at = cut ? text.size() : end + 1;
    if (raw.size() > kMaxRecordingLine)
      return fail(line, "the line is longer than 64 KB (" + std::to_string(raw.size()) + " bytes)");
    if (over) return fail(line, "a line after the recording's end");
    json object;
    try {
      object = json::parse(raw);
    } catch (const json::parse_error& e) {
      // The parser ran off the end of the line: the line was cut short.
      if (e.byte >= raw.size() && !raw.empty()) return fail(line, "the line is cut short");
      return fail(line, raw.empty() ? "the line is empty" : "the line is not JSON");
    } catch (const json::exception&) {
      return fail(line, "the line holds a number out of range");
    }
    if (!object.is_object()) return fail(line, "the line is not a JSON object");
    auto kindIt = object.find("kind");
    if (kindIt == object.end() || !kindIt->is_string())
      return fail(line, "the line has no \"kind\"");
    const std::string kind = kindIt->get<std::string>();
    if (cut) return fail(line, "the line is cut short (no line end)");
    Fields fields(object);
    if (line == 1) {
      if (kind != "start") return fail(line, "a recording begins with its \"start\" line");
      ReadStart(fields, recording.start);
      if (!fields.Problem().empty()) return fail(line, fields.Problem());
      continue;
    }
    if (kind == "start") return fail(line, "a second \"start\" line");
    RecordedEvent event;
    event.line = line;
    if (!ReadEvent(kind, fields, event))
      return fail(line, "unknown kind \"" + kind.substr(0, kMaxName) + "\"");
    if (!fields.Problem().empty()) return fail(line, fields.Problem());
    if (event.frame < lastFrame)
      return fail(line, "frame " + std::to_string(event.frame) + " comes after frame " +
                            std::to_string(lastFrame));
    lastFrame = event.frame;
    // A restart ends its game with the game's last digest; the next game begins at frame 0.
    if (event.type == RecordedEvent::Type::Command && event.command.kind == CK::Restart)
      restarting = true;
    if (event.type == RecordedEvent::Type::End) {
      if (restarting) lastFrame = 0;
      over = !restarting;
      restarting = false;
    }
    recording.ended = event.type == RecordedEvent::Type::End;
    recording.events.push_back(std::move(event));
  }
  return true;
}

bool ReadRecordingFile(const std::filesystem::path& path, Recording& recording,
                       RecordingError& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = {0, "no such file"};
    return false;
  }
  if (std::filesystem::file_size(path, ec) > kMaxRecordingFile) {
    error = {0, "the file is larger than 256 MB"};
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) {
    error = {0, "the file cannot be read"};
    return false;
  }
  return ParseRecording(text.str(), recording, error);
}

std::string StartLine(const RecordedStart& s) {
  json j = {{"kind", "start"},
            {"version", 1},
            {"source", s.source},
            {"seed", s.seed},
            {"frame_ms", s.frameMs},
            {"scenario", s.scenario},
            {"scenario_game", s.scenarioGame},
            {"build", s.build}};
  j["save"] = s.save ? json(*s.save) : json(nullptr);
  return j.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string EventLine(const RecordedEvent& e) {
  using T = RecordedEvent::Type;
  json j;
  switch (e.type) {
    case T::Command: {
      const LiveCommand& c = e.command;
      j = {{"kind", CommandKindText(c.kind)}, {"frame", e.frame}};
      if (c.kind == CK::Key) j["key"] = c.key, j["down"] = c.down;
      if (c.kind == CK::WalkTo || c.kind == CK::TeleportTo) j["x"] = c.x, j["y"] = c.y;
      if (c.kind == CK::PlayForMe) j["on"] = c.on;
      if (c.kind == CK::Restart) j["scenario"] = c.scenario;
      break;
    }
    case T::Player: {
      const PlayerInput& in = e.player;
      j = {{"kind", PlayerKindText(in.kind)}, {"frame", e.frame}};
      InputWriter writer{j};
      InputFields(in, writer);
      break;
    }
    case T::Save:
      j = {{"kind", "save"}, {"frame", e.frame}, {"section", e.section}, {"key", e.key}};
      j["value"] = e.value ? json(*e.value) : json(nullptr);
      break;
    case T::Relaunch:
      j = {{"kind", "relaunch"}, {"frame", e.frame}, {"save", e.value.value_or("")}};
      break;
    case T::Digest:
    case T::End: {
      const WorldDigest& d = e.digest;
      j = {{"kind", e.type == T::End ? "end" : "digest"},
           {"frame", e.frame},
           {"player", {d.player.x, d.player.y, d.player.z, d.heading}},
           {"peds", {d.peds, HexHash(d.pedsHash)}},
           {"vehicles", {d.vehicles, HexHash(d.vehiclesHash)}},
           {"objects", {d.objects, HexHash(d.objectsHash)}},
           {"world", HexHash(d.world)},
           {"save", HexHash(d.save)}};
      break;
    }
  }
  return j.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace brimvale::sim
