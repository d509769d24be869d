// velorium in a window of its own, resizable, with each option alone, and its end: the close
// button, Escape and q end it with status 0, and so do SIGTERM, SIGINT and SIGHUP while it
// draws, even held up by an X server that does not answer; and its --fps counter.
// The kit first: GoogleTest before Xlib, whose None and Bool macros would break it.
#include "tests/linux/Hack.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <csignal>

namespace linuxtest {
namespace {

using HackEnding = OnSharedDisplay<1280, 1024>;

long WindowPid(Display* display, Window window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                         XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
      data != nullptr) {
    if (count == 1) pid = *reinterpret_cast<long*>(data);
    XFree(data);
  }
  return pid;
}

// The child windows of `window`.
std::vector<Window> ChildrenOf(Display* display, Window window) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  XQueryTree(display, window, &root, &parent, &children, &count);
  std::vector<Window> all(children, children + count);
  if (children != nullptr) XFree(children);
  return all;
}

// The top-level window of process `pid`, or 0.
Window WindowOf(Display* display, pid_t pid) {
  for (Window child : ChildrenOf(display, DefaultRootWindow(display))) {
    if (WindowPid(display, child) == pid) return child;
  }
  return 0;
}

void SendKey(Display* display, Window window, KeySym key) {
  XEvent event{};
  event.xkey.type = KeyPress;
  event.xkey.display = display;
  event.xkey.window = window;
  event.xkey.root = DefaultRootWindow(display);
  event.xkey.keycode = XKeysymToKeycode(display, key);
  event.xkey.same_screen = True;
  XSendEvent(display, window, True, KeyPressMask, &event);
  XFlush(display);
}

