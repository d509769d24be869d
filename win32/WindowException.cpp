// The installed window-exception handler.
#include "win32/WindowException.h"

namespace {

// Window procedures take no user data for this; one application per process installs it.
WindowExceptionHandler gHandler = nullptr;

}  // namespace

WindowExceptionHandler SetWindowExceptionHandler(WindowExceptionHandler handler) {
  WindowExceptionHandler previous = gHandler;
  gHandler = handler;
  return previous;
}

void HandleWindowException() {
  try {
    if (gHandler != nullptr) gHandler();
  } catch (...) {
    // Nothing may leave a window procedure, not even a failure to report.
  }
}
