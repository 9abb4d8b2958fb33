// Keeps a session as it plays: the start, each input with the frame it was applied after, and
// once a game-second and at the end the world's digest and the save file's changes. Each line is
// flushed as it is written, so a session that dies keeps what it had.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "live/recording.h"
#include "player/milestones.h"

namespace brimvale::sim {

// What the world and the save file are at the end of this frame.
WorldDigest DigestOf(SimHost& host, const SaveEntries& save);
uint64_t SaveDigest(const SaveEntries& save);

// Lines that name what differs between a recorded digest and the one the replay reached; empty
// when they agree. `recordedSave` is the save file as the recording's changes build it.
std::vector<std::string> Differences(const WorldDigest& recorded, const WorldDigest& replayed,
                                     const SaveEntries& recordedSave,
                                     const SaveEntries& replayedSave);

// An id of the running program's own bytes: a change of the linked-in plugin changes it.
std::string ThisProgramBuild();

class SessionRecorder {
 public:
  // Starts the file with its start line; Open() says whether it could.
  SessionRecorder(const std::filesystem::path& path, const RecordedStart& start,
                  std::filesystem::path savePath);
  ~SessionRecorder();
  SessionRecorder(const SessionRecorder&) = delete;
  SessionRecorder& operator=(const SessionRecorder&) = delete;

  bool Open() const { return file_ != nullptr; }
  // Told the host's player input from now on.
  void Listen(SimHost& host);
  void Input(int64_t frame, const PlayerInput& input);
  void Command(int64_t frame, const LiveCommand& command);
  void Relaunched(int64_t frame, const std::string& save);
  // Every frame's end: a digest when a game-second has begun.
  void FrameEnded(SimHost& host);
  // The end of one game's digest: the live session goes on with a new game from `save`, its
  // save file at `savePath`.
  void EndGame(SimHost& host);
  void NewGame(std::filesystem::path savePath, const std::string& save);
  // The last digest; nothing is written after it.
  void Finish(SimHost& host);
  int64_t Lines() const { return lines_; }

 private:
  void Write(const RecordedEvent& event);
  void Digest(SimHost& host, RecordedEvent::Type type);

  std::FILE* file_ = nullptr;
  std::filesystem::path savePath_;
  SaveEntries save_;
  int32_t second_ = 0;
  int64_t lines_ = 0;
};

}  // namespace brimvale::sim
