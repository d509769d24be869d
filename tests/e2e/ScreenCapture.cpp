// Screen copies through a top-down 32-bit DIB section, so pixels need no conversion.
#include "tests/e2e/ScreenCapture.h"

#include <algorithm>
#include <cstring>

namespace e2e {

double ScreenPixels::blackShare() const {
  if (pixels.empty()) return 0.0;
  const auto black = std::count_if(pixels.begin(), pixels.end(),
                                   [](std::uint32_t pixel) { return (pixel & 0xFFFFFF) == 0; });
  return static_cast<double>(black) / static_cast<double>(pixels.size());
}

ScreenPixels captureScreen(const RECT& area) {
  ScreenPixels copy;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return copy;

  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
      GdiFlush();
      copy.width = width;
      copy.height = height;
      copy.pixels.resize(static_cast<size_t>(width) * height);
      std::memcpy(copy.pixels.data(), bits, copy.pixels.size() * sizeof(std::uint32_t));
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copy;
}

}  // namespace e2e
