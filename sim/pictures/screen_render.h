// Pictures of what the player sees, from a captured frame: sprites as rectangles in their colour
// and alpha with their texture name, text with the game's markup applied, the notices in their
// usual places, on a dark background with a caption. The frame is laid out once into a list of
// positioned draw items; cairo paints that list into the PNG screenshots and the live page's
// canvas paints the same list, so the two cannot drift. Linux only: the host's core builds
// without it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/screen_frame.h"

namespace brimvale::sim {

inline constexpr int kScreenWidth = 1920;
inline constexpr int kScreenHeight = 1080;

struct DrawColour {
  double r = 1.0, g = 1.0, b = 1.0, a = 1.0;
};

enum class DrawKind {
  Gradient,  // the whole screen, `fill` at the top to `stroke` at the bottom
  Line,      // from (x, y) to (x + w, y + h)
  Wash,      // the whole screen in `fill`
  Box,       // centred on (x, y), turned by `rotation` degrees; `text` is its label, in `ink`
  RoundBox,  // top-left (x, y), corners of `radius`
  Band,      // across the screen from y to y + h, fading out at both sides to `fill`'s alpha
  Text,      // `text` from (x, baseline y); outlined in `stroke` when strokeWidth > 0
};

// One positioned thing to paint, in pixels of the laid-out size. Any item is squeezed
// horizontally by `scaleX` about `originX` (the game's own text x scale).
struct DrawItem {
  DrawKind kind = DrawKind::Wash;
  double x = 0, y = 0, w = 0, h = 0;
  double rotation = 0, radius = 0;
  DrawColour fill, stroke, ink;
  double strokeWidth = 0;
  std::string text;
  double size = 0;  // font size of a text or a box's label
  bool serif = false, bold = false;
  double originX = 0, scaleX = 1;
};

struct ScreenDrawing {
  int width = 0, height = 0;
  std::vector<DrawItem> items;  // in painting order
};

// The frame laid out at the given size (text measured with the fonts the pictures use).
ScreenDrawing LayOutScreen(const ScreenFrame& screen, int width = kScreenWidth,
                           int height = kScreenHeight);

struct ScreenImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, row by row

  uint32_t Pixel(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

ScreenImage RenderScreen(const ScreenFrame& screen, int width = kScreenWidth,
                         int height = kScreenHeight);

// Renders and writes a PNG file; false (with the reason in `error`) when it cannot be written.
bool WriteScreenPng(const ScreenFrame& screen, const std::string& path, std::string& error,
                    int width = kScreenWidth, int height = kScreenHeight);

}  // namespace brimvale::sim
