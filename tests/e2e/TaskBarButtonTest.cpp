// The program's own application window ("Velorium I", the task-bar button) is never shown in
// full-screen or preview mode, not even for a moment; the options dialog has its button.
#include <gtest/gtest.h>

#include <optional>

#include "tests/e2e/PreviewHost.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/ShownWindows.h"

namespace e2e {
namespace {

constexpr char kApplicationWindowClass[] = "TApplication";

// The hook saw the saver's own window shown (so it hears the saver), and nothing else of the
// saver's that is the application window.
void expectShownWithoutTheApplicationWindow(const ShownWindows& shown, DWORD processId,
                                            HWND saverWindow) {
  // Reports come in the order of the showing: once the saver's own window is reported, so is
  // everything the saver showed before it.
  waitUntil(
      [&] {
        for (const WindowInfo& window : shown.of(processId)) {
          if (window.handle == saverWindow) return true;
        }
        return false;
      },
      kPatience);
  bool sawSaverWindow = false;
  for (const WindowInfo& window : shown.of(processId)) {
    sawSaverWindow = sawSaverWindow || window.handle == saverWindow;
    EXPECT_NE(window.className, kApplicationWindowClass) << "the application window was shown";
  }
  EXPECT_TRUE(sawSaverWindow) << "the saver's window was never reported shown";
}

TEST(TaskBarButton, IsNeverShownByTheFullScreenSaver) {
  ShownWindows shown;
  ASSERT_EQ(shown.failure(), "");
  SaverProcess saver("/s");
  const auto window = saver.waitForFullScreenWindow();
  ASSERT_TRUE(window.has_value()) << "no full-screen window appeared";
  // Whatever the saver does after showing its window is done once it has dealt with its queue.
  ASSERT_TRUE(waitUntilHandled(window->handle));
  expectShownWithoutTheApplicationWindow(shown, saver.id(), window->handle);
}

TEST(TaskBarButton, IsNeverShownByThePreview) {
  ShownWindows shown;
  ASSERT_EQ(shown.failure(), "");
  PreviewHost host("decimal");
  HWND preview = host.waitForPreview();
  ASSERT_NE(preview, nullptr) << "no preview window was shown in the host";
  expectShownWithoutTheApplicationWindow(shown, host.saverProcessId(), preview);
}

TEST(TaskBarButton, IsShownByTheOptionsDialog) {
  SaverFolder folder;
  SaverProcess saver("/c", folder.saver());
  ASSERT_TRUE(waitForWindow(saver, "Options...").has_value()) << "no options dialog";
  const bool shown = waitUntil(
      [&] {
        for (const WindowInfo& window : saver.topLevelWindows()) {
          if (window.className == kApplicationWindowClass && window.visible &&
              window.text == "Velorium I" && (window.exStyle & WS_EX_APPWINDOW) != 0) {
            return true;
          }
        }
        return false;
      },
      kPatience);
  EXPECT_TRUE(shown) << "no visible application window \"Velorium I\"";
}

}  // namespace
}  // namespace e2e
