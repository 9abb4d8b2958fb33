// The live game's recording: each game of the session kept as it plays, and a recording followed
// again from its start, as fast as the machine allows, its digests compared as it goes.
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

void LiveGame::BeginRecording(Session& session) {
  if (following_) followSave_ = EntriesOf(session.startSave);
  ++games_;
  if (options_.record.empty()) return;
  if (recorder_) {
    recorder_->NewGame(session.run.SavePath(), session.startSave);
    return;
  }
  RecordedStart start;
  start.source = "live";
  start.seed = options_.seed;
  start.frameMs = options_.frameMs;
  start.scenario = session.scenario;
  if (!session.startSave.empty()) start.save = session.startSave;
  start.build = options_.build;
  recorder_ = std::make_unique<SessionRecorder>(options_.record, start, session.run.SavePath());
  if (recorder_->Open()) {
    Note(session, "recording to " + options_.record.string());
  } else {
    Note(session, "cannot write the recording " + options_.record.string() + "; not recording");
    recorder_.reset();
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
  const bool atEnd =
      followNext_ >= events.size() ||
      (events[followNext_].type == T::End && events[followNext_].frame <= host.Frame()) ||
      (options_.followTo >= 0 && games_ == followGames_ && host.Frame() >= options_.followTo);
  if (!atEnd) {
    if (LiveClock::now() - session.lastPublish >= std::chrono::milliseconds(100)) {
      session.progress = "replaying the recording: frame " + std::to_string(host.Frame()) + " of " +
                         std::to_string(options_.followTo >= 0 ? options_.followTo : last);
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
  session.paused = true;
  session.steps = 0;
  Note(session,
       "replayed the recording to frame " + std::to_string(host.Frame()) +
           (followed_.diverged ? " (it differed from frame " + std::to_string(followed_.frame) + ")"
                               : " (every digest matched)") +
           "; paused");
  Publish(session);
  return false;
}

}  // namespace brimvale::sim
