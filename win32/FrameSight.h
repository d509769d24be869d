// Whether a frame drawn in a window can be seen: the one answer on Windows, which each drawing
// form asks before each frame, and the pause that follows while the answer is no.
#pragma once

#include <windows.h>

#include <functional>

#include "win32/ExtCtrls.h"

class TFrameSight {
public:
  TFrameSight();
  ~TFrameSight();
  TFrameSight(const TFrameSight&) = delete;
  TFrameSight& operator=(const TFrameSight&) = delete;

  // Before a frame of `frames` is drawn in `window`: whether anybody can see it. The display
  // is on (console and session, Application->DisplayOn()); the window and every window above
  // it are shown and none is minimised; its top-level window is not cloaked (on another
  // virtual desktop); and a child window has some of itself inside its parent's client area.
  // When it cannot be seen `frames` stops, and the sight looks again every 250 ms until it can
  // and `frames` goes on: its next event an Interval later, with no burst for the time unseen.
  bool FrameCanBeSeen(HWND window, TTimer* frames);
  // Whether a top-level window is cloaked: DWMWA_CLOAKED from DwmGetWindowAttribute, false
  // where the call fails or the system has no dwmapi.dll. A test may replace it.
  std::function<bool(HWND)> Cloaked;

private:
  bool Seen(HWND window) const;
  void LookAgain();

  HMODULE dwmapi_ = nullptr;
  TTimer watch_{nullptr};
  HWND window_ = nullptr;
  TTimer* frames_ = nullptr;
};
