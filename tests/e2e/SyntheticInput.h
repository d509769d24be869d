// Input for the saver as a user would give it: keys, clicks and the wheel through SendInput,
// which reach the foreground window; single mouse-move events posted to a window.
#pragma once

#include <windows.h>

namespace e2e {

enum class MouseButton { Primary, Secondary, Middle };

void pressKey(WORD virtualKey);
// Alt goes down first and up last, as when a user holds Alt for the key.
void pressKeyWithAlt(WORD virtualKey);
// Presses and releases a button where the pointer is, without moving it.
void clickMouse(MouseButton button);
void turnMouseWheel();

// Moves the real pointer. Under Wine's virtual desktop one such move can reach the window
// as more than one mouse-move event (the X server echoes the warp), so it cannot be counted.
void movePointerBy(int dx, int dy);

// Exactly one mouse-move event for the window, at a point of its client area.
void postMouseMove(HWND window, POINT client);

}  // namespace e2e
