// A window of the test program itself: another application, as far as the saver can tell.
// It takes the activation away from the saver, and shows the normal arrow pointer.
#pragma once

#include <windows.h>

namespace e2e {

class ForeignWindow {
public:
  // A visible window with the arrow pointer over the given screen rectangle.
  explicit ForeignWindow(const RECT& area);
  ~ForeignWindow();
  ForeignWindow(const ForeignWindow&) = delete;
  ForeignWindow& operator=(const ForeignWindow&) = delete;

  HWND handle() const { return window_; }
  // Brings the window to the foreground; true once it is the foreground window.
  bool activate();

private:
  HWND window_ = nullptr;
};

}  // namespace e2e
