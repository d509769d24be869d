// Start-up's guarded steps in process: what escapes the making of the main form is shown in
// the standard exception display and start-up still returns 0; no mode, no window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/Startup.h"
#include "win32/Forms.h"
#include "tests/win/DialogWatcher.h"
#include "tests/win/SceneWindow.h"

namespace {

// Windows of this thread that were shown while a hook was in place. A hook procedure
// gets no context of its own, so the record is a file-local one.
std::vector<HWND>* shownWindows = nullptr;

LRESULT CALLBACK RecordShowing(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && shownWindows != nullptr && call->message == WM_SHOWWINDOW &&
      call->wParam != FALSE) {
    shownWindows->push_back(call->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Records every window this thread shows for as long as it lives.
class ShownWindows {
public:
  ShownWindows() {
    shownWindows = &windows_;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, RecordShowing, nullptr, GetCurrentThreadId());
  }
  ~ShownWindows() {
    UnhookWindowsHookEx(hook_);
    shownWindows = nullptr;
  }
  ShownWindows(const ShownWindows&) = delete;
  ShownWindows& operator=(const ShownWindows&) = delete;

  bool Hooked() const { return hook_ != nullptr; }
  const std::vector<HWND>& Windows() const { return windows_; }

private:
  HHOOK hook_ = nullptr;
  std::vector<HWND> windows_;
};

LRESULT CALLBACK RefuseCreation(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) return FALSE;
  return DefWindowProcA(window, msg, wParam, lParam);
}

// While it lives, the application's window class makes no windows: the class is registered
// in its place before the application looks for it, and removed again afterwards.
class ApplicationWindowRefused {
public:
  ApplicationWindowRefused() {
    UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = RefuseCreation;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    registered_ = RegisterClassExA(&windowClass) != 0;
  }
  ~ApplicationWindowRefused() { UnregisterClassA(kClassName, GetModuleHandleA(nullptr)); }
  ApplicationWindowRefused(const ApplicationWindowRefused&) = delete;
  ApplicationWindowRefused& operator=(const ApplicationWindowRefused&) = delete;

  bool Registered() const { return registered_; }

private:
  static constexpr char kClassName[] = "TApplication";
  bool registered_ = false;
};

}  // namespace

TEST(RunApplication, ThrownNonExceptionShowsAnEmptyMessageUnderTheTitleAndReturnsZero) {
  DialogWatcher watcher("Velorium I");
  const int status = RunApplication(SaverMode::FullScreen, [](TApplication&, SaverMode) { throw 42; });
  EXPECT_EQ(status, 0);
  const std::vector<SeenBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Velorium I");
  EXPECT_EQ(seen[0].text, "");
}

TEST(RunApplication, ThrownExceptionShowsItsMessageWithAFullStopAndReturnsZero) {
  DialogWatcher watcher("Velorium I");
  const int status = RunApplication(SaverMode::FullScreen, [](TApplication&, SaverMode) {
    throw Exception("Boom");
  });
  EXPECT_EQ(status, 0);
  const std::vector<SeenBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Velorium I");
  EXPECT_EQ(seen[0].text, "Boom.");
  EXPECT_TRUE(seen[0].hasIcon) << "the exception display shows the error icon";
}

TEST(RunApplication, MakerHearsTheModeItWasStartedFor) {
  SaverMode heard = SaverMode::None;
  DialogWatcher watcher("Velorium I");
  RunApplication(SaverMode::Preview, [&](TApplication&, SaverMode mode) {
    heard = mode;
    throw Exception("stop here");
  });
  EXPECT_EQ(heard, SaverMode::Preview);
}

TEST(RunApplication, NoModeReturnsZeroWithoutMakingAFormOrShowingAWindow) {
  bool made = false;
  int status = -1;
  {
    ShownWindows shown;
    ASSERT_TRUE(shown.Hooked());
    status = RunApplication(SaverMode::None, [&](TApplication&, SaverMode) { made = true; });
    EXPECT_TRUE(shown.Windows().empty()) << shown.Windows().size() << " windows shown";
  }
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(made);
  EXPECT_TRUE(TakeQuitRequest()) << "the application was asked to end";
  EXPECT_EQ(Application, nullptr);
}

TEST(RunApplication, AnApplicationWindowThatCannotBeMadeIsShownAndStartUpReturnsZero) {
  bool made = false;
  int status = -1;
  DialogWatcher watcher("");
  {
    ApplicationWindowRefused refused;
    ASSERT_TRUE(refused.Registered());
    status = RunApplication(SaverMode::FullScreen, [&](TApplication&, SaverMode) { made = true; });
  }
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(made);
  const std::vector<SeenBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  // The title is set only after the application has been initialised.
  EXPECT_EQ(seen[0].caption, "");
  EXPECT_EQ(seen[0].text, "Cannot create the application window.");
}
