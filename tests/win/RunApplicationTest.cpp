// Start-up's guarded steps in process: what escapes the making of the main form is shown in
// the standard exception display; no mode makes no form. That the program then ends with
// status 0 and, without a mode, shows no window is seen from outside (tests/e2e).
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/Startup.h"
#include "tests/win/DialogWatcher.h"
#include "tests/win/SceneWindow.h"
#include "win32/Forms.h"

namespace {

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

TEST(RunApplication, ThrownNonExceptionShowsAnEmptyMessageUnderTheTitle) {
  DialogWatcher watcher("Velorium I");
  RunApplication(SaverMode::FullScreen, [](TApplication&, SaverMode) { throw 42; });
  const std::vector<SeenBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Velorium I");
  EXPECT_EQ(seen[0].text, "");
}

TEST(RunApplication, ThrownExceptionShowsItsMessageWithAFullStop) {
  DialogWatcher watcher("Velorium I");
  RunApplication(SaverMode::FullScreen, [](TApplication&, SaverMode) { throw Exception("Boom"); });
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

TEST(RunApplication, NoModeMakesNoForm) {
  bool made = false;
  RunApplication(SaverMode::None, [&](TApplication&, SaverMode) { made = true; });
  EXPECT_FALSE(made);
  EXPECT_TRUE(TakeQuitRequest()) << "the application was asked to end";
  EXPECT_EQ(Application, nullptr);
}

TEST(RunApplication, AnApplicationWindowThatCannotBeMadeIsShown) {
  bool made = false;
  DialogWatcher watcher("");
  {
    ApplicationWindowRefused refused;
    ASSERT_TRUE(refused.Registered());
    RunApplication(SaverMode::FullScreen, [&](TApplication&, SaverMode) { made = true; });
  }
  EXPECT_FALSE(made);
  const std::vector<SeenBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  // The title is set only after the application has been initialised.
  EXPECT_EQ(seen[0].caption, "");
  EXPECT_EQ(seen[0].text, "Cannot create the application window.");
}
