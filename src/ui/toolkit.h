// Drawing text and sprites, front-end sounds, notices and press prompts. Everything is drawn
// anew each frame or posted once as a game notice.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brimvale {

// Composed texts are copied here before the game gets them: the game reads a drawn text when it
// renders the frame, after the call returned. A ring keeps every copy alive for the next
// kTextRingSize bytes of texts (many frames' worth) and never grows.
inline constexpr size_t kTextRingSize = 64 * 1024;
// The longest text one call keeps, markup included; longer texts are cut.
inline constexpr size_t kMaxComposedText = 2048;

struct UiState {
  char textRing[kTextRingSize] = {};
  size_t ringHead = 0;  // where the next copy starts
};
extern UiState Ui;

// A sprite's centre and size, as fractions of the screen, and its colour and alpha (0 to 255).
struct ScreenRect {
  float x, y, width, height;
};
struct Colour {
  int32_t r, g, b, alpha;
};
inline constexpr Colour kWhite{255, 255, 255, 255};

// A texture of a loaded dictionary, drawn this frame turned by `heading` degrees.
void DrawScreenSprite(const char* dict, const char* texture, ScreenRect rect,
                      Colour colour = kWhite, float heading = 0.0f);
// White title-font text at (x, y), as fractions of the screen.
void DrawTitleText(const char* text, float x, float y, float xScale, float yScale);
// Title-font text in the given colour.
void DrawText(const char* text, float x, float y, float xScale, float yScale, int32_t r, int32_t g,
              int32_t b, int32_t alpha);
// Stops, then plays, the named front-end sound of the set.
void PlayMenuSound(const char* name, const char* soundSet, int32_t flag);
void ShowHelpText(const char* text, int32_t ms);
void ShowObjective(const char* text);
void ShowBanner(const char* text);  // always 15000 ms
void ShowRewardToast(const char* title, const char* subtitle, const char* textureDict,
                     const char* texture, int32_t ms);
void ShowResultScreen(const char* title, const char* subtitle, int32_t ms);
// Requests the dictionary until it is loaded (500 ms between requests); a loaded one costs one
// check.
void EnsureTextureDict(const char* name);
// A press prompt: the help text for `ms`, then whether `control` was just pressed on pad 2.
bool PressPrompt(const char* text, const char* control, int32_t ms);

}  // namespace brimvale
