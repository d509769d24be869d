// A picture read back from the screen, a window or a replayed frame, the same on both
// platforms: 0xRRGGBB per pixel, rows from the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kit {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A pixel's channels, 0 to 255.
inline int red(std::uint32_t pixel) {
  return static_cast<int>((pixel >> 16) & 0xFF);
}
inline int green(std::uint32_t pixel) {
  return static_cast<int>((pixel >> 8) & 0xFF);
}
inline int blue(std::uint32_t pixel) {
  return static_cast<int>(pixel & 0xFF);
}

}  // namespace kit
