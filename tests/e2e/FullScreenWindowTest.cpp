// The full-screen saver window as another program sees it: one borderless, topmost, black
// window over the whole screen, no pointer, no task-bar window, the screen-saver flag set.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/ForeignWindow.h"
#include "tests/e2e/FullScreenSaver.h"
#include "tests/e2e/NamedCommandLine.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"
#include "tests/kit/CaseName.h"

namespace e2e {
namespace {

class FullScreenWindow : public FullScreenSaver,
                         public testing::WithParamInterface<NamedCommandLine> {
protected:
  std::string arguments() const override { return GetParam().arguments; }
};

TEST_P(FullScreenWindow, IsOneBorderlessTopmostWindowCoveringTheScreen) {
  const RECT screen = screenRect();

  EXPECT_EQ(window().style & kFrameStyles, 0) << std::hex << "style 0x" << window().style;
  EXPECT_TRUE(window().topmost) << std::hex << "extended style 0x" << window().exStyle;
  EXPECT_EQ(window().rect.left, screen.left);
  EXPECT_EQ(window().rect.top, screen.top);
  EXPECT_EQ(window().rect.right, screen.right);
  EXPECT_EQ(window().rect.bottom, screen.bottom);
  EXPECT_EQ(saver().visibleWindows().size(), 1u);
}

// Only the first argument decides, and "/s" is compared after lower-casing.
INSTANTIATE_TEST_SUITE_P(FullScreen, FullScreenWindow,
                         testing::Values(NamedCommandLine{"LowerS", "/s"},
                                         NamedCommandLine{"UpperS", "/S"},
                                         NamedCommandLine{"SThenC", "/s /c"}),
                         kit::CaseName());

// The scene draws the sun in the middle and a few small bodies and thin lines; the rest of
// the screen stays black (a copy that is drawn is at least 80 % black).
TEST_F(FullScreenSaver, ShowsTheSunInTheMiddleOfAMostlyBlackScreen) {
  const SceneSeen seen = kit::waitForTheSun([] { return captureScreen(); });
  EXPECT_TRUE(seen.drawn() && seen.sunAtCentre()) << seen;
}

TEST(FullScreenSaverPointer, IsHiddenOverTheWindow) {
  {
    // First show that this way of looking does see the arrow over an ordinary window.
    ForeignWindow other(screenRect());
    ASSERT_TRUE(other.activate());
    ASSERT_TRUE(waitUntil(pointerIsShown, Milliseconds{3000}));
  }
  SaverProcess saver("/s");
  ASSERT_TRUE(saver.waitForFullScreenWindow().has_value());
  ASSERT_TRUE(saver.waitForForeground());
  // A new foreground thread starts without a pointer image until its window sets one on the
  // first mouse move, which comes as the window appears under the pointer.
  // One more move, and its handling, whatever the appearance brought.
  movePointerBy(1, 0);
  ASSERT_TRUE(waitUntilHandled(saver.waitForFullScreenWindow()->handle));
  EXPECT_FALSE(pointerIsShown());
}

TEST(ScreenSaverRunningFlag, IsSetWhileTheSaverRunsAndClearedWhenItEnds) {
  // A saver ended by force in an earlier test had no chance to clear it.
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
  ASSERT_EQ(screenSaverFlagSeenByAnotherProcess(), 0);

  SaverProcess saver("/s");
  ASSERT_TRUE(saver.waitForFullScreenWindow().has_value());
  ASSERT_TRUE(saver.waitForForeground());
  EXPECT_EQ(screenSaverFlagSeenByAnotherProcess(), 1);

  pressKey('A');
  ASSERT_TRUE(saver.wait().has_value());
  EXPECT_EQ(screenSaverFlagSeenByAnotherProcess(), 0);
}

}  // namespace
}  // namespace e2e
