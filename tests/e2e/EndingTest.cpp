// What ends the full-screen saver and what does not: any key, a primary click, the sixth
// mouse-move event and the activation of another program end it, always with status 0.
#include <gtest/gtest.h>

#include "tests/e2e/ForeignWindow.h"
#include "tests/e2e/FullScreenSaver.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"

namespace e2e {
namespace {

using FullScreenSaverEnds = FullScreenSaver;
using FullScreenSaverKeepsRunning = FullScreenSaver;

void expectEndsWithStatusZero(const SaverProcess& saver) {
  const auto status = saver.waitForExit();
  ASSERT_TRUE(status.has_value()) << "the saver is still running";
  EXPECT_EQ(*status, 0u);
}

// Tiny steps: the events are counted, not the distance.
void postMouseMoves(HWND window, int count) {
  for (int i = 0; i < count; ++i) {
    postMouseMove(window, POINT{100 + i, 100});
  }
}

TEST_F(FullScreenSaverEnds, OnAKey) {
  pressKey('A');
  expectEndsWithStatusZero(saver());
}

TEST_F(FullScreenSaverEnds, OnAKeyPressedWithAlt) {
  pressKeyWithAlt('A');
  expectEndsWithStatusZero(saver());
}

TEST_F(FullScreenSaverEnds, OnAPrimaryClick) {
  clickMouse(MouseButton::Primary);
  expectEndsWithStatusZero(saver());
}

TEST_F(FullScreenSaverEnds, OnTheSixthMouseMoveEvent) {
  postMouseMoves(window().handle, 5 - kMovesOnAppearance);
  ASSERT_TRUE(saver().keepsRunningFor(kWatchTime)) << "ended before the sixth mouse move";

  postMouseMoves(window().handle, 1);
  expectEndsWithStatusZero(saver());
}

TEST_F(FullScreenSaverEnds, WhenThePointerIsMoved) {
  for (int move = 0; move < 6 - kMovesOnAppearance && saver().isRunning(); ++move) {
    movePointerBy(2, 1);
    pause(Milliseconds{100});
  }
  expectEndsWithStatusZero(saver());
}

TEST_F(FullScreenSaverEnds, WhenAnotherProgramIsActivated) {
  ForeignWindow other(RECT{100, 100, 300, 200});
  other.activate();
  expectEndsWithStatusZero(saver());
}

TEST_F(FullScreenSaverKeepsRunning, AfterFiveMouseMoveEvents) {
  postMouseMoves(window().handle, 5 - kMovesOnAppearance);
  EXPECT_TRUE(saver().keepsRunningFor(kWatchTime));
}

TEST_F(FullScreenSaverKeepsRunning, OnASecondaryClick) {
  clickMouse(MouseButton::Secondary);
  EXPECT_TRUE(saver().keepsRunningFor(kWatchTime));
}

TEST_F(FullScreenSaverKeepsRunning, OnAMiddleClick) {
  clickMouse(MouseButton::Middle);
  EXPECT_TRUE(saver().keepsRunningFor(kWatchTime));
}

TEST_F(FullScreenSaverKeepsRunning, OnAWheelTurn) {
  turnMouseWheel();
  EXPECT_TRUE(saver().keepsRunningFor(kWatchTime));
}

}  // namespace
}  // namespace e2e
