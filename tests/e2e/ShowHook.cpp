// show_hook.dll: a window-procedure hook that the test driver sets for every thread. In each
// process the system loads it into, it tells the driver's listening window of every window
// that is made visible there, before that window's own procedure sees the news.
#include <windows.h>

#include "tests/e2e/ShowHook.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ShowHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const bool shown =
        (message->message == WM_SHOWWINDOW && message->wParam != 0) ||
        (message->message == WM_WINDOWPOSCHANGING &&
         (reinterpret_cast<const WINDOWPOS*>(message->lParam)->flags & SWP_SHOWWINDOW) != 0);
    if (shown) {
      HWND listener = FindWindowA(e2e::kShowListenerClass, nullptr);
      if (listener != nullptr) {
        PostMessageA(listener, e2e::kWindowShownMessage, reinterpret_cast<WPARAM>(message->hwnd),
                     static_cast<LPARAM>(GetCurrentProcessId()));
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
