#include "player/playthrough.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "hook/host.h"
#include "hook/trace_json.h"
#include "pictures/markup.h"
#include "pictures/world_map.h"
#include "player/game_run.h"
#include "player/milestones.h"
#include "player/player.h"
#include "player/save_text.h"
#include "player/scenario.h"

namespace brimvale::sim {
namespace {

namespace fs = std::filesystem;

// More notice pictures than this would bury the screens the segments chose.
constexpr int kMaxNoticeShots = 40;

std::string ClockText(int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(ms / 60000),
                static_cast<long long>(ms / 1000 % 60));
  return text;
}

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  for (char ch : text) {
    switch (ch) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += ch;
    }
  }
  return out;
}

// A file name of lower-case letters, digits and dashes.
std::string Slug(std::string_view text) {
  std::string slug;
  for (char ch : text) {
    if (std::isalnum(static_cast<unsigned char>(ch))) {
      slug += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    } else if (!slug.empty() && slug.back() != '-') {
      slug += '-';
    }
    if (slug.size() >= 40) break;
  }
  while (!slug.empty() && slug.back() == '-')
    slug.pop_back();
  return slug.empty() ? "screen" : slug;
}

struct Milestone {
  int64_t frame;
  int32_t timeMs;
  std::string text;
};

struct Shot {
  std::string file;
  std::string name;
  int64_t frame;
  int32_t timeMs;
  size_t firstMilestone, endMilestone;  // the milestones since the previous picture
};

class Recorder {
 public:
  Recorder(SimHost& host, const PlayOptions& options, const ShotWriter& writeShot,
           const fs::path& savePath, std::ostream& out)
      : host_(host),
        options_(options),
        writeShot_(options.shots ? writeShot : ShotWriter{}),
        savePath_(savePath),
        out_(out),
        watcher_(host, savePath_) {
    if (options_.trace) {
      trace_ = std::fopen((options_.out / "trace.jsonl").string().c_str(), "wb");
      if (trace_) std::setvbuf(trace_, nullptr, _IOFBF, 1 << 20);
    }
  }
  ~Recorder() {
    if (trace_) std::fclose(trace_);
  }
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  bool TraceOpen() const { return !options_.trace || trace_; }

  void BeginPart(size_t index, size_t count, const Segment& segment) {
    part_ = segment.part;
    partIndex_ = index;
    partCount_ = count;
    Print(std::string("part ") + std::to_string(index + 1) + "/" + std::to_string(count) + ": " +
          segment.part + (segment.play ? "" : " - not built yet, skipped"));
  }

  // A milestone line with the frame and game time it happened at.
  void Say(const std::string& text) {
    milestones_.push_back({host_.Frame(), host_.GameTime(), text});
    Print("  [frame " + std::to_string(host_.Frame()) + ", " + ClockText(host_.GameTime()) + "] " +
          text);
  }

  // A long repetition of what was played and traced before keeps to the player's own lines and
  // leaves its calls out of the trace, with one line there that says which frames it left out.
  void Quiet(bool on) {
    if (on == quiet_) return;
    quiet_ = on;
    if (on) {
      quietFrom_ = host_.Frame() + 1;
      quietCalls_ = host_.NativeCalls();
      return;
    }
    const int64_t calls = host_.NativeCalls() - quietCalls_;
    if (trace_) {
      std::fprintf(trace_, "{\"frame\":%lld,\"untraced_frames\":%lld,\"untraced_calls\":%lld}\n",
                   static_cast<long long>(quietFrom_),
                   static_cast<long long>(host_.Frame() - quietFrom_ + 1),
                   static_cast<long long>(calls));
      Say("trace.jsonl leaves out frames " + std::to_string(quietFrom_) + " to " +
          std::to_string(host_.Frame()) + " (" + std::to_string(calls) + " calls)");
    }
  }

