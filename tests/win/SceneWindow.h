// A plain window for the scene in tests and benchmarks: a borderless form of a chosen
// client size and colour, built from layout text, and ways to read back what was drawn
// (OpenGL's back buffer, or the screen through GDI).
#pragma once

#include <windows.h>

#include <cstdint>

#include "tests/kit/Picture.h"

#include "win32/Forms.h"

// A borderless form with nothing on it, placed at the desktop's top-left corner.
class TSceneF : public TForm {
public:
  TSceneF(TComponent* owner, int clientWidth, int clientHeight, TColor color = 0x000000);
  // Gives the client area a new size without moving the window.
  void SetClientSize(int clientWidth, int clientHeight);
};

// The whole back buffer of the current context, width x height pixels, read with glReadPixels
// into the kit's picture (0xRRGGBB, rows from the top).
kit::Picture BackBuffer(int width, int height);

// The colour (0xRRGGBB) the screen shows at a point of a window's client area (y down from the
// top), read through GDI rather than OpenGL.
std::uint32_t ScreenPixel(HWND window, int x, int y);

// Dispatches this thread's messages for about durationMs. A quit request stays pending.
void PumpMessages(int durationMs);
// Dispatches this thread's messages until `done` or timeoutMs; true when `done` came true.
template <class Predicate>
bool PumpMessagesUntil(Predicate done, int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    PumpMessages(5);
  }
  return true;
}
// Removes a pending quit request (the application's Terminate); true when there was one.
bool TakeQuitRequest();
