// Starting the full-screen saver and waiting until it is ready for input.
#include "tests/e2e/FullScreenSaver.h"

namespace e2e {

void FullScreenSaver::SetUp() {
  ASSERT_TRUE(waitForNoScene()) << "an earlier saver's picture stays on the screen";
  saver_.emplace(arguments());
  window_ = saver_->waitForFullScreenWindow();
  if (!window_) {
    std::string seen;
    for (const WindowInfo& shown : saver_->visibleWindows()) {
      seen += " (" + std::to_string(shown.rect.left) + "," + std::to_string(shown.rect.top) +
              ")-(" + std::to_string(shown.rect.right) + "," + std::to_string(shown.rect.bottom) +
              ")";
    }
    const std::optional<kit::ExitStatus> status = saver_->wait(Milliseconds{0});
    FAIL() << "no visible full-screen window appeared; the saver "
           << (status ? "ended with status " + std::to_string(*status)
                      : "runs, its visible windows:" + (seen.empty() ? " none" : seen));
  }
  ASSERT_TRUE(saver_->waitForForeground()) << "the saver never became the foreground window";
  // What came with the appearance (a mouse move under the pointer) has been dealt with.
  ASSERT_TRUE(waitUntilHandled(window_->handle)) << "the saver's window stopped answering";
}

bool pointerIsShown() {
  CURSORINFO pointer{};
  pointer.cbSize = sizeof pointer;
  if (!GetCursorInfo(&pointer)) return true;
  return (pointer.flags & CURSOR_SHOWING) != 0 && pointer.hCursor != nullptr;
}

}  // namespace e2e
