// Text, sprites, notices, front-end sounds and texture dictionaries.
#include "hook/host.h"

namespace brimvale::sim {
namespace {

// The words of a drawn text without the FONT tags the plugin wraps around them.
std::string StripFontTags(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text.substr(i, 5) == "<FONT" || text.substr(i, 7) == "</FONT>") {
      const size_t end = text.find('>', i);
      if (end == std::string_view::npos) break;
      i = end + 1;
      continue;
    }
    out += text[i++];
  }
  return out;
}

int NextOrder(const DrawList& list) {
  return static_cast<int>(list.texts.size() + list.sprites.size()) + list.spritesNotDrawn;
}

// A display string is the game's own copy of the text; its pointer is what the plugin passes on.
const char* TextOf(uint64_t slot) {
  const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(slot));
  return text ? text : "";
}

// The game reads a notice's blocks during the call.
Notice ReadNotice(SimHost& h, const NativeCall& c, NoticeKind kind, int blockSlots) {
  Notice n;
  n.kind = kind;
  n.frame = h.Frame();
  const uint64_t* duration = c.Ptr<const uint64_t>(0);
  const uint64_t* block = c.Ptr<const uint64_t>(1);
  if (duration) n.durationMs = static_cast<int32_t>(static_cast<uint32_t>(duration[0]));
  if (block) {
    n.text = TextOf(block[1]);
    if (blockSlots == 8) {
      n.subtitle = TextOf(block[2]);
      n.dict = static_cast<Hash>(block[4]);
      n.texture = static_cast<Hash>(block[5]);
      n.lastSlot = block[7];
    }
  }
  n.flag1 = c.Int(2);
  n.flag2 = c.Int(3);
  return n;
}

void RecordObjectiveStep(SimHost& h, int step) {
  auto& lines = h.world.ui.objectives;
  if (!lines.empty() && lines.back().steps == step - 1) lines.back().steps = step;
}

// Texts and sprites into the frame's draw list.
void RegisterDrawingNatives(SimHost& host) {
  // Both display-string shapes share the hash: (10, "LITERAL_STRING", text) and
  // (42, "COLOR_STRING", 0, literal display string).
  host.On(CreateVarString, [](SimHost& h, const NativeCall& c) {
    const char* text = c.Int(0) == 42 ? TextOf(c.Slot(3)) : c.Str(2);
    ++h.world.ui.displayStrings;
    c.ReturnPtr(h.GameString(text));
  });
  host.On(DisplayText, [](SimHost& h, const NativeCall& c) {
    DrawList& list = h.world.ui.current;
    DrawnText t;
    t.text = TextOf(c.Slot(0));
    t.plain = StripFontTags(t.text);
    t.title = t.text.find("COLOR='#FFFFFF'") != std::string::npos;
    t.x = c.Float(1);
    t.y = c.Float(2);
    t.order = NextOrder(list);
    list.texts.push_back(std::move(t));
  });
  // Scale and colour apply to the text just displayed, in the order the plugin calls them.
  host.On(SetTextScale, [](SimHost& h, const NativeCall& c) {
    auto& texts = h.world.ui.current.texts;
    if (texts.empty()) return;
    texts.back().scaleX = c.Float(0);
    texts.back().scaleY = c.Float(1);
  });
  host.On(SetTextColour, [](SimHost& h, const NativeCall& c) {
    auto& texts = h.world.ui.current.texts;
    if (texts.empty()) return;
    texts.back().r = c.Int(0);
    texts.back().g = c.Int(1);
    texts.back().b = c.Int(2);
    texts.back().a = c.Int(3);
  });
  host.On(DrawSprite, [](SimHost& h, const NativeCall& c) {
    DrawList& list = h.world.ui.current;
    if (!h.world.ui.TextureDictLoaded(c.Str(0))) {
      ++list.spritesNotDrawn;
      return;
    }
    DrawnSprite s;
    s.dict = c.Str(0);
    s.texture = c.Str(1);
    s.x = c.Float(2);
    s.y = c.Float(3);
    s.width = c.Float(4);
    s.height = c.Float(5);
    s.heading = c.Float(6);
    s.r = c.Int(7);
    s.g = c.Int(8);
    s.b = c.Int(9);
    s.a = c.Int(10);
    s.flag = c.Bool(11);
    s.order = NextOrder(list);
    list.sprites.push_back(std::move(s));
  });
}

}  // namespace

void RegisterUiNatives(SimHost& host) {
  RegisterDrawingNatives(host);
  host.On(StopFrontendSound, [](SimHost& h, const NativeCall& c) {
    h.world.ui.sounds.push_back(FrontendSound{h.Frame(), true, c.Str(0), c.Str(1), 0, 0});
  });
  host.On(PlayFrontendSound, [](SimHost& h, const NativeCall& c) {
    h.world.ui.sounds.push_back(
        FrontendSound{h.Frame(), false, c.Str(0), c.Str(1), c.Int(2), c.Int(3)});
  });

  host.On(ShowHelpNotice, [](SimHost& h, const NativeCall& c) {
    h.world.ui.notices.push_back(ReadNotice(h, c, NoticeKind::Help, 2));
  });
  host.On(ShowBannerNotice, [](SimHost& h, const NativeCall& c) {
    h.world.ui.notices.push_back(ReadNotice(h, c, NoticeKind::Banner, 2));
  });
  host.On(ShowToastNotice, [](SimHost& h, const NativeCall& c) {
    h.world.ui.notices.push_back(ReadNotice(h, c, NoticeKind::Toast, 8));
  });
  host.On(ShowResultNotice, [](SimHost& h, const NativeCall& c) {
    h.world.ui.notices.push_back(ReadNotice(h, c, NoticeKind::Result, 8));
  });

  host.On(SetObjectiveText, [](SimHost& h, const NativeCall& c) {
    h.world.ui.objectives.push_back(ObjectiveLine{c.Str(0), h.Frame(), 1});
  });
  host.On(CommitObjectiveText, [](SimHost& h, const NativeCall&) { RecordObjectiveStep(h, 2); });
  host.On(ShowObjectiveText, [](SimHost& h, const NativeCall&) { RecordObjectiveStep(h, 3); });
  host.On(KeepObjectiveText, [](SimHost& h, const NativeCall&) { RecordObjectiveStep(h, 4); });

  host.On(HasTextureDictLoaded, [](SimHost& h, const NativeCall& c) {
    c.ReturnBool(h.world.ui.TextureDictLoaded(c.Str(0)));
  });
  host.On(RequestTextureDict, [](SimHost& h, const NativeCall& c) {
    h.world.ui.textureDicts.Request(c.Str(0), h.config.textureLoadFrames);
  });
  host.On(ReleaseTextureDict,
          [](SimHost& h, const NativeCall& c) { h.world.ui.textureDicts.Release(c.Str(0)); });
}

// The frame is drawn: what the plugin displayed becomes the last frame, and dictionaries being
// loaded move one frame closer.
void EndFrameUi(SimHost& host) {
  UiWorld& ui = host.world.ui;
  ui.current.frame = host.Frame();
  ui.lastFrame = std::move(ui.current);
  ui.current = DrawList{};
  ui.textureDicts.Tick();
}

}  // namespace brimvale::sim
