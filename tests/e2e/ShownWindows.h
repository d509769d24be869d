// Every window made visible while a ShownWindows lives, in any process, heard through
// show_hook.dll (a window-procedure hook for every thread): a window shown only for a moment
// is caught too, which polling would miss. Reports arrive while this thread pumps messages
// (waitUntil, pause). Wine sends no EVENT_OBJECT_SHOW win events, so no SetWinEventHook.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/SaverProcess.h"

namespace e2e {

class ShownWindows {
public:
  ShownWindows();
  ~ShownWindows();
  ShownWindows(const ShownWindows&) = delete;
  ShownWindows& operator=(const ShownWindows&) = delete;

  // Empty when listening works, else what failed.
  const std::string& failure() const { return failure_; }
  // The windows of the process reported shown so far, described when the report was read.
  std::vector<WindowInfo> of(DWORD processId) const;

  // The listening window's messages (LinkedWindowProc): a report of a window shown.
  bool HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT& result);

private:
  struct Shown {
    DWORD processId;
    WindowInfo window;
  };
  std::string failure_;
  HWND listener_ = nullptr;
  HMODULE library_ = nullptr;
  HHOOK hook_ = nullptr;
  std::vector<Shown> shown_;
};

}  // namespace e2e
