// The full-screen saver with more than one monitor: a black, borderless, topmost window
// without a pointer over each other monitor, whose keys, clicks and mouse moves count as the
// saver's own. Runs on a display with two monitors (scripts/test starts one); under Xvfb both
// start at the origin, so the windows are checked, not the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/FullScreenSaver.h"
#include "tests/e2e/SaverProcess.h"

namespace e2e {
namespace {

// More moves at the resting pointer than the saver tolerates moves.
constexpr int kMovesAtTheRestingPointer = 10;
constexpr int kMovesThatEndTheSaver = 6;

std::vector<RECT> otherMonitors() {
  std::vector<RECT> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoA(monitor, &info);
        if ((info.dwFlags & MONITORINFOF_PRIMARY) == 0) {
          reinterpret_cast<std::vector<RECT>*>(list)->push_back(info.rcMonitor);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

class OtherMonitors : public FullScreenSaver {
protected:
  void SetUp() override {
    monitors_ = otherMonitors();
    if (monitors_.empty())
      GTEST_SKIP()
          << "this test needs a display with more than one monitor (scripts/test gives it one)";
    // The pointer rests over the other monitor while the saver starts.
    const RECT& other = monitors_.front();
    SetCursorPos((other.left + other.right) / 2, (other.top + other.bottom) / 2);
    FullScreenSaver::SetUp();
    if (HasFatalFailure()) return;
    for (const WindowInfo& shown : saver().visibleWindows()) {
      if (shown.handle != window().handle) covers_.push_back(shown);
    }
    ASSERT_EQ(covers_.size(), monitors_.size()) << "not one window per other monitor";
  }

  const std::vector<RECT>& monitors() const { return monitors_; }
  const std::vector<WindowInfo>& covers() const { return covers_; }
  HWND firstCover() const { return covers_.front().handle; }

  void expectEndsWithStatusZero() { EXPECT_EQ(saver().wait(), 0) << "the saver is still running"; }

private:
  std::vector<RECT> monitors_;
  std::vector<WindowInfo> covers_;
};

TEST_F(OtherMonitors, AreCoveredByBlackBorderlessTopmostWindowsWithoutPointer) {
  for (size_t i = 0; i < covers().size(); ++i) {
    const WindowInfo& cover = covers()[i];
    SCOPED_TRACE("monitor " + std::to_string(i + 1));
    EXPECT_TRUE(EqualRect(&cover.rect, &monitors()[i]))
        << cover.rect.left << "," << cover.rect.top << "," << cover.rect.right << ","
        << cover.rect.bottom;
    EXPECT_EQ(cover.style & kFrameStyles, 0) << std::hex << "style 0x" << cover.style;
    EXPECT_TRUE(cover.topmost);
    EXPECT_EQ(GetClassLongPtrA(cover.handle, GCLP_HCURSOR), 0) << "the window has a pointer";
    const Picture pixels = captureWindow(cover.handle);
    ASSERT_FALSE(pixels.pixels.empty()) << "could not read the window";
    EXPECT_TRUE(readScene(pixels).nothingDrawn()) << "the window paints more than black";
  }
  EXPECT_FALSE(pointerIsShown()) << "the pointer shows over the other monitor";
}

TEST_F(OtherMonitors, EndTheSaverOnAKeyThere) {
  PostMessageA(firstCover(), WM_KEYDOWN, 'A', 1);
  PostMessageA(firstCover(), WM_KEYUP, 'A', 0xC0000001);
  expectEndsWithStatusZero();
}

TEST_F(OtherMonitors, EndTheSaverOnAClickThere) {
  PostMessageA(firstCover(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  PostMessageA(firstCover(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  expectEndsWithStatusZero();
}

TEST_F(OtherMonitors, CountMouseMovesThereButNotAtTheRestingPointer) {
  POINT resting{};
  GetCursorPos(&resting);
  const RECT& other = covers().front().rect;
  const LPARAM atRest = MAKELPARAM(resting.x - other.left, resting.y - other.top);
  for (int i = 0; i < kMovesAtTheRestingPointer; ++i)
    PostMessageA(firstCover(), WM_MOUSEMOVE, 0, atRest);
  ASSERT_TRUE(waitUntilHandled(firstCover())) << "moves at the resting pointer were counted";

  for (int i = 0; i < kMovesThatEndTheSaver; ++i) {
    PostMessageA(firstCover(), WM_MOUSEMOVE, 0, MAKELPARAM(10 + i, 10));
  }
  expectEndsWithStatusZero();
}

}  // namespace
}  // namespace e2e
