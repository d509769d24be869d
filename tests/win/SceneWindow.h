// A plain window for the scene in tests and benchmarks: a borderless form of a chosen
// client size and colour, built from layout text, and ways to read back what was drawn
// (OpenGL's back buffer, or the screen through GDI). The kit's waiting (tests/kit/Wait.h)
// delivers the window's messages meanwhile.
#pragma once

#include <windows.h>

#include <cstdint>

#include "tests/kit/Picture.h"
#include "tests/kit/Wait.h"

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

// Removes a pending quit request (the application's Terminate); true when there was one.
bool TakeQuitRequest();
