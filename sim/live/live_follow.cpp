// The live game's recording: each game of the session kept as it plays, and a recording followed
// again from its start, as fast as the machine allows, its digests compared as it goes.
#include <cstdio>

#include "live/live_session.h"
#include "live/recorder.h"
#include "player/save_text.h"
#include "player/scenario.h"

namespace brimvale::sim {
namespace {

SaveEntries EntriesOf(const std::string& text) {
  SaveEntries entries;
  for (const SaveEntry& e : ParseSaveText(text))
    entries[{e.section, e.key}] = e.value;
  return entries;
}

}  // namespace

// The whole session again from its start, to `frame` of the game being played: the recording as
// it stands is followed at full speed and written anew beside the old one as it goes, so that what
// is done after the frame replaces the old future. A new build is loaded with the first game.
void LiveGame::Rewind(Session& session, int64_t frame, bool newBuild) {
  const int64_t now = session.host.Frame();
  const std::string what = newBuild ? "reload and replay" : "rewind";
  if (!recorder_) {
    Note(session, what + " needs the session's recording, and this session is not recorded");
    return;
  }
  if (frame < 0 || frame > now) {
    Note(session, "rewind refused: frame " + std::to_string(frame) + " is past now (frame " +
                      std::to_string(now) + ")");
    return;
  }
  if (newBuild && !session.shared) {
    Note(session,
         "reload and replay needs the plugin's shared library (brimvale-sim live --plugin FILE)");
    return;
  }
  auto recording = std::make_shared<Recording>();
  RecordingError error;
  if (!ReadRecordingFile(options_.record, *recording, error)) {
    Note(session, what + " refused: the session's recording cannot be read (line " +
                      std::to_string(error.line) + ": " + error.why + ")");
    return;
  }
  options_.follow = std::move(recording);
  options_.followTo = frame;
  rewinding_ = newBuild ? "replaying the session with the new build" : "rewinding";
  pausedAfterFollow_ = newBuild ? session.paused : true;
  speedAfterFollow_ = session.speed;
  rewindStarted_ = LiveClock::now();
  session.Leave(Leaving::Rewind);
}

void LiveGame::FollowFromStart(std::string& saveText, std::string& start) {
  saveText = options_.follow->start.save.value_or("");
  start = saveText.empty() ? options_.follow->start.scenario : "";
  following_ = true;
  followNext_ = 0;
  followed_ = {};
  games_ = 0;
  followGames_ = 1;
  for (const RecordedEvent& e : options_.follow->events)
    if (e.type == RecordedEvent::Type::Command && e.command.kind == LiveCommand::Kind::Restart)
      ++followGames_;
  // The rewound session is recorded from its start again, into a file of its own until it has
  // caught up: the old recording stays whole until then.
  if (!rewinding_.empty()) recorder_.reset();
}

namespace {

std::filesystem::path RewoundFile(const std::filesystem::path& record) {
  return record.string() + ".rewound";
}

}  // namespace

void LiveGame::BeginRecording(Session& session) {
  if (following_) followSave_ = EntriesOf(session.startSave);
  ++games_;
  if (options_.record.empty()) return;
  if (recorder_) {
    recorder_->NewGame(session.run.SavePath(), session.startSave);
    return;
  }
  const std::filesystem::path file =
      rewinding_.empty() ? options_.record : RewoundFile(options_.record);
  RecordedStart start;
  start.source = "live";
  start.seed = options_.seed;
  start.frameMs = options_.frameMs;
  start.scenario = session.scenario;
  if (!session.startSave.empty()) start.save = session.startSave;
  start.build = options_.build;
  recorder_ = std::make_unique<SessionRecorder>(file, start, session.run.SavePath());
  if (!recorder_->Open()) {
    Note(session, "cannot write the recording " + file.string() + "; not recording");
    recorder_.reset();
  } else if (rewinding_.empty()) {
    Note(session, "recording to " + options_.record.string());
  }
}

void LiveGame::EndRecording(Session& session) {
  if (recorder_) recorder_->EndGame(session.host);
  if (!following_) return;
  // The end of this game in the recording is reached with it.
  const std::vector<RecordedEvent>& events = options_.follow->events;
  using T = RecordedEvent::Type;
  while (followNext_ < events.size() && events[followNext_].type == T::Save)
    FollowSave(events[followNext_++]);
  if (followNext_ < events.size() && events[followNext_].type == T::End)
    CompareDigest(session, events[followNext_++]);
  if (session.leaving == Leaving::Stop) {
    followed_.frames = session.host.Frame();
    followed_.save = session.run.game.SaveText();
  }
}

void LiveGame::FollowSave(const RecordedEvent& e) {
  if (e.value)
    followSave_[{e.section, e.key}] = *e.value;
  else
    followSave_.erase({e.section, e.key});
}

void LiveGame::CompareDigest(Session& session, const RecordedEvent& event) {
  ++followed_.checked;
  if (followed_.diverged) return;
  const SaveEntries now = ReadSaveEntries(session.run.SavePath());
  std::vector<std::string> differences =
      Differences(event.digest, DigestOf(session.host, now), followSave_, now);
  if (differences.empty()) return;
  followed_.diverged = true;
  followed_.frame = event.frame;
  followed_.line = event.line;
  followed_.differences = std::move(differences);
  Note(session, "the replay differs from the recording at frame " + std::to_string(event.frame) +
                    ": " + followed_.differences.front() + "; it plays on from there");
  if (options_.headless) {
    session.Leave(Leaving::Stop);
    stopping_ = true;
  }
}

// The recorded input of this frame, applied as it was; true while the recording is followed (the
// frame then runs at once, without waiting for the clock or the page).
bool LiveGame::Follow(Session& session) {
  SimHost& host = session.host;
  const std::vector<RecordedEvent>& events = options_.follow->events;
  const int64_t last = events.empty() ? 0 : events.back().frame;
  using T = RecordedEvent::Type;
  while (followNext_ < events.size() && session.leaving == Leaving::No) {
    const RecordedEvent& e = events[followNext_];
    if (e.frame > host.Frame() || e.type == T::End) break;
    if (options_.followTo >= 0 && games_ == followGames_ && e.frame > options_.followTo) break;
    ++followNext_;
    if (e.type == T::Command) {
      Apply(session, e.command);
    } else if (e.type == T::Save) {
      FollowSave(e);
    } else if (e.type == T::Digest) {
      CompareDigest(session, e);
    }
  }
  if (stopping_) session.Leave(Leaving::Stop);
  if (session.leaving != Leaving::No) return true;
  // A frame asked for goes on past the recording's last input (a rewind to where the game stood,
  // a recording still being written), up to the recorded end of its game.
  const bool toFrame = options_.followTo >= 0 && games_ == followGames_;
  const bool atEnd = (followNext_ >= events.size() && !toFrame) ||
                     (followNext_ < events.size() && events[followNext_].type == T::End &&
                      events[followNext_].frame <= host.Frame()) ||
                     (toFrame && host.Frame() >= options_.followTo);
  if (!atEnd) {
    if (LiveClock::now() - session.lastPublish >= std::chrono::milliseconds(100)) {
      session.progress =
          (rewinding_.empty() ? std::string("replaying the recording") : rewinding_) + ": frame " +
          std::to_string(host.Frame()) +
          (followGames_ > 1 ? " of game " + std::to_string(games_) + " of " +
                                  std::to_string(followGames_) + ", to frame "
                            : " of ") +
          std::to_string(options_.followTo >= 0 ? options_.followTo : last) +
          (followed_.diverged ? "; it differs from frame " + std::to_string(followed_.frame)
                              : std::string());
      Publish(session);
    }
    return true;
  }
  if (followNext_ < events.size() && events[followNext_].type == T::End)
    CompareDigest(session, events[followNext_++]);
  following_ = false;
  followed_.frames = host.Frame();
  followed_.save = session.run.game.SaveText();
  session.progress.clear();
  if (options_.headless) {
    session.Leave(Leaving::Stop);
    stopping_ = true;
    return true;
  }
  FollowEnded(session);
  return false;
}

// The game goes on live where the followed recording was left: paused after a rewind or a
// recording given at the start, as it was after a reload and replay.
void LiveGame::FollowEnded(Session& session) {
  SimHost& host = session.host;
  host.config.trace = true;
  session.paused = true;
  session.steps = 0;
  const std::string matched = followed_.diverged
                                  ? " (it differed from frame " + std::to_string(followed_.frame) +
                                        ": " + followed_.differences.front() + ")"
                                  : " (every digest matched)";
  if (rewinding_.empty()) {
    Note(session,
         "replayed the recording to frame " + std::to_string(host.Frame()) + matched + "; paused");
    Publish(session);
    return;
  }
  std::error_code ec;
  if (recorder_) std::filesystem::rename(RewoundFile(options_.record), options_.record, ec);
  if (ec) Note(session, "the rewound recording stays in " + RewoundFile(options_.record).string());
  session.paused = pausedAfterFollow_;
  session.speed = speedAfterFollow_;
  session.deadline = LiveClock::now();
  char took[32];
  std::snprintf(took, sizeof took, " in %.2f s",
                std::chrono::duration<double>(LiveClock::now() - rewindStarted_).count());
  replayed_ =
      (rewinding_ == "rewinding" ? "rewound to frame " + std::to_string(host.Frame())
                                 : "replayed the session with build " + LoadedPluginBuild().id +
                                       " to frame " + std::to_string(host.Frame())) +
      took + matched + (session.paused ? "; paused" : "");
  rewinding_.clear();
  Note(session, replayed_);
  Publish(session);
}

}  // namespace brimvale::sim
