// What the plugin drew and posted: the frame's draw list, notices, sounds, texture dictionaries.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/native/invoke.h"
#include "world/dictionaries.h"

namespace brimvale::sim {

struct DrawnText {
  std::string text;    // as passed, markup included
  std::string plain;   // without the FONT tags
  bool title = false;  // drawn with the white title tag
  float x = 0.0f, y = 0.0f;
  float scaleX = 1.0f, scaleY = 1.0f;
  int32_t r = 255, g = 255, b = 255, a = 255;
  int order = 0;  // position among all items of the frame
};

struct DrawnSprite {
  std::string dict, texture;
  float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f, heading = 0.0f;
  int32_t r = 0, g = 0, b = 0, a = 0;
  bool flag = false;
  int order = 0;
};

struct DrawList {
  int64_t frame = 0;
  std::vector<DrawnText> texts;
  std::vector<DrawnSprite> sprites;
  int spritesNotDrawn = 0;  // their dictionary was not loaded

  // The first text whose words (markup left out) are exactly `plain`.
  const DrawnText* FindText(std::string_view plain) const {
    for (const DrawnText& t : texts)
      if (t.plain == plain) return &t;
    return nullptr;
  }
  const DrawnText* FindTextAt(float x, float y, float tolerance = 0.001f) const {
    for (const DrawnText& t : texts)
      if (t.x > x - tolerance && t.x < x + tolerance && t.y > y - tolerance && t.y < y + tolerance)
        return &t;
    return nullptr;
  }
  const DrawnSprite* FindSprite(std::string_view texture) const {
    for (const DrawnSprite& s : sprites)
      if (s.texture == texture) return &s;
    return nullptr;
  }
  int CountSprites(std::string_view texture) const {
    int n = 0;
    for (const DrawnSprite& s : sprites)
      if (s.texture == texture) ++n;
    return n;
  }
};

enum class NoticeKind { Help, Banner, Toast, Result };

// A notice as the game decoded it from the plugin's blocks.
struct Notice {
  NoticeKind kind = NoticeKind::Help;
  int64_t frame = 0;
  int32_t durationMs = 0;
  std::string text;  // the help or banner text, or the title
  std::string subtitle;
  Hash dict = 0, texture = 0;  // toast icon
  uint64_t lastSlot = 0;       // the block's closing slot (1 for toasts and results)
  int32_t flag1 = 0, flag2 = 0;
};

struct ObjectiveLine {
  std::string text;
  int64_t frame = 0;
  int steps = 0;  // calls of set, commit, show, keep made in that order (4 when complete)
};

struct FrontendSound {
  int64_t frame = 0;
  bool stop = false;
  std::string name, set;
  int32_t arg = 0, flag = 0;
};

struct UiWorld {
  DrawList current;    // being drawn this frame
  DrawList lastFrame;  // the last completed frame
  std::vector<Notice> notices;
  std::vector<ObjectiveLine> objectives;
  std::vector<FrontendSound> sounds;
  DictTable textureDicts;
  int64_t displayStrings = 0;  // made since the start

  const Notice* LastNotice(NoticeKind kind) const {
    for (auto it = notices.rbegin(); it != notices.rend(); ++it)
      if (it->kind == kind) return &*it;
    return nullptr;
  }
  std::string LastHelpText() const {
    const Notice* n = LastNotice(NoticeKind::Help);
    return n ? n->text : std::string();
  }
  int CountNotices(NoticeKind kind, std::string_view text) const {
    int count = 0;
    for (const Notice& n : notices)
      if (n.kind == kind && n.text == text) ++count;
    return count;
  }
  bool TextureDictLoaded(std::string_view name) const { return textureDicts.Loaded(name); }
};

}  // namespace brimvale::sim