  void Screen(const std::string& name) {
    if (!writeShot_) return;
    // A second visit to the same screen gets a name of its own ("wardrobe-2").
    std::string slug = Slug(name);
    const int visit = ++visits_[slug];
    if (visit > 1) slug += "-" + std::to_string(visit);
    char number[16];
    std::snprintf(number, sizeof number, "%03zu-", shots_.size() + 1);
    const std::string file = number + slug + ".png";
    const std::string caption = options_.scenario + "  |  " + slug + "  |  frame " +
                                std::to_string(host_.Frame()) + "  |  game time " +
                                ClockText(host_.GameTime()) + "  |  seed " +
                                std::to_string(options_.seed);
    std::string error;
    ScreenFrame screen = CaptureScreen(host_, caption);
    screen.map = CaptureWorldMap(host_);
    if (!writeShot_(screen, (options_.out / file).string(), error)) {
      Print("  screenshot not written: " + error);
      return;
    }
    shots_.push_back(
        {file, slug, host_.Frame(), host_.GameTime(), shotMilestones_, milestones_.size()});
    shotMilestones_ = milestones_.size();
  }

  // Every frame: the trace written out, and what the game showed or saved turned into lines.
  void OnFrameEnd() {
    WriteTrace();
    watcher_.Watch([this](const std::string& line, bool notice) {
      if (!notice) {
        Watched(line);
        return;
      }
      // The first showing of a notice is told and pictured even inside a quiet repetition,
      // where it is news; one seen before is told only outside one.
      const bool firstShowing = shotNotices_.insert(line).second;
      if (quiet_ && !firstShowing) return;
      Say(line);
      if (firstShowing && noticeShots_ < kMaxNoticeShots) {
        ++noticeShots_;
        Screen(line);
      }
    });
    if (options_.progressBar && host_.Frame() % 15 == 0) DrawBar();
  }

  void Finish(bool finished, double wallSeconds) {
    if (options_.progressBar) out_ << "\r\033[K";
    if (trace_) std::fflush(trace_);
    std::error_code ec;
    const bool saved =
        fs::exists(savePath_) && fs::copy_file(savePath_, options_.out / "Brimvale.ini",
                                               fs::copy_options::overwrite_existing, ec);
    const size_t unknown = host_.UnknownNatives().size();
    std::ostringstream summary;
    summary << "summary:\n"
            << "  scenario           " << options_.scenario
            << (finished ? " (played to the end)" : " (did not finish)") << "\n"
            << "  frames             " << host_.Frame() << "\n";
    char minutes[32];
    std::snprintf(minutes, sizeof minutes, "%.1f", host_.GameTime() / 60000.0);
    char wall[32];
    std::snprintf(wall, sizeof wall, "%.1f s", wallSeconds);
    summary << "  simulated minutes  " << minutes << "\n"
            << "  native calls       " << host_.NativeCalls() << "\n"
            << "  unknown natives    " << unknown << "\n"
            << "  wall time          " << wall << "\n"
            << "  screenshots        " << shots_.size() << "\n"
            << "  save file          "
            << (saved ? (options_.out / "Brimvale.ini").string() : std::string("none written"))
            << "\n";
    if (options_.trace)
      summary << "  trace              " << (options_.out / "trace.jsonl").string() << "\n";
    summary << "  open               " << (options_.out / "index.html").string() << "\n";
    for (size_t i = 0; i < unknown && i < 10; ++i) {
      char hash[32];
      std::snprintf(hash, sizeof hash, "0x%016llX",
                    static_cast<unsigned long long>(host_.UnknownNatives()[i]));
      summary << "  unknown native     " << hash << "\n";
    }
    out_ << summary.str();
    WriteIndex(summary.str());
  }

 private:
  void Print(const std::string& line) {
    if (options_.progressBar) out_ << "\r\033[K";
    out_ << line << "\n";
    if (options_.progressBar) DrawBar();
  }

  // What the game showed or saved, told unless a repetition is under way.
  void Watched(const std::string& line) {
    if (!quiet_) Say(line);
  }

  void DrawBar() {
    constexpr size_t kWidth = 24;
    const size_t done = partCount_ ? kWidth * partIndex_ / partCount_ : 0;
    out_ << "\r\033[K[" << std::string(done, '#') << std::string(kWidth - done, '.') << "] "
         << part_ << "  frame " << host_.Frame() << "  " << ClockText(host_.GameTime())
         << std::flush;
  }

