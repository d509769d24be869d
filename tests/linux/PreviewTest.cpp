// velorium in someone else's window, as XScreenSaver's settings program shows its preview:
// the scene in that window only, following its size, not drawn while hidden, ending with 0 when
// destroyed; any visual of 8 bits per colour drawn in, in true colours and opaque; and a window
// that cannot show the scene (too few bits, InputOnly, a DirectColor root) refused clearly.
// The kit first: GoogleTest before Xlib, whose None and Bool macros would break it.
#include "tests/linux/Hack.h"

#include <cstdlib>
#include <thread>

namespace linuxtest {
namespace {

constexpr int kLeft = 100, kTop = 80, kWidth = 320, kHeight = 240;

// Whether every pixel of the screen outside the rectangle is black.
bool BlackOutside(const Picture& screen, int left, int top, int width, int height) {
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      const bool inside = x >= left && x < left + width && y >= top && y < top + height;
      if (!inside && screen.at(x, y) != 0) return false;
    }
  }
  return true;
}

TEST(Preview, DrawsIntoTheGivenWindowOnlyFollowsItsSizeAndEndsWhenItIsDestroyed) {
  TestDisplay display(640, 480);
  Display* x = display.connection();
  const Window window = makeGLWindow(x, kLeft, kTop, kWidth, kHeight);
  // The settings program passes both; the window id wins over XSCREENSAVER_WINDOW.
  Process hack({hackPath(), "--root", "--window-id", HexId(window)},
               {display.variable(), "XSCREENSAVER_WINDOW=0x1"});
  const SceneSeen seen = waitForTheSun([&] { return grabWindow(x, window); });
  EXPECT_TRUE(seen.sunAtCentre() && seen.planetColours() >= 5) << seen;
  EXPECT_TRUE(BlackOutside(grabWindow(x, DefaultRootWindow(x)), kLeft, kTop, kWidth, kHeight));

  // Without the new viewport the sun would stay 60 pixels below the new centre.
  XResizeWindow(x, window, 400, 360);
  XSync(x, False);
  EXPECT_TRUE(waitUntil([&] {
    const SceneSeen resized = readScene(grabWindow(x, window));
    return resized.width == 400 && resized.sunAtCentre();
  }));

  XDestroyWindow(x, window);
  XSync(x, False);
  EXPECT_EQ(hack.wait(), 0);
  EXPECT_EQ(hack.errors(), "");
}

// The window velorium draws in inside `window`, once it shows there; 0 before.
Window DrawnWindow(Display* x, Window window) {
  Window drawn = 0;
  int left = 0, top = 0;
  XTranslateCoordinates(x, window, window, 0, 0, &left, &top, &drawn);
  return drawn;
}

// The window is destroyed at moments spread over the hack's start-up, as settings programs
// destroy previews as fast as a user clicks through hacks, and once the scene shows, over two
// frame periods; a large window makes long frames, so that many of these moments fall inside one.
TEST(Preview, AWindowDestroyedAtAnyMomentEndsTheHackWithZero) {
  TestDisplay display(1024, 768);
  Display* x = display.connection();
  // Below 0: that long after its window inside the given one shows; from 0 on, after a frame.
  for (int delayMs = -60; delayMs <= 80; delayMs += delayMs < 0 ? 2 : 7) {
    const Window window = makeGLWindow(x, 0, 0, 1024, 768);
    Process hack({hackPath(), "--window-id", HexId(window)}, {display.variable()});
    ASSERT_TRUE(waitUntil(
        [&] {
          return delayMs < 0 ? DrawnWindow(x, window) != 0
                             : readScene(grabWindow(x, window)).sunAtCentre();
        },
        kPatience, Milliseconds(1)));
    std::this_thread::sleep_for(Milliseconds(std::abs(delayMs)));
    XDestroyWindow(x, window);
    XSync(x, False);
    EXPECT_EQ(hack.wait(), 0) << "destroyed at " << delayMs << " ms: " << hack.errors();
  }
}

// Out of sight from its first frame, its window unmapped or covered by another window, it draws
// nothing, and once seen again it goes on from that frame: the comet, in view only in the
// course's first half second, is seen again.
class UnseenPreview : public testing::TestWithParam<bool> {};

TEST_P(UnseenPreview, DrawsNothingAndGoesOnFromWhereItStoppedOnceSeenAgain) {
  const bool covered = GetParam();
  TestDisplay display(1024, 768);
  Display* x = display.connection();
  const Window window = makeGLWindow(x, 0, 0, 1024, 768);
  const Window cover = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 1024, 768, 0, 0, 0);
  Process hack({hackPath(), "--window-id", HexId(window)}, {display.variable()});
  ASSERT_TRUE(waitUntil([&] { return readScene(grabWindow(x, window)).drawn(); }));
  covered ? XMapRaised(x, cover) : XUnmapWindow(x, window);
  XSync(x, False);
  // The frame in progress ends; then 1.5 s would take about 0.2 s of drawing.
  pause(Milliseconds(300));
  const double hiddenFrom = hack.cpuSeconds();
  pause(Milliseconds(1500));
  EXPECT_LE(hack.cpuSeconds() - hiddenFrom, 0.02);
  covered ? XMoveWindow(x, cover, 1024, 0) : XMapWindow(x, window);
  XSync(x, False);
  expectScene(watchScene([&] { return grabWindow(x, window); }));
  expectEndsWithZero(hack);
}

