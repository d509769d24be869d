// Whether a frame in a preview-shaped window (a child of another program's window) can be seen,
// and the pause and the going on that follow. What the lab cannot show is told as the system
// would tell it: a display's state sent to the application's window, a cloak answered.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/win/WindowTest.h"
#include "win32/FrameSight.h"

namespace {

// A display's state as the system sends it, for a case of the table below.
std::function<void()> DisplayState(const GUID& display, DWORD state) {
  return [&display, state] { SendDisplayState(display, state); };
}

using FrameSight = WindowTest;

TEST_F(FrameSight, UnseenWhileADisplayIsOffMinimisedCloakedOrOutsideTheHostAndSeenOnceBack) {
  HWND host = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                              nullptr, nullptr, nullptr, nullptr);
  const std::unique_ptr<HWND__, decltype(&DestroyWindow)> destroyed(host, DestroyWindow);
  HWND preview = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, host,
                                 nullptr, nullptr, nullptr);
  TFrameSight sight;
  bool cloaked = false;
  sight.Cloaked = [&](HWND window) { return window == host && cloaked; };
  TTimer frames(nullptr);
  frames.SetOnTimer([](TObject*) {});
  // The window asked about: the host for what only a top-level window can be.
  const struct {
    const char* why;
    HWND window;
    std::function<void()> hide, show;
  } cases[] = {
      {"console display off", preview, DisplayState(kConsoleDisplayState, 0),
       DisplayState(kConsoleDisplayState, 2)},
      {"session display off", preview, DisplayState(kSessionDisplayStatus, 0),
       DisplayState(kSessionDisplayStatus, 1)},
      {"minimised", host, [&] { ShowWindow(host, SW_MINIMIZE); },
       [&] { ShowWindow(host, SW_RESTORE); }},
      {"host cloaked", preview, [&] { cloaked = true; }, [&] { cloaked = false; }},
      {"outside the host's client area", preview,
       [&] { MoveWindow(preview, 400, 0, 300, 200, FALSE); },
       [&] { MoveWindow(preview, -299, 0, 300, 200, FALSE); }},
  };
  for (const auto& unseen : cases) {
    ASSERT_TRUE(sight.FrameCanBeSeen(unseen.window, &frames)) << unseen.why;
    unseen.hide();
    EXPECT_FALSE(sight.FrameCanBeSeen(unseen.window, &frames)) << unseen.why;
    EXPECT_FALSE(frames.Enabled()) << unseen.why;
    unseen.show();
    EXPECT_TRUE(kit::waitUntil([&] { return frames.Enabled(); })) << unseen.why;
  }
}

}  // namespace