  // Written out every frame, outside a quiet repetition.
  void WriteTrace() {
    line_.clear();
    DrainTrace(host_, names_, [this](const TraceEntry& entry) {
      if (trace_ && !quiet_) AppendTraceJson(entry, names_, line_);
    });
    if (trace_ && !line_.empty()) std::fwrite(line_.data(), 1, line_.size(), trace_);
  }

  void WriteIndex(const std::string& summary) const {
    std::ofstream html(options_.out / "index.html", std::ios::binary | std::ios::trunc);
    html << "<!doctype html>\n<html><head><meta charset=\"utf-8\">\n<title>Brimvale playthrough: "
         << HtmlEscaped(options_.scenario) << "</title>\n<style>\n"
         << "body{background:#16181d;color:#ddd;font:15px sans-serif;margin:24px}\n"
         << "h1{font-size:22px}h2{font-size:17px;margin:0 0 6px}pre{color:#aab}\n"
         << "section{display:flex;gap:20px;align-items:flex-start;margin:0 0 28px}\n"
         << "section img{width:960px;max-width:60vw;border:1px solid #333}\n"
         << "ul{list-style:none;padding:0;margin:0;max-width:700px}li{margin:2px 0}\n"
         << ".when{color:#8a8f99;font-family:monospace;margin-right:8px}\n"
         << "</style></head><body>\n<h1>Brimvale playthrough: " << HtmlEscaped(options_.scenario)
         << "</h1>\n<pre>" << HtmlEscaped(summary) << "</pre>\n<p><a href=\"Brimvale.ini\">save "
         << "file</a>" << (options_.trace ? " &middot; <a href=\"trace.jsonl\">trace</a>" : "")
         << "</p>\n";
    auto lines = [&](size_t first, size_t end) {
      html << "<ul>\n";
      for (size_t i = first; i < end; ++i) {
        const Milestone& m = milestones_[i];
        html << "<li><span class=\"when\">frame " << m.frame << ", " << ClockText(m.timeMs)
             << "</span>" << HtmlEscaped(m.text) << "</li>\n";
      }
      html << "</ul>\n";
    };
    for (const Shot& shot : shots_) {
      html << "<section><a href=\"" << shot.file << "\"><img src=\"" << shot.file
           << "\" loading=\"lazy\" alt=\"" << shot.name << "\"></a><div><h2>" << shot.name
           << " <span class=\"when\">frame " << shot.frame << ", " << ClockText(shot.timeMs)
           << "</span></h2>\n";
      lines(shot.firstMilestone, shot.endMilestone);
      html << "</div></section>\n";
    }
    if (shotMilestones_ < milestones_.size()) {
      html << "<section><div><h2>after the last picture</h2>\n";
      lines(shotMilestones_, milestones_.size());
      html << "</div></section>\n";
    }
    html << "</body></html>\n";
  }

  SimHost& host_;
  const PlayOptions& options_;
  ShotWriter writeShot_;
  fs::path savePath_;
  std::ostream& out_;
  std::FILE* trace_ = nullptr;
  std::string line_;
  HashNames names_;
  bool quiet_ = false;
  int64_t quietFrom_ = 0, quietCalls_ = 0;

  std::string part_;
  size_t partIndex_ = 0, partCount_ = 0;
  std::vector<Milestone> milestones_;
  std::vector<Shot> shots_;
  size_t shotMilestones_ = 0;

  MilestoneWatcher watcher_;
  std::set<std::string> shotNotices_;
  std::map<std::string, int> visits_;  // screenshots taken of each screen name
  int noticeShots_ = 0;
};

// Pictures, the trace and the index of an earlier run, so that none is mistaken for this one's.
void ClearEarlierOutput(const fs::path& dir) {
  static const std::regex shot(R"(\d{3}-[a-z0-9-]+\.png)");
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    if (std::regex_match(name, shot) || name == "trace.jsonl" || name == "index.html" ||
        name == "Brimvale.ini")
      fs::remove(entry.path(), ec);
  }
}

