#include "live/recorder.h"

#include "player/save_text.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace brimvale::sim {
namespace {

// FNV-1a over the bytes of each value: the same world hashes the same on every run.
class Hasher {
 public:
  template <typename T>
  void Add(const T& value) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    Bytes(bytes, sizeof(T));
  }
  void Add(const std::string& text) {
    Add(text.size());
    Bytes(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  }
  void Bytes(const unsigned char* data, size_t size) {
    for (size_t i = 0; i < size; ++i)
      hash_ = (hash_ ^ data[i]) * 0x100000001b3ull;
  }
  uint64_t Value() const { return hash_; }

 private:
  uint64_t hash_ = 0xcbf29ce484222325ull;
};

std::string Where(Vector3 at, float heading) {
  char text[96];
  std::snprintf(text, sizeof text, "(%.2f, %.2f, %.2f) heading %.1f", at.x, at.y, at.z, heading);
  return text;
}

std::string Quoted(const SaveEntries& save, const std::pair<std::string, std::string>& key) {
  auto it = save.find(key);
  return it == save.end() ? std::string("nothing") : "\"" + it->second + "\"";
}

}  // namespace

uint64_t SaveDigest(const SaveEntries& save) {
  Hasher h;
  for (const auto& [key, value] : save) {
    h.Add(key.first);
    h.Add(key.second);
    h.Add(value);
  }
  return h.Value();
}

WorldDigest DigestOf(SimHost& host, const SaveEntries& save) {
  World& w = host.world;
  WorldDigest d;
  if (const SimEntity* player = w.Find(w.player.ped)) {
    d.player = player->position;
    d.heading = player->heading;
  }
  Hasher peds, vehicles, objects;
  for (const auto& [handle, e] : w.entities) {
    if (handle == w.player.ped) continue;
    int32_t& count = e.kind == EntityKind::Ped       ? d.peds
                     : e.kind == EntityKind::Vehicle ? d.vehicles
                                                     : d.objects;
    Hasher& h = e.kind == EntityKind::Ped       ? peds
                : e.kind == EntityKind::Vehicle ? vehicles
                                                : objects;
    ++count;
    h.Add(handle);
    h.Add(e.model);
    h.Add(e.position.x);
    h.Add(e.position.y);
    h.Add(e.position.z);
    h.Add(e.heading);
    h.Add(e.dead);
  }
  d.pedsHash = peds.Value();
  d.vehiclesHash = vehicles.Value();
  d.objectsHash = objects.Value();
  Hasher world;
  world.Add(w.scene.money);
  world.Add(w.life.wantedLevel);
  world.Add(w.life.deaths);
  world.Add(w.player.dead);
  world.Add(w.mission.playerVehicle);
  world.Add(w.trains.carried);
  world.Add(w.nextHandle);
  d.world = world.Value();
  d.save = SaveDigest(save);
  return d;
}

std::vector<std::string> Differences(const WorldDigest& recorded, const WorldDigest& replayed,
                                     const SaveEntries& recordedSave,
                                     const SaveEntries& replayedSave) {
  std::vector<std::string> lines;
  if (recorded.player.x != replayed.player.x || recorded.player.y != replayed.player.y ||
      recorded.player.z != replayed.player.z || recorded.heading != replayed.heading)
    lines.push_back("the player's position: recorded " + Where(recorded.player, recorded.heading) +
                    ", replayed " + Where(replayed.player, replayed.heading));
  auto counted = [&](const char* what, int32_t a, uint64_t ha, int32_t b, uint64_t hb) {
    if (a == b && ha == hb) return;
    lines.push_back(std::string(what) + ": recorded " + std::to_string(a) + ", replayed " +
                    std::to_string(b) +
                    (a == b ? " (the same count, in other places or states)" : ""));
  };
  counted("the peds", recorded.peds, recorded.pedsHash, replayed.peds, replayed.pedsHash);
  counted("the vehicles", recorded.vehicles, recorded.vehiclesHash, replayed.vehicles,
          replayed.vehiclesHash);
  counted("the objects", recorded.objects, recorded.objectsHash, replayed.objects,
          replayed.objectsHash);
  if (recorded.world != replayed.world)
    lines.push_back(
        "the world's state (money, wanted level, deaths, the vehicle ridden, the body "
        "carried, the entities made)");
  if (recorded.save != replayed.save) {
    bool named = false;
    auto compare = [&](const SaveEntries& from, const SaveEntries& other) {
      for (const auto& [key, value] : from) {
        auto it = other.find(key);
        if (it != other.end() && it->second == value) continue;
        if (&from == &replayedSave && it != other.end()) continue;  // told in the first pass
        lines.push_back("the save file's [" + key.first + "] " + key.second + ": recorded " +
                        Quoted(recordedSave, key) + ", replayed " + Quoted(replayedSave, key));
        named = true;
      }
    };
    compare(recordedSave, replayedSave);
    compare(replayedSave, recordedSave);
    if (!named) lines.push_back("the save file (its keys were not recorded)");
  }
  return lines;
}