// What a window manager sends when the title bar's close button is clicked.
void SendCloseRequest(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

// How the user ends it: a key, or the close button (NoSymbol).
struct Ending {
  const char* name;
  KeySym key;
};

class OwnWindow : public HackEnding, public testing::WithParamInterface<Ending> {};

TEST_P(OwnWindow, ShowsTheSceneInAResizableVeloriumWindowOf1024x768UntilTheUserEndsIt) {
  Process hack({hackPath()}, {display_->variable()});
  Window window = 0;
  ASSERT_TRUE(waitUntil([&] { return (window = WindowOf(X(), hack.id())) != 0; }));
  char* title = nullptr;
  ASSERT_NE(XFetchName(X(), window, &title), 0);
  EXPECT_STREQ(title, "Velorium");
  XFree(title);
  XWindowAttributes attributes{};
  XGetWindowAttributes(X(), window, &attributes);
  EXPECT_EQ(attributes.width, 1024);
  EXPECT_EQ(attributes.height, 768);
  expectScene(watchScene([&] { return grabWindow(X(), window); }));
  // The scene follows a new size: its sun stays at the window's centre.
  XResizeWindow(X(), window, 800, 600);
  XSync(X(), False);
  const SceneSeen resized = waitForTheSun([&] { return grabWindow(X(), window); });
  EXPECT_EQ(resized.width, 800);
  EXPECT_TRUE(resized.sunAtCentre()) << resized;

  if (GetParam().key == NoSymbol) {
    SendCloseRequest(X(), window);
  } else {
    SendKey(X(), window, GetParam().key);
  }
  EXPECT_EQ(hack.wait(), 0);
  EXPECT_EQ(hack.errors(), "");
  EXPECT_EQ(WindowOf(X(), hack.id()), 0u) << "its window is gone";
}

INSTANTIATE_TEST_SUITE_P(Ends, OwnWindow,
                         testing::Values(Ending{"CloseButton", NoSymbol},
                                         Ending{"Escape", XK_Escape}, Ending{"Q", XK_q}),
                         CaseName());

// A window of 32705 pixels a side, which crashed Mesa's software rasteriser, gets the scene in
// its middle in a part no larger than the screen (1024 a side on this 1280x1024 display),
// whoever gives it that size and whenever: the window and then the one drawn in inside it.
TEST_F(HackEnding, AWindowResizedTooLargeLaterShowsTheSceneInItsMiddle) {
  constexpr int kSide = 32705;
  XWindowAttributes drawn{};
  const auto fittedInTheMiddle = [&](Window window) {
    return XGetWindowAttributes(X(), window, &drawn) && drawn.width == 1024 &&
           drawn.height == 1024 && drawn.x == 15840 && drawn.y == 15840;
  };
  // A hack that crashes takes its windows with it: a failure to see, not an end of the tests.
  const XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  Process hack({hackPath()}, {display_->variable()});
  Window window = 0, inside = 0;
  ASSERT_TRUE(waitUntil([&] { return (window = WindowOf(X(), hack.id())) != 0; }));
  ASSERT_TRUE(waitUntil([&] {
    const std::vector<Window> drawnIn = ChildrenOf(X(), window);
    return drawnIn.size() == 1 && (inside = drawnIn[0]) != 0;
  })) << "one window to draw in inside its own";
  XMoveResizeWindow(X(), window, 640 - kSide / 2, 512 - kSide / 2, kSide, kSide);
  XSync(X(), False);
  EXPECT_TRUE(waitUntil([&] { return fittedInTheMiddle(inside); }))
      << drawn.width << "x" << drawn.height << " at " << drawn.x << "," << drawn.y;
  XMoveResizeWindow(X(), inside, 0, 0, kSide, kSide);
  XSync(X(), False);
  EXPECT_TRUE(waitUntil([&] { return fittedInTheMiddle(inside); }))
      << "moved to 0,0 at " << kSide << " a side, it is " << drawn.width << "x" << drawn.height
      << " at " << drawn.x << "," << drawn.y;
  expectEndsWithZero(hack);
  XSetErrorHandler(previous);
}

// Each option alone: a hack that took one for the other shows the wrong picture.
struct OptionAlone {
  const char* name;
  const char* option;
  SceneOptions shown;
};

class OwnWindowWithOption : public HackEnding, public testing::WithParamInterface<OptionAlone> {};

TEST_P(OwnWindowWithOption, ShowsTheSceneAsTheOptionSays) {
  Process hack({hackPath(), GetParam().option}, {display_->variable()});
  Window window = 0;
  ASSERT_TRUE(waitUntil([&] { return (window = WindowOf(X(), hack.id())) != 0; }));
  expectScene(watchScene([&] { return grabWindow(X(), window); }), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Alone, OwnWindowWithOption,
                         testing::Values(OptionAlone{"NoComet", "--no-comet", {false, true}},
                                         OptionAlone{"NoOrbits", "--no-orbits", {true, false}}),
                         CaseName());

// White pixels in the bottom-left corner, where the --fps counter's digits go.
int WhiteInBottomLeftCorner(const Picture& picture) {
  int white = 0;
  for (int y = picture.height - 40; y < picture.height; ++y) {
    for (int x = 0; x < 160; ++x) {
      if (picture.at(x, y) == 0xFFFFFF) ++white;
    }
  }
  return white;
}

TEST_F(HackEnding, FpsShowsTheFrameRateInTheBottomLeftCorner) {
  const Window root = DefaultRootWindow(X());
  {
    Process hack({hackPath(), "--root", "--fps"}, {display_->variable()});
    // The counter ("FPS -" in the first second, then the rate) draws a few hundred white
    // pixels there; the scene itself draws none.
    EXPECT_TRUE(waitUntil([&] { return WhiteInBottomLeftCorner(grabWindow(X(), root)) > 150; }));
    expectEndsWithZero(hack);
  }
  // The counter's last frame stays on the root window until something draws over it.
  XClearWindow(X(), root);
  XSync(X(), False);
  Process hack({hackPath(), "--root"}, {display_->variable()});
  ASSERT_TRUE(waitUntil([&] { return readScene(grabWindow(X(), root)).sunAtCentre(); }));
  EXPECT_EQ(WhiteInBottomLeftCorner(grabWindow(X(), root)), 0);
  expectEndsWithZero(hack);
}

class StopSignal : public HackEnding, public testing::WithParamInterface<int> {};

TEST_P(StopSignal, EndsTheHackWithZero) {
  Process hack({hackPath(), "--root"}, {display_->variable()});
  const Window root = DefaultRootWindow(X());
  ASSERT_TRUE(waitUntil([&] { return readScene(grabWindow(X(), root)).sunAtCentre(); }));
  expectEndsWithZero(hack, GetParam());
}

// Its code runs, waiting in XOpenDisplay for a display that never answers.
TEST_P(StopSignal, EndsTheHackAtOnceWithZeroBeforeItsWindowExists) {
  PlayedDisplay silent;
  Process hack({hackPath(), "--display", silent.name()});
  ASSERT_TRUE(silent.takeConnection());
  expectEndsWithZero(hack, GetParam());
}

// A server that stops answering holds velorium inside the driver, away from its frame loop.
TEST_P(StopSignal, EndsTheHackWithZeroWhileTheXServerDoesNotAnswer) {
  TestDisplay display(1280, 1024);
  Display* x = display.connection();
  Process hack({hackPath(), "--root"}, {display.variable()});
  ASSERT_TRUE(waitUntil([&] { return readScene(grabWindow(x, DefaultRootWindow(x))).drawn(); }));
  display.signalServer(SIGSTOP);
  expectEndsWithZero(hack, GetParam());
  display.signalServer(SIGCONT);
}

INSTANTIATE_TEST_SUITE_P(Each, StopSignal, testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

}  // namespace
}  // namespace linuxtest
