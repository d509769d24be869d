// Preview mode as the settings page sees it: the saver runs as a borderless child of the
// host's window, of the host's outer size at its client origin, ignores input and resizing,
// and ends with status 0 on any system command or with its host. A handle that is no number
// or names no window gives one message box, and the program ends with status 0.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "tests/e2e/ExceptionBoxes.h"
#include "tests/e2e/PreviewHost.h"
#include "tests/e2e/ProcessCpu.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"
#include "tests/kit/CaseName.h"

namespace e2e {
namespace {

// The host's outer size, which the preview takes.
constexpr int kHostWidth = kPreviewHostRect.right - kPreviewHostRect.left;
constexpr int kHostHeight = kPreviewHostRect.bottom - kPreviewHostRect.top;

POINT clientOriginOf(HWND window) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return origin;
}

class Preview : public testing::Test {
protected:
  void SetUp() override {
    host_.emplace(handleForm());
    preview_ = host_->waitForPreview();
    ASSERT_NE(preview_, nullptr) << "no preview window was shown in the host";
  }
  virtual std::string handleForm() const { return "decimal"; }

  PreviewHost& host() { return *host_; }
  HWND preview() const { return preview_; }

  // No box and no other window on the way out.
  void expectEndsWithStatusZeroAndNoWindow() {
    const DWORD saverId = host_->saverProcessId();
    const auto shown = windowsShownUntilExit(saverId, [&] { return host_->saverIsRunning(); });
    EXPECT_TRUE(shown.empty()) << shown.size() << " windows appeared";
    const auto status = host_->waitForSaverExit(Milliseconds{0});
    ASSERT_TRUE(status.has_value()) << "the saver is still running";
    EXPECT_EQ(*status, 0u);
  }

private:
  std::optional<PreviewHost> host_;
  HWND preview_ = nullptr;
};

// ---- Where the preview runs ----

class PreviewInHostWindow : public Preview, public testing::WithParamInterface<const char*> {
protected:
  std::string handleForm() const override { return GetParam(); }
};

TEST_P(PreviewInHostWindow, IsABorderlessChildOfTheHostsOuterSizeAtItsClientOrigin) {
  const WindowInfo window = describeWindow(preview());
  const POINT origin = clientOriginOf(host().window());

  EXPECT_EQ(GetAncestor(preview(), GA_PARENT), host().window());
  EXPECT_NE(window.style & WS_CHILD, 0) << std::hex << "style 0x" << window.style;
  EXPECT_EQ(window.style & kFrameStyles, 0) << std::hex << "style 0x" << window.style;
  EXPECT_TRUE(window.visible);
  EXPECT_FALSE(window.topmost);
  EXPECT_EQ(window.rect.left, origin.x);
  EXPECT_EQ(window.rect.top, origin.y);
  EXPECT_EQ(window.rect.right - window.rect.left, kHostWidth);
  EXPECT_EQ(window.rect.bottom - window.rect.top, kHostHeight);
}

// The settings page writes the handle in decimal; "$" and "0x" hexadecimal work as well.
INSTANTIATE_TEST_SUITE_P(Preview, PreviewInHostWindow, testing::Values("decimal", "dollar", "hex"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

TEST_F(Preview, IsTheOnlyWindowInTheHostAndShowsNoOtherWindow) {
  EXPECT_EQ(FindWindowExA(host().window(), preview(), nullptr, nullptr), nullptr);
  for (const WindowInfo& window : topLevelWindowsOf(host().saverProcessId())) {
    EXPECT_FALSE(window.visible) << "visible top-level window \"" << window.text << "\"";
  }
}

// ---- What it shows ----

// Wine puts a window that lives in another program's window on the screen only through that
// program's own drawing, so the picture inside preview_host.exe's window cannot be read back
// there. The desktop window is a host whose children Wine does show: the preview then covers
// the screen, and the picture is checked there.
// The saver is a copy in a folder of its own, so that the settings file beside it is the
// test's alone.
class PreviewOnTheDesktop : public testing::Test {
protected:
  void SetUp() override {
    if (settings()) folder_.writeSettings(*settings());
    ASSERT_TRUE(waitForNoScene()) << "an earlier saver's picture stays on the screen";
    saver_.emplace("/p " + std::to_string(static_cast<std::int32_t>(
                               reinterpret_cast<INT_PTR>(GetDesktopWindow()))),
                   folder_.saver());
    window_ = saver_->waitForFullScreenWindow();
    ASSERT_TRUE(window_.has_value()) << "no preview window covering the desktop appeared";
  }
  // The settings file's bytes, or nothing for no file.
  virtual std::optional<Bytes> settings() const { return std::nullopt; }

  const WindowInfo& window() const { return *window_; }

  // The first copy of the screen that shows a frame with the sun at its centre.
  Picture waitForAFrame() {
    Picture copy;
    EXPECT_TRUE(
        kit::waitForTheSun([&] { return copy = captureScreen(window().rect); }).sunAtCentre())
        << "no frame was drawn";
    return copy;
  }

private:
  SaverFolder folder_;
  std::optional<SaverProcess> saver_;
  std::optional<WindowInfo> window_;
};

TEST_F(PreviewOnTheDesktop, PictureChangesOverTime) {
  const Picture before = waitForAFrame();
  ASSERT_FALSE(before.pixels.empty()) << "could not read the screen";
  EXPECT_TRUE(
      waitUntil([&] { return captureScreen(window().rect).pixels != before.pixels; }, kPatience));
}

class PreviewOnTheDesktopWithSettings : public PreviewOnTheDesktop,
                                        public testing::WithParamInterface<SettingsCase> {
protected:
  std::optional<Bytes> settings() const override { return GetParam().file; }
};

TEST_P(PreviewOnTheDesktopWithSettings, ShowsTheSceneWithTheOrbitLinesAndTheCometAsTheFileSays) {
  kit::expectScene(watchScene(), GetParam().options);
  EXPECT_EQ(window().className, "TVeloriumF2");
}

INSTANTIATE_TEST_SUITE_P(Preview, PreviewOnTheDesktopWithSettings,
                         testing::Values(SettingsCase{"NoFile", std::nullopt, {true, true}},
                                         SettingsCase{"OrbitsOnly", Bytes{0, 1}, {false, true}},
                                         SettingsCase{"CometOnly", Bytes{1, 0}, {true, false}}),
                         kit::CaseName());

// ---- What it ignores ----

TEST_F(Preview, IgnoresKeysClicksAndMouseMoves) {
  const RECT before = screenRectOf(preview());
  const POINT centre{(before.left + before.right) / 2, (before.top + before.bottom) / 2};
  SetForegroundWindow(host().window());
  // The clicks go where the pointer is; a move Wine refuses leaves them elsewhere in the host.
  movePointerTo(centre);
  for (int move = 0; move < 10; ++move) {
    movePointerBy(2, 1);
    postMouseMove(preview(), POINT{20 + move, 20});
  }
  clickMouse(MouseButton::Primary);
  clickMouse(MouseButton::Secondary);
  clickMouse(MouseButton::Middle);
  turnMouseWheel();
  pressKey('A');
  pressKey(VK_ESCAPE);
  PostMessageA(preview(), WM_KEYDOWN, 'A', 1);
  PostMessageA(preview(), WM_KEYUP, 'A', 0xC0000001);
  PostMessageA(preview(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
  PostMessageA(preview(), WM_LBUTTONUP, 0, MAKELPARAM(30, 30));

  ASSERT_TRUE(waitUntilHandled(preview())) << "the saver ended";
  EXPECT_TRUE(host().saverIsRunning());
  EXPECT_EQ(GetAncestor(preview(), GA_PARENT), host().window());
  const RECT after = screenRectOf(preview());
  EXPECT_TRUE(EqualRect(&before, &after) != FALSE);
}

TEST_F(Preview, KeepsItsFirstSizeWhenTheHostIsResized) {
  for (const SIZE size : {SIZE{600, 450}, SIZE{200, 150}}) {
    SetWindowPos(host().window(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(waitUntilHandled(host().window()));
    ASSERT_TRUE(waitUntilHandled(preview()));
  }

  const RECT rect = screenRectOf(preview());
  EXPECT_EQ(rect.right - rect.left, kHostWidth);
  EXPECT_EQ(rect.bottom - rect.top, kHostHeight);
  EXPECT_TRUE(host().saverIsRunning());
}

// ---- While nobody can see it ----

// A drawing preview takes over 100 ms of CPU a second under Wine; one that only looks at its
// host four times a second, less than one of Linux's 10 ms steps.
TEST_F(Preview, DrawsNothingWhileItsHostIsHiddenAndGoesOnOnceItIsShownAgain) {
  const ProcessCpu cpu(host().saverProcessId(), saverPath());
  auto drawing = [&] { return cpu.msPerSecond(Milliseconds{1000}) >= 20; };
  auto idle = [&] { return cpu.msPerSecond(Milliseconds{1000}) <= 10; };
  ASSERT_TRUE(waitUntil(drawing)) << "not drawing; read from " << cpu.source();
  ShowWindow(host().window(), SW_HIDE);
  EXPECT_TRUE(waitUntil(idle)) << "still drawing while hidden";
  ShowWindow(host().window(), SW_SHOWNOACTIVATE);
  EXPECT_TRUE(waitUntil(drawing)) << "not drawing again";
}

TEST(PreviewScreenSaverFlag, IsLeftAsThePreviewFindsIt) {
  for (const BOOL flag : {FALSE, TRUE}) {
    SCOPED_TRACE(flag ? "flag set beforehand" : "flag clear beforehand");
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, flag, nullptr, 0);
    PreviewHost host("decimal");
    const HWND preview = host.waitForPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(screenSaverFlagSeenByAnotherProcess(), flag);

    PostMessageA(preview, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(host.waitForSaverExit().has_value());
    EXPECT_EQ(screenSaverFlagSeenByAnotherProcess(), flag);
  }
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
}

// ---- What ends it ----

struct SystemCommand {
  const char* name;
  WPARAM command;
  LPARAM parameter;
};

class PreviewEndsOnSystemCommand : public Preview,
                                   public testing::WithParamInterface<SystemCommand> {};

TEST_P(PreviewEndsOnSystemCommand, WithStatusZero) {
  PostMessageA(preview(), WM_SYSCOMMAND, GetParam().command, GetParam().parameter);
  expectEndsWithStatusZeroAndNoWindow();
}

// Whatever the command and its parameters: the usual one, the one a full-screen saver
// would ignore, none, and one no system sends.
INSTANTIATE_TEST_SUITE_P(Preview, PreviewEndsOnSystemCommand,
                         testing::Values(SystemCommand{"Close", SC_CLOSE, 0},
                                         SystemCommand{"ScreenSave", SC_SCREENSAVE, 0},
                                         SystemCommand{"Zero", 0, 0},
                                         SystemCommand{"Unknown", 0x1234, 0x56789}),
                         kit::CaseName());

TEST_F(Preview, EndsWithStatusZeroWhenTheHostWindowIsDestroyed) {
  PostMessageA(host().window(), WM_CLOSE, 0, 0);
  expectEndsWithStatusZeroAndNoWindow();
}

// The host program ending takes its window and the preview with it; under Wine no message
// tells the preview, its window is simply gone.
TEST_F(Preview, EndsWithStatusZeroWhenTheHostProgramEnds) {
  host().killHost();
  expectEndsWithStatusZeroAndNoWindow();
}

// ---- Handles it cannot use ----

// Starts "/p <handle>" directly and checks the one box and the end.
void expectOneBoxThenStatusZero(const std::string& arguments, const std::string& message) {
  SaverProcess saver(arguments);
  const HWND box = waitForExceptionBox(saver);
  ASSERT_NE(box, nullptr) << "no exception box";
  ASSERT_EQ(exceptionBoxesOf(saver.id()).size(), 1u);
  EXPECT_EQ(exceptionBoxText(box), message);
  for (const WindowInfo& window : saver.visibleWindows()) {
    EXPECT_EQ(window.handle, box) << "visible window \"" << window.text << "\"";
  }

  pressOk(box);
  const auto later = windowsShownUntilExit(saver.id(), [&] { return saver.running(); });
  EXPECT_TRUE(later.empty() || (later.size() == 1 && *later.begin() == box))
      << "another window followed the box";
  EXPECT_EQ(saver.wait(Milliseconds{0}), 0) << "still running after the box was closed";
}

// One case of each kind of bad handle: one that is no number (how each text reads is held by
// StrToInt's own tests), and one that is no window.
TEST(PreviewWithBadHandle, WithoutANumberShowsOneMessageAndEndsWithStatusZero) {
  expectOneBoxThenStatusZero("/p", "'' is not a valid integer value.");
}

TEST(PreviewWithBadHandle, OfAWindowThatNoLongerExistsShowsOneMessageAndEndsWithStatusZero) {
  HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(gone, nullptr);
  DestroyWindow(gone);
  const std::string number =
      std::to_string(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(gone)));

  expectOneBoxThenStatusZero("/p " + number, "Window handle " + number + " is not a valid window.");
}

}  // namespace
}  // namespace e2e
