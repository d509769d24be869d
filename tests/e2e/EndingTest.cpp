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
  EXPECT_EQ(saver.wait(), 0) << "the saver is still running";
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

// Single events (tiny steps: the events are counted, not the distance), each dealt with
// before the next: the first few leave the saver running, and it ends by the sixth. The
// exact count, whatever the appearance brought, is held by the in-process tests of the form.
TEST_F(FullScreenSaverEnds, OnTheSixthMouseMoveEvent) {
  int posted = 0;
  bool open = true;
  while (open && posted < 6) {
    postMouseMove(window().handle, POINT{100 + posted, 100});
    ++posted;
    open = waitUntilHandled(window().handle);
  }
  EXPECT_FALSE(open) << "still open after six mouse moves";
  EXPECT_GE(posted, 6 - kMostMovesOnAppearance) << "ended after " << posted << " mouse moves";
  expectEndsWithStatusZero(saver());
}

TEST_F(FullScreenSaverEnds, WhenThePointerIsMoved) {
  // One real move can reach the window as more than one event; each is dealt with in turn.
  for (int move = 0; move < 6 && waitUntilHandled(window().handle); ++move) movePointerBy(2, 1);
  expectEndsWithStatusZero(saver());
}

// The other program is slow to take the activation (a hook of its own holds it up): the saver
// hears of its loss while no window is the foreground one yet, and must look again.
LRESULT CALLBACK holdUpActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) Sleep(500);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(FullScreenSaverEnds, WhenAnotherProgramIsActivated) {
  HHOOK hook = SetWindowsHookExA(WH_CBT, holdUpActivation, nullptr, GetCurrentThreadId());
  ForeignWindow other(RECT{100, 100, 300, 200});
  EXPECT_TRUE(other.activate()) << "the other program never became the foreground one";
  UnhookWindowsHookEx(hook);
  expectEndsWithStatusZero(saver());
}

// Each one is dealt with before the saver is found still running.
TEST_F(FullScreenSaverKeepsRunning, OnASecondaryOrMiddleClickOrAWheelTurn) {
  clickMouse(MouseButton::Secondary);
  EXPECT_TRUE(waitUntilHandled(window().handle)) << "ended on a secondary click";
  clickMouse(MouseButton::Middle);
  EXPECT_TRUE(waitUntilHandled(window().handle)) << "ended on a middle click";
  turnMouseWheel();
  EXPECT_TRUE(waitUntilHandled(window().handle)) << "ended on a wheel turn";
  EXPECT_TRUE(saver().running());
}

}  // namespace
}  // namespace e2e
