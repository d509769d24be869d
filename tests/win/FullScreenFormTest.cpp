// The full-screen saver form in process, made the way start-up makes it: the screen-saver
// announcement, the floating-point mask, ticks held back until the form is on screen,
// closing on the sixth mouse move, and the clean-up when the application goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "forms/Veloriumu1.h"
#include "framework/FloatingPoint.h"
#include "tests/kit/TempDir.h"
#include "tests/win/SceneWindow.h"
#include "tests/win/WindowTest.h"
#include "win32/Screen.h"

namespace {

bool ScreenSaverRunning() {
  BOOL running = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  return running != FALSE;
}

// A settings file beside the test program while it lives; none before and after.
class SettingsFileBesideTheProgram {
public:
  explicit SettingsFileBesideTheProgram(const Bytes& bytes) {
    char name[MAX_PATH * 4] = {};
    const std::string program(name, GetModuleFileNameA(nullptr, name, sizeof name));
    path_ = program.substr(0, program.find_last_of('\\') + 1) + "Velorium.ini";
    WriteBytes(path_, bytes);
  }
  ~SettingsFileBesideTheProgram() { DeleteFileA(path_.c_str()); }
  SettingsFileBesideTheProgram(const SettingsFileBesideTheProgram&) = delete;
  SettingsFileBesideTheProgram& operator=(const SettingsFileBesideTheProgram&) = delete;

private:
  std::string path_;
};

class FullScreenForm : public testing::Test {
protected:
  FullScreenForm() {
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    MouseMoveCount = 0;
  }
  ~FullScreenForm() override {
    application.reset();
    VeloriumF1 = nullptr;
    TakeQuitRequest();
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    SetX87ControlWord(savedX87_);
    SetSseControlStatus(savedSse_);
  }

  void CreateTheForm() {
    application->CreateForm(VeloriumF1);
    ASSERT_NE(VeloriumF1, nullptr);
    ASSERT_NE(VeloriumF1->Planets, nullptr);
  }

  // The program ends the way the application ends: it destroys its forms.
  void EndTheProgram() { application.reset(); }

  std::uint16_t savedX87_ = X87ControlWord();
  std::uint32_t savedSse_ = SseControlStatus();
  std::unique_ptr<TApplication> application = std::make_unique<TApplication>();
};

}  // namespace

TEST_F(FullScreenForm, CreatingItAnnouncesARunningScreenSaverUntilTheProgramEnds) {
  ASSERT_FALSE(ScreenSaverRunning());
  CreateTheForm();
  EXPECT_TRUE(ScreenSaverRunning());
  EndTheProgram();
  EXPECT_FALSE(ScreenSaverRunning());
}

TEST_F(FullScreenForm, SceneBelongsToTheFormAndStartsWithOptionsLoaded) {
  // Both options off, unlike their defaults, in the settings file beside the test program.
  const SettingsFileBesideTheProgram settings({0, 0});
  CreateTheForm();
  EXPECT_EQ(VeloriumF1->Planets->Form, VeloriumF1);
  EXPECT_EQ(VeloriumF1->Planets->Counter, 0);
  EXPECT_EQ(VeloriumF1->Planets->ShowComet, 0);
  EXPECT_EQ(VeloriumF1->Planets->ShowOrbits, 0);
}

// Through the window's own messages: the first five leave the saver open; the sixth and
// every one after it ask to close, each one counted.
TEST_F(FullScreenForm, EachMouseMoveIsCountedAndEveryMoveFromTheSixthAsksToClose) {
  CreateTheForm();
  HWND window = VeloriumF1->Handle();
  for (int move = 1; move <= 7; ++move) {
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(move, 0));
    EXPECT_EQ(MouseMoveCount, move);
    EXPECT_EQ(TakeQuitRequest(), move >= 6) << "move " << move;
  }
}

