#include "ui/toolkit.h"

#include <cstring>

#include "core/native/hook.h"
#include "core/native/natives.h"

namespace brimvale {

UiState Ui;

namespace {

constexpr const char* kTitleOpen = "<FONT FACE='$title' COLOR='#FFFFFF'>";
constexpr const char* kPlainOpen = "<FONT FACE='$title'>";
constexpr const char* kClose = "</FONT>";

// Appends `part` to the text being composed at `out`, keeping room for the terminator.
size_t Append(char* out, size_t used, size_t room, const char* part) {
  if (!part) return used;
  const size_t length = std::strlen(part);
  const size_t take = used + length < room ? length : room - used;
  std::memcpy(out + used, part, take);
  return used + take;
}

// Copies open + text + close into the ring and returns the copy. A text too long for one slot
// is cut, but the closing tag is always kept so the game's markup stays balanced.
const char* CopyToRing(const char* open, const char* text, const char* close) {
  const size_t closeLength = close ? std::strlen(close) : 0;
  if (Ui.ringHead + kMaxComposedText > kTextRingSize) Ui.ringHead = 0;
  char* out = Ui.textRing + Ui.ringHead;
  const size_t bodyRoom = kMaxComposedText - 1 - closeLength;
  size_t used = Append(out, 0, bodyRoom, open);
  used = Append(out, used, bodyRoom, text);
  used = Append(out, used, kMaxComposedText - 1, close);
  out[used] = '\0';
  Ui.ringHead += used + 1;
  return out;
}

DisplayString Literal(const char* text) {
  return CreateVarString(kVarStringPlain, "LITERAL_STRING", CopyToRing(nullptr, text, nullptr));
}

void DisplayComposed(const char* open, const char* text, float x, float y, float xScale,
                     float yScale) {
  const DisplayString literal =
      CreateVarString(kVarStringPlain, "LITERAL_STRING", CopyToRing(open, text, kClose));
  const DisplayString coloured = CreateColorString(kVarStringColoured, "COLOR_STRING", 0, literal);
  DisplayText(coloured, x, y);
  SetTextScale(xScale, yScale);
}

uint64_t Slot(DisplayString s) {
  return static_cast<uint64_t>(s);
}

uint64_t Slot(int32_t value) {
  return static_cast<uint32_t>(value);  // 32-bit values travel zero-extended
}

}  // namespace

void DrawScreenSprite(const char* dict, const char* texture, ScreenRect rect, Colour colour,
                      float heading) {
  DrawSprite(dict, texture, rect.x, rect.y, rect.width, rect.height, heading, colour.r, colour.g,
             colour.b, colour.alpha, false);
}

void DrawTitleText(const char* text, float x, float y, float xScale, float yScale) {
  DisplayComposed(kTitleOpen, text, x, y, xScale, yScale);
}

void DrawText(const char* text, float x, float y, float xScale, float yScale, int32_t r, int32_t g,
              int32_t b, int32_t alpha) {
  DisplayComposed(kPlainOpen, text, x, y, xScale, yScale);
  SetTextColour(r, g, b, alpha);
}

void PlayMenuSound(const char* name, const char* soundSet, int32_t flag) {
  StopFrontendSound(name, soundSet);
  PlayFrontendSound(name, soundSet, 1, flag);
}

void ShowHelpText(const char* text, int32_t ms) {
  const uint64_t duration[4] = {Slot(ms), 0, 0, 0};
  const uint64_t block[2] = {0, Slot(Literal(text))};
  ShowHelpNotice(duration, block, 1);
}

void ShowObjective(const char* text) {
  SetObjectiveText(text);
  CommitObjectiveText();
  ShowObjectiveText();
  KeepObjectiveText();
}

void ShowBanner(const char* text) {
  const uint64_t duration[4] = {Slot(15000), 0, 0, 0};
  const uint64_t block[2] = {0, Slot(Literal(text))};
  ShowBannerNotice(duration, block, 1);
}

void ShowRewardToast(const char* title, const char* subtitle, const char* textureDict,
                     const char* texture, int32_t ms) {
  const uint64_t duration[4] = {Slot(ms), 0, 0, 0};
  const uint64_t block[8] = {0,
                             Slot(Literal(title)),
                             Slot(Literal(subtitle)),
                             0,
                             HashName(textureDict),
                             HashName(texture),
                             0,
                             1};
  ShowToastNotice(duration, block, 1, 1);
}

void ShowResultScreen(const char* title, const char* subtitle, int32_t ms) {
  const uint64_t duration[4] = {Slot(ms), 0, 0, 0};
  const uint64_t block[8] = {0, Slot(Literal(title)), Slot(Literal(subtitle)), 0, 0, 0, 0, 1};
  ShowResultNotice(duration, block, 1, 1);
}

void EnsureTextureDict(const char* name) {
  while (!HasTextureDictLoaded(name)) {
    RequestTextureDict(name, true);
    ScriptWait(500);
  }
}

bool PressPrompt(const char* text, const char* control, int32_t ms) {
  ShowHelpText(text, ms);
  return ControlJustPressed(kMenuPad, HashName(control));
}

}  // namespace brimvale