INSTANTIATE_TEST_SUITE_P(Preview, UnseenPreview, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Covered" : "Hidden";
                         });

// Mesa's software rasteriser crashes on a window of 32705 pixels a side; the scene goes into
// the middle of it, which this window has at the screen's centre.
TEST(Preview, AWindowTooLargeToDrawWholeKeepsItsSizeAndShowsTheSceneInItsMiddle) {
  TestDisplay display(640, 480);
  Display* x = display.connection();
  constexpr int kSide = 32705;
  const Window window = makeGLWindow(x, 320 - kSide / 2, 240 - kSide / 2, kSide, kSide);
  Process hack({hackPath(), "--window-id", HexId(window)}, {display.variable()});
  EXPECT_TRUE(
      waitUntil([&] { return readScene(grabWindow(x, DefaultRootWindow(x))).sunAtCentre(); }));
  XWindowAttributes attributes{};
  XGetWindowAttributes(x, window, &attributes);
  EXPECT_EQ(attributes.width, kSide);
  expectEndsWithZero(hack);
}

// A new mapped window of the last visual of `depth` bits and class `c_class` on the display,
// its id in `visualId`; 0 when the display has no such visual.
Window MakeWindowOfVisual(Display* x, int depth, int c_class, std::string& visualId) {
  XVisualInfo wanted{};
  wanted.screen = DefaultScreen(x);
  wanted.depth = depth;
  wanted.c_class = c_class;
  int count = 0;
  XVisualInfo* visuals =
      XGetVisualInfo(x, VisualScreenMask | VisualDepthMask | VisualClassMask, &wanted, &count);
  if (visuals == nullptr) return 0;
  Colormap colormap = 0;
  const Window window = CreateVisualWindow(x, visuals[count - 1], 0, 0, 200, 150, colormap);
  visualId = HexId(visuals[count - 1].visualid);
  XFree(visuals);
  XMapWindow(x, window);
  XSync(x, False);
  return window;
}

// Mesa's EGL configurations name only one of Xvfb's 24-bit TrueColor visuals and none of its
// 32-bit ones, yet Mesa draws into windows of all of them; into DirectColor ones, whose colours
// go through a colormap, in true colours.
TEST(Preview, AWindowOfAnyVisualOfEightBitsPerColourShowsTheScene) {
  TestDisplay display(640, 480);
  Display* x = display.connection();
  for (const auto& [depth, c_class] :
       {std::pair(24, TrueColor), {32, TrueColor}, {24, DirectColor}}) {
    std::string visualId;
    const Window window = MakeWindowOfVisual(x, depth, c_class, visualId);
    ASSERT_NE(window, 0u) << "no " << depth << "-bit visual of class " << c_class;
    Process hack({hackPath(), "--window-id", HexId(window)}, {display.variable()});
    Window drawn = 0;
    ASSERT_TRUE(waitUntil([&] { return (drawn = DrawnWindow(x, window)) != 0; }));
    const SceneSeen seen = waitForTheSun([&] { return grabWindow(x, drawn); });
    EXPECT_TRUE(seen.sunAtCentre()) << "visual " << visualId << ": " << seen;
    // A 32-bit window's alpha, the top byte, in space: 255, or the desktop shows through.
    XImage* corner = XGetImage(x, drawn, 0, 0, 1, 1, AllPlanes, ZPixmap);
    EXPECT_TRUE(depth != 32 || XGetPixel(corner, 0, 0) >> 24 == 0xFF) << "visual " << visualId;
    XDestroyImage(corner);
    expectEndsWithZero(hack);
  }
}

// On a DirectColor screen (Xvfb's -cc 5), which it draws into directly.
TEST(DirectColorScreen, ItsRootWindowIsRefused) {
  TestDisplay display(640, 480, 24, DirectColor);
  const std::string visualId = HexId(XVisualIDFromVisual(DefaultVisual(display.connection(), 0)));
  const Outcome run = runHack({"--root"}, display.name());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, "velorium: the window's visual " + visualId +
                            " is DirectColor, which shows its colours through a colormap: the"
                            " scene needs TrueColor\n");
}

TEST(Preview, A16BitWindowIsRefusedForItsTooFewBitsPerColour) {
  TestDisplay display(640, 480, 16);
  std::string visualId;
  const Window window = MakeWindowOfVisual(display.connection(), 16, TrueColor, visualId);
  const Outcome run = runHack({"--window-id", HexId(window)}, display.name());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, "velorium: the window's visual " + visualId +
                            " has 5, 6 and 5 bits of red, green and blue: the scene needs 8 bits"
                            " per colour\n");
}

TEST(Preview, AnInputOnlyWindowIsRefusedWithStatusOne) {
  TestDisplay display(640, 480);
  Display* x = display.connection();
  const Window window = XCreateWindow(x, DefaultRootWindow(x), 0, 0, 200, 150, 0, 0, InputOnly,
                                      CopyFromParent, 0, nullptr);
  XMapWindow(x, window);
  XSync(x, False);
  const Outcome run = runHack({"--window-id", HexId(window)}, display.name());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, "velorium: window " + HexId(window) +
                            " is an InputOnly window, which takes input but cannot be drawn in\n");
}

}  // namespace
}  // namespace linuxtest