// The game closed and started again from its save with the story's progress at 1, so that the
// free-roam parts can be played while the part before them is not built.
void RestartPastStory(SimHost& host, const GameDirectory& game, Player& player,
                      PlayListener* listener) {
  player.Say("restarting the game from the save with the story past it");
  host.UnloadPlugin();
  std::string save = game.SaveText();
  static const std::regex progress(R"((^|\n)Progress=[^\n]*)");
  if (ReadSaveValue(save, "Story", "Progress").empty()) {
    save +=
        (save.empty() || save.back() == '\n' ? "" : "\n") + std::string("[Story]\nProgress=1\n");
  } else {
    save = std::regex_replace(save, progress, "$1Progress=1");
  }
  game.WriteSave(save);
  if (listener) listener->Relaunched(host, save);
  host.LoadPlugin();
  host.RunFrames(30);
  StartCampaign(player);
}

}  // namespace

int RunPlaythrough(const PlayOptions& options, const ShotWriter& writeShot, std::ostream& out,
                   std::ostream& err) {
  const auto started = std::chrono::steady_clock::now();
  const Scenario* scenario = FindScenario(options.scenario);
  if (!scenario) {
    err << "brimvale-sim: unknown scenario '" << options.scenario << "' (see --help)\n";
    return 2;
  }
  std::string saveText = scenario->startSave ? scenario->startSave : "";
  // The player's file is read once and never written: the game directory gets a copy.
  std::string error;
  if (!options.save.empty() && !ReadStartSave(options.save, saveText, error)) {
    err << "brimvale-sim: " << error << "\n";
    return 2;
  }
  std::error_code ec;
  fs::create_directories(options.out, ec);
  if (ec || !fs::is_directory(options.out)) {
    err << "brimvale-sim: cannot make the output folder " << options.out.string() << ": "
        << ec.message() << "\n";
    return 2;
  }
  const fs::path outDir = fs::absolute(options.out);
  ClearEarlierOutput(outDir);
  PlayOptions opts = options;
  opts.out = outDir;

  HostConfig config;
  config.seed = opts.seed;
  config.frameMs = opts.frameMs;
  config.trace = opts.trace;
  GameRun run("brimvale_play_" + Slug(opts.scenario), saveText, config);
  SimHost& host = run.host;
  Recorder recorder(host, opts, writeShot, run.SavePath(), out);
  if (!recorder.TraceOpen()) {
    err << "brimvale-sim: cannot write " << (outDir / "trace.jsonl").string() << "\n";
    return 2;
  }
  PlayListener* listener = opts.listener;
  host.onFrameEnd = [&recorder, listener](SimHost& h) {
    recorder.OnFrameEnd();
    if (listener) listener->FrameEnded(h);
  };

  out << "scenario " << scenario->name << ": " << scenario->summary << "\n";
  if (!opts.save.empty()) out << "starting from a copy of " << opts.save.string() << "\n";
  DiscardedOutput quiet;
  Player player{host, quiet};
  player.report.milestone = [&recorder](SimHost&, const std::string& line) { recorder.Say(line); };
  player.report.screen = [&recorder](SimHost&, const std::string& name) { recorder.Screen(name); };
  player.report.quiet = [&recorder](SimHost&, bool on) { recorder.Quiet(on); };

  if (listener) listener->Starting(host, *scenario, saveText);
  StartScenarioGame(*scenario, host);
  const size_t count = scenario->segments.size();
  for (size_t i = 0; i < count && player.ok; ++i) {
    const Segment& segment = scenario->segments[i];
    recorder.BeginPart(i, count, segment);
    if (segment.play) {
      if (!segment.play(player)) player.ok = false;
    } else if (segment.storyPassesIt && i + 1 < count) {
      RestartPastStory(host, run.game, player, listener);
    }
  }
  host.RunFrames(2);
  if (listener) listener->Finished(host);
  const bool finished = player.ok;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  recorder.Finish(finished, wall);
  host.UnloadPlugin();
  host.onFrameEnd = nullptr;
  if (!host.UnknownNatives().empty()) return 1;
  return finished ? 0 : 1;
}

}  // namespace brimvale::sim
