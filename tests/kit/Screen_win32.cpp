// Screen and window copies through a top-down 32-bit DIB section, so pixels need no conversion.
#include "tests/kit/Screen_win32.h"

#include <cstring>

namespace kit {
namespace {

// Copies width x height pixels from `source` at `origin`; empty if the copy failed.
Picture copyFrom(HDC source, POINT origin, int width, int height) {
  Picture copy;
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
      for (std::uint32_t& pixel : copy.pixels) pixel &= 0xFFFFFF;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  return copy;
}

}  // namespace

RECT screenRect() {
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Picture captureScreen(const RECT& area) {
  HDC screen = GetDC(nullptr);
  Picture copy =
      copyFrom(screen, POINT{area.left, area.top}, area.right - area.left, area.bottom - area.top);
  ReleaseDC(nullptr, screen);
  return copy;
}

Picture captureWindow(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  HDC own = GetDC(window);
  Picture copy = copyFrom(own, POINT{0, 0}, client.right, client.bottom);
  if (own != nullptr) ReleaseDC(window, own);
  return copy;
}

}  // namespace kit
