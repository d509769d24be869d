// Reads what the screen shows, as another program sees it: GetDC and BitBlt.
#pragma once

#include <windows.h>

#include "tests/kit/Picture.h"

namespace kit {

// The whole screen in pixels.
RECT screenRect();
// Copies a rectangle of the screen (the whole screen when none is given); empty if the copy failed.
Picture captureScreen(const RECT& area = screenRect());
// Copies a window's client area from the window's own pixels, whatever lies above it.
Picture captureWindow(HWND window);

}  // namespace kit
