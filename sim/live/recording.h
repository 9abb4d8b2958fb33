// A recorded session: one JSON object a line. The first says where the game started (the seed,
// a new game or a scenario, the save file's text when given one, the plugin build); then each
// input with the frame after which the game thread applied it, each change of the save file, a
// restart of the game from a save, and, once a game-second and at the end, a digest of the world
// and the save file. Written as the
// session goes, so a session that dies keeps what it had. The reader trusts nothing in the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hook/host.h"
#include "live/live_game.h"

namespace brimvale::sim {

inline constexpr size_t kMaxRecordingLine = 64 * 1024;
inline constexpr size_t kMaxRecordedSave = 32 * 1024;
inline constexpr uintmax_t kMaxRecordingFile = 256u * 1024 * 1024;

struct RecordedStart {
  std::string source = "live";  // "live": the page's input; "play": the scripted player's
  uint32_t seed = 1;
  double frameMs = 1000.0 / 30.0;
  std::string scenario;       // the scenario whose save the game started from; empty: a new game
  bool scenarioGame = false;  // the scenario's own game set-up was made before the plugin loaded
  std::optional<std::string> save;  // the text of the save file the game started from
  std::string build;                // the plugin build that played
};

// What the world and the save file were at the end of a frame. The player's place is kept as it
// is, so a difference can be told; the rest as counts and hashes.
struct WorldDigest {
  Vector3 player{};
  float heading = 0.0f;
  int32_t peds = 0, vehicles = 0, objects = 0;
  uint64_t pedsHash = 0, vehiclesHash = 0, objectsHash = 0;
  uint64_t world = 0;  // money, wanted level, the player's death, the blips
  uint64_t save = 0;
};

struct RecordedEvent {
  enum class Type { Command, Player, Save, Relaunch, Digest, End };
  Type type = Type::Command;
  int line = 0;
  int64_t frame = 0;
  LiveCommand command;               // Command: Key, WalkTo, TeleportTo, PlayForMe, Restart, Reload
  PlayerInput player;                // Player
  std::string section, key;          // Save
  std::optional<std::string> value;  // Save: empty when the key went; Relaunch: the save's text
  WorldDigest digest;                // Digest, End
};

struct Recording {
  RecordedStart start;
  std::vector<RecordedEvent> events;
  bool ended = false;  // the last line is the end's digest
};

struct RecordingError {
  int line = 0;  // 0: the file as a whole
  std::string why;
};

// The whole text, or the first line it cannot use.
bool ParseRecording(std::string_view text, Recording& recording, RecordingError& error);
bool ReadRecordingFile(const std::filesystem::path& path, Recording& recording,
                       RecordingError& error);

// One line each, with its newline.
std::string StartLine(const RecordedStart& start);
std::string EventLine(const RecordedEvent& event);

// Sixteen hex digits.
std::string HexHash(uint64_t hash);

}  // namespace brimvale::sim
