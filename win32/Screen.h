// What the program reads of the screen: its pixels per inch, and the monitor a window is on.
#pragma once

#include <windows.h>

// The screen's pixels per inch (96 at 100 % scaling), as the calling thread sees it.
inline int ScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return pixelsPerInch;
}

// The rectangle of the monitor that holds most of `window` (the primary one when none does),
// in virtual-screen pixels. When the system cannot describe that monitor, the primary
// monitor's rectangle, which starts at the origin.
inline RECT MonitorRectOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info) != 0) {
    return info.rcMonitor;
  }
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