TEST_F(FullScreenForm, ConstructorMasksEveryFloatingPointException) {
  // x87: all six exceptions unmasked, 53-bit precision, rounding to nearest. SSE: all but
  // the precision exception unmasked; with that one unmasked too, building the form dies of
  // an inexact result before its constructor gets to set the mask.
  SetX87ControlWord(0x0240);
  SetSseControlStatus(0x1000);
  CreateTheForm();
  const std::uint16_t x87 = X87ControlWord();
  const std::uint32_t sse = SseControlStatus();
  SetX87ControlWord(savedX87_);
  SetSseControlStatus(savedSse_);
  EXPECT_EQ(x87 & 0x3F, 0x3F);
  EXPECT_EQ(x87 & 0x0F00, 0x0200) << "precision and rounding unchanged";
  EXPECT_EQ(sse & 0x1F80, 0x1F80u);
  EXPECT_EQ(sse & 0x6000, 0u) << "rounding unchanged";
}

TEST_F(FullScreenForm, TicksWaitUntilTheFormIsOnScreen) {
  CreateTheForm();
  kit::pause(kit::Milliseconds{300});
  EXPECT_EQ(VeloriumF1->Planets->Counter, 0)
      << "a tick reached the scene before the form was shown";
  EXPECT_FALSE(VeloriumF1->Planets->HasContext);

  VeloriumF1->Show();
  EXPECT_TRUE(
      kit::waitUntil([] { return VeloriumF1->Planets->Counter >= 3; }, kit::Milliseconds{3000}));
  EXPECT_TRUE(VeloriumF1->Planets->HasContext);
}

TEST_F(FullScreenForm, EndingTheProgramReleasesTheScenesContext) {
  CreateTheForm();
  VeloriumF1->Show();
  ASSERT_TRUE(
      kit::waitUntil([] { return VeloriumF1->Planets->HasContext; }, kit::Milliseconds{3000}));
  EXPECT_EQ(wglGetCurrentContext(), VeloriumF1->Planets->RC);
  EndTheProgram();
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_FALSE(ScreenSaverRunning());
}

TEST_F(FullScreenForm, ShownItStaysOverItsWholeMonitorWhenResized) {
  CreateTheForm();
  VeloriumF1->Show();
  HWND window = VeloriumF1->Handle();
  const RECT monitor = MonitorRectOf(window);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  ASSERT_TRUE(GetWindowPlacement(window, &placement));
  const RECT& normal = placement.rcNormalPosition;
  // What Wine without a window manager does when a late X event brings the first size back.
  SetWindowPos(window, nullptr, 0, 0, normal.right - normal.left, normal.bottom - normal.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  RECT now{};
  GetWindowRect(window, &now);
  EXPECT_TRUE(EqualRect(&now, &monitor)) << now.right - now.left << "x" << now.bottom - now.top;
}

TEST_F(FullScreenForm, NothingIsDrawnWhileADisplayIsOffAndTheFramesGoOnFromTheSameCounter) {
  CreateTheForm();
  VeloriumF1->Show();
  ASSERT_TRUE(
      kit::waitUntil([] { return VeloriumF1->Planets->Counter >= 3; }, kit::Milliseconds{3000}));
  // The console's display goes off, then dims.
  SendDisplayState(kConsoleDisplayState, 0);
  const std::int32_t counter = VeloriumF1->Planets->Counter;
  kit::pause(kit::Milliseconds{200});
  EXPECT_FALSE(VeloriumF1->Timer1->Enabled());
  EXPECT_EQ(VeloriumF1->Planets->Counter, counter);
  SendDisplayState(kConsoleDisplayState, 2);
  // The sight's next look starts the frames again, from the same Counter.
  ASSERT_TRUE(kit::waitUntil([] { return VeloriumF1->Timer1->Enabled(); }));
  EXPECT_EQ(VeloriumF1->Planets->Counter, counter);
  EXPECT_TRUE(kit::waitUntil([&] { return VeloriumF1->Planets->Counter > counter; },
                             kit::Milliseconds{3000}));
}