std::string ThisProgramBuild() {
  std::ifstream in("/proc/self/exe", std::ios::binary);
  if (!in) return "unknown";
  Hasher h;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    h.Bytes(reinterpret_cast<const unsigned char*>(buffer), static_cast<size_t>(in.gcount()));
  char text[32];
  std::snprintf(text, sizeof text, "sim-%08llx", static_cast<unsigned long long>(h.Value() >> 32));
  return text;
}

SessionRecorder::SessionRecorder(const std::filesystem::path& path, const RecordedStart& start,
                                 std::filesystem::path savePath)
    : savePath_(std::move(savePath)) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  file_ = std::fopen(path.string().c_str(), "wb");
  if (!file_) return;
  const std::string line = StartLine(start);
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
  ++lines_;
  if (start.save) {
    for (const SaveEntry& e : ParseSaveText(*start.save))
      save_[{e.section, e.key}] = e.value;
  }
}

SessionRecorder::~SessionRecorder() {
  if (file_) std::fclose(file_);
}

void SessionRecorder::Listen(SimHost& host) {
  host.onPlayerInput = [this, &host](const PlayerInput& input) { Input(host.Frame(), input); };
}

void SessionRecorder::Write(const RecordedEvent& event) {
  if (!file_) return;
  const std::string line = EventLine(event);
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
  ++lines_;
}

void SessionRecorder::Input(int64_t frame, const PlayerInput& input) {
  RecordedEvent e;
  e.type = RecordedEvent::Type::Player;
  e.frame = frame;
  e.player = input;
  Write(e);
}

void SessionRecorder::Command(int64_t frame, const LiveCommand& command) {
  // Pause and speed change only the pace, not what the game does; a rewind is not a moment of
  // the session but a cut of its recording.
  using K = LiveCommand::Kind;
  if (command.kind == K::Pause || command.kind == K::Resume || command.kind == K::Step ||
      command.kind == K::Speed || command.kind == K::Rewind || command.kind == K::ReloadAndReplay)
    return;
  RecordedEvent e;
  e.type = RecordedEvent::Type::Command;
  e.frame = frame;
  e.command = command;
  Write(e);
}

void SessionRecorder::Relaunched(int64_t frame, const std::string& save) {
  RecordedEvent e;
  e.type = RecordedEvent::Type::Relaunch;
  e.frame = frame;
  e.value = save;
  Write(e);
  save_.clear();
  for (const SaveEntry& entry : ParseSaveText(save))
    save_[{entry.section, entry.key}] = entry.value;
}

void SessionRecorder::FrameEnded(SimHost& host) {
  const int32_t second = host.GameTime() / 1000;
  if (second == second_) return;
  second_ = second;
  Digest(host, RecordedEvent::Type::Digest);
}

void SessionRecorder::EndGame(SimHost& host) {
  Digest(host, RecordedEvent::Type::End);
}

void SessionRecorder::NewGame(std::filesystem::path savePath, const std::string& save) {
  savePath_ = std::move(savePath);
  save_.clear();
  for (const SaveEntry& entry : ParseSaveText(save))
    save_[{entry.section, entry.key}] = entry.value;
  second_ = 0;
}

void SessionRecorder::Finish(SimHost& host) {
  Digest(host, RecordedEvent::Type::End);
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void SessionRecorder::Digest(SimHost& host, RecordedEvent::Type type) {
  const SaveEntries now = ReadSaveEntries(savePath_);
  RecordedEvent change;
  change.type = RecordedEvent::Type::Save;
  change.frame = host.Frame();
  for (const auto& [key, value] : now) {
    auto it = save_.find(key);
    if (it != save_.end() && it->second == value) continue;
    change.section = key.first, change.key = key.second, change.value = value;
    Write(change);
  }
  for (const auto& [key, value] : save_) {
    if (now.count(key)) continue;
    change.section = key.first, change.key = key.second, change.value.reset();
    Write(change);
  }
  save_ = now;
  RecordedEvent e;
  e.type = type;
  e.frame = host.Frame();
  e.digest = DigestOf(host, now);
  Write(e);
}

}  // namespace brimvale::sim
