// Windows and controls of any process as the Windows tests read and drive them: their text,
// class and place, the keyboard focus, and clicks and pointer moves as a user gives them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/kit/Wait.h"

namespace kit {

// A window's text and its class name, as GetWindowTextA and GetClassNameA give them.
std::string windowText(HWND window);
std::string windowClassName(HWND window);

// A control of a window, in the coordinates of its parent's client area.
struct ControlInfo {
  HWND handle = nullptr;
  std::string className;
  std::string text;
  RECT rect{};  // left, top, right, bottom in the parent's client area
  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
};

// Expects the control at left, top of width x height in its parent's client area.
void expectPlacedAt(const ControlInfo& control, int left, int top, int width, int height);

// The direct children of a window, in z-order (which is the tab order of dialog keys).
std::vector<ControlInfo> childrenOf(HWND parent);
// The first descendant with this window text; handle null when there is none.
ControlInfo findControl(HWND top, const std::string& text);
SIZE clientSize(HWND window);
RECT screenRectOf(HWND window);
POINT centreOf(HWND window);
// The point of a window's title-bar close button.
POINT closeButtonOf(HWND window);

bool isTicked(HWND checkBox);

// Whether this top-level window is active with the keyboard focus on it or one of its controls.
bool hasKeyboardFocus(HWND window);

// Proof that a window's thread has dealt with everything sent to it so far (posted messages
// and input): the window is invalidated, and a thread repaints only when no posted message
// and no input is waiting for it. True once the repaint is done; false when the window is
// hidden or gone (its program ending, say) or the time ran out.
bool waitUntilHandled(HWND window, Milliseconds timeout = kPatience);

// The real pointer moved to a screen point. Under Wine a move is now and then refused while a
// window is up, or echoed back; false then.
bool movePointerTo(POINT screen);
// A primary-button click delivered to the control itself, at its centre.
void clickOn(HWND window);
// Presses a button the way the dialog keys do (BM_CLICK), without waiting for what it does.
void pressButton(HWND button);

}  // namespace kit
