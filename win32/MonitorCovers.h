// Black, borderless, topmost windows over every monitor but the one a full-screen form is on,
// without a pointer. Keys, primary clicks and mouse moves on them are handed to the events
// below, so that the form's own handlers see input from every monitor.
#pragma once

#include <windows.h>

#include <vector>

#include "win32/Controls.h"

class TMonitorCovers {
public:
  TMonitorCovers() = default;
  ~TMonitorCovers();
  TMonitorCovers(const TMonitorCovers&) = delete;
  TMonitorCovers& operator=(const TMonitorCovers&) = delete;

  // Covers every monitor but the one `form` is on (or will be maximised on), with windows
  // owned by `form`; shown without taking the activation. Monitors that come or go later
  // are not followed.
  void Show(HWND form);

  TNotifyEvent OnKeyDown;
  TNotifyEvent OnClick;
  TNotifyEvent OnMouseMove;

  // A cover's messages (LinkedWindowProc): true when handled here, with its result.
  bool HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
  void MouseMoved(HWND hwnd, LPARAM lParam);

  std::vector<HWND> windows_;
  HWND pressed_ = nullptr;
  // The last pointer position seen, in screen pixels: a window that appears under a resting
  // pointer gets a mouse move at that same position, which is no move of the user's.
  POINT lastPointer_{};
};
