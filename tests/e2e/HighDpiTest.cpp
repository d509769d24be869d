// A screen above 96 pixels per inch (scripts/test runs these with 144): the full-screen saver
// draws on the screen's real pixels, while the options dialog and the about box see 96 pixels
// per inch and keep the layouts they have there. The driver reads each window in the DPI
// context it wants: aware for real pixels, unaware for what the dialogs see.
#include <gtest/gtest.h>

#include <optional>

#include "tests/e2e/SaverProcess.h"
#include "win32/Screen.h"

namespace e2e {
namespace {

// DPI_AWARENESS_CONTEXT_UNAWARE and _PER_MONITOR_AWARE.
const HANDLE kUnaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr char kNeedsHighDpi[] =
    "this test needs a screen above 96 pixels per inch (scripts/test gives it one)";

template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// This thread's DPI context while it lives.
class ThreadDpi {
public:
  explicit ThreadDpi(HANDLE context) {
    if (set_ != nullptr) previous_ = set_(context);
  }
  ~ThreadDpi() {
    if (set_ != nullptr && previous_ != nullptr) set_(previous_);
  }
  ThreadDpi(const ThreadDpi&) = delete;
  ThreadDpi& operator=(const ThreadDpi&) = delete;
  bool switched() const { return previous_ != nullptr; }

private:
  using Set = HANDLE(WINAPI*)(HANDLE);
  Set set_ = user32Function<Set>("SetThreadDpiAwarenessContext");
  HANDLE previous_ = nullptr;
};

// The pixels per inch the window works in (96 for a DPI-unaware window), 0 if unknown.
UINT dpiOfWindow(HWND window) {
  using Get = UINT(WINAPI*)(HWND);
  const Get get = user32Function<Get>("GetDpiForWindow");
  return get != nullptr ? get(window) : 0;
}

TEST(HighDpiScreen, TheFullScreenSaverDrawsOnEveryRealPixel) {
  ThreadDpi aware(kPerMonitorAware);
  ASSERT_TRUE(aware.switched());
  const int pixelsPerInch = ScreenPixelsPerInch();
  if (pixelsPerInch <= 96) GTEST_SKIP() << kNeedsHighDpi;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));

  SaverProcess saver("/s");
  const auto window = saver.waitForFullScreenWindow();
  ASSERT_TRUE(window.has_value()) << "no full-screen window appeared";
  EXPECT_EQ(dpiOfWindow(window->handle), static_cast<UINT>(pixelsPerInch));
  EXPECT_EQ(window->rect.left, 0);
  EXPECT_EQ(window->rect.top, 0);
  EXPECT_EQ(window->rect.right, static_cast<LONG>(mode.dmPelsWidth));
  EXPECT_EQ(window->rect.bottom, static_cast<LONG>(mode.dmPelsHeight));
  // The sun sits at the centre of the whole screen only when the picture fills it.
  kit::expectScene(watchScene());
}

TEST(HighDpiScreen, TheDialogsSeeNinetySixPixelsPerInchAndKeepTheirLayouts) {
  if (ScreenPixelsPerInch() <= 96) GTEST_SKIP() << kNeedsHighDpi;
  SaverFolder folder;
  SaverProcess saver("/c", folder.saver());
  const auto options = waitForWindow(saver, "Options...");
  ASSERT_TRUE(options.has_value()) << "no options dialog";
  pressButton(findControl(options->handle, "About...").handle);
  const auto about = waitForWindow(saver, "About...");
  ASSERT_TRUE(about.has_value()) << "no about box";

  ThreadDpi unaware(kUnaware);
  ASSERT_TRUE(unaware.switched());
  EXPECT_EQ(dpiOfWindow(options->handle), 96u);
  const SIZE optionsClient = clientSize(options->handle);
  EXPECT_EQ(optionsClient.cx, 168);
  EXPECT_EQ(optionsClient.cy, 130);
  // The about box's 120-pixels-per-inch design, scaled to 96 by the height of its text.
  EXPECT_EQ(dpiOfWindow(about->handle), 96u);
  const SIZE aboutClient = clientSize(about->handle);
  EXPECT_EQ(aboutClient.cx, 271);
  EXPECT_EQ(aboutClient.cy, 151);
}

}  // namespace
}  // namespace e2e
