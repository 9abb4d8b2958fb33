// Pictures of what the player sees, drawn with cairo from a captured frame: sprites as rectangles
// in their colour and alpha with their texture name, text with the game's markup applied, the
// notices in their usual places, on a dark background with a caption. Linux only: the host's core
// builds without it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/screen_frame.h"

namespace brimvale::sim {

inline constexpr int kScreenWidth = 1920;
inline constexpr int kScreenHeight = 1080;

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
