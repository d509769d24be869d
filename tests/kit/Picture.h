// A picture read back from the screen, a window or a replayed frame, the same on both
// platforms: 0xRRGGBB per pixel, rows from the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
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

// The next binary PPM picture (P6, 255 a channel, comment lines allowed in the header) of `in`,
// as grim and glretrace write them; an empty picture when there is none.
inline Picture readPpm(std::istream& in) {
  std::string magic;
  in >> magic;
  auto number = [&] {
    while (in >> std::ws && in.peek() == '#') in.ignore(1 << 20, '\n');
    int value = 0;
    in >> value;
    return value;
  };
  Picture picture{number(), number(), {}};
  const int maxValue = number();
  in.get();  // the one blank after the header
  if (magic != "P6" || maxValue != 255 || !in) return {};
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
  for (std::uint32_t& pixel : picture.pixels) {
    unsigned char rgb[3];
    if (!in.read(reinterpret_cast<char*>(rgb), 3)) return {};
    pixel = std::uint32_t{rgb[0]} << 16 | std::uint32_t{rgb[1]} << 8 | rgb[2];
  }
  return picture;
}

}  // namespace kit
