// Reads what the screen shows, as another program sees it: GetDC(NULL) and BitBlt.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace e2e {

// A copy of part of the screen, 0x00RRGGBB per pixel, rows from the top.
struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
  // The share of pixels, 0 to 1, that are exactly black.
  double blackShare() const;
};

// Copies the given rectangle of the screen; empty if the copy failed.
ScreenPixels captureScreen(const RECT& area);
// Copies a window's client area from the window's own pixels, whatever lies above it.
ScreenPixels captureWindow(HWND window);

}  // namespace e2e
