// Screen and window copies through a top-down 32-bit DIB section, so pixels need no conversion.
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

namespace {

// Copies width x height pixels from `source` at `origin`; empty if the copy failed.
ScreenPixels copyFrom(HDC source, POINT origin, int width, int height) {
  ScreenPixels copy;
  if (source == nullptr || width <= 0 || height <= 0) return copy;

  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;

  HDC memory = CreateCompatibleDC(source);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(source, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, source, origin.x, origin.y, SRCCOPY)) {
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
  return copy;
}

}  // namespace

ScreenPixels captureScreen(const RECT& area) {
  HDC screen = GetDC(nullptr);
  ScreenPixels copy = copyFrom(screen, POINT{area.left, area.top}, area.right - area.left, area.bottom - area.top);
  ReleaseDC(nullptr, screen);
  return copy;
}

ScreenPixels captureWindow(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  HDC own = GetDC(window);
  ScreenPixels copy = copyFrom(own, POINT{0, 0}, client.right, client.bottom);
  if (own != nullptr) ReleaseDC(window, own);
  return copy;
}

}  // namespace e2e
