// The pixel-format set-up: the decision after each platform answer (with the answers given
// by a stand-in platform), and a real failure on a window that already has another format,
// with timer ticks arriving while its message is open.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "scene/Tplanets.h"
#include "tests/kit/CaseName.h"
#include "tests/win/DialogWatcher.h"
#include "tests/win/WindowTest.h"
#include "win32/ExtCtrls.h"
#include "win32/PixelFormat.h"

namespace {

// What the stand-in platform answers (a good format at index 7 unless a case says otherwise),
// whether the set-up then succeeds, and the calls it makes, in order, each after " | ".
struct Decision {
  const char* name;
  int chosenIndex = 7;
  bool setSucceeds = true;
  int describeResult = 42;
  DWORD describedFlags = 0x25;
  bool succeeds = false;
  const char* calls;
};

// Answers as configured and records every call, in order.
class RecordingPlatform : public PixelFormatPlatform {
public:
  explicit RecordingPlatform(const Decision& answers) : answers_(answers) {}
  std::string calls;  // "Choose | Set 7 | ..."

  int Choose(const PIXELFORMATDESCRIPTOR&) override {
    record("Choose");
    return answers_.chosenIndex;
  }
  bool Set(int index, const PIXELFORMATDESCRIPTOR&) override {
    record("Set " + std::to_string(index));
    return answers_.setSucceeds;
  }
  int Describe(int index, PIXELFORMATDESCRIPTOR& into) override {
    record("Describe " + std::to_string(index));
    if (answers_.describeResult == 0) return 0;
    into = PIXELFORMATDESCRIPTOR{};
    into.nSize = 40;
    into.nVersion = 1;
    into.dwFlags = answers_.describedFlags;
    into.cColorBits = 32;
    into.cRedBits = 8;
    into.cDepthBits = 24;
    into.cStencilBits = 8;
    return answers_.describeResult;
  }
  void Report(const char* message) override { record(std::string("Report ") + message); }

private:
  void record(const std::string& call) { calls += (calls.empty() ? "" : " | ") + call; }
  Decision answers_;
};

void PrintTo(const Decision& decision, std::ostream* out) {
  *out << decision.calls;
}

class PixelFormatDecisions : public testing::TestWithParam<Decision> {};

}  // namespace

TEST_P(PixelFormatDecisions, FollowThePlatformsAnswers) {
  RecordingPlatform platform(GetParam());
  // The stand-in answers whatever is asked.
  PIXELFORMATDESCRIPTOR format = PreparedRequestedFormat();
  EXPECT_EQ(NegotiatePixelFormat(platform, format), GetParam().succeeds);
  EXPECT_EQ(platform.calls, GetParam().calls);
  // A good format leaves its description in the request.
  if (GetParam().succeeds) {
    EXPECT_EQ(format.dwFlags, GetParam().describedFlags);
    EXPECT_EQ(format.cColorBits, 32);
    EXPECT_EQ(format.cDepthBits, 24);
    EXPECT_EQ(format.cStencilBits, 8);
  }
}

// A refused format is reported once and never described, even index 0 (no matching format);
// of a description only the palette flag is tested, so that a format without the requested
// flags, or a software one that needs the system palette, is taken as good.
INSTANTIATE_TEST_SUITE_P(
    PixelFormat, PixelFormatDecisions,
    testing::Values(
        Decision{.name = "NoMatchingFormatFailsAtSettingIndexZero",
                 .chosenIndex = 0,
                 .setSucceeds = false,
                 .calls = "Choose | Set 0 | Report -> SetPixelFormat <-"},
        Decision{.name = "RefusedFormatIsReportedOnceAndNeverDescribed",
                 .setSucceeds = false,
                 .calls = "Choose | Set 7 | Report -> SetPixelFormat <-"},
        Decision{.name = "FailedDescriptionIsReported",
                 .describeResult = 0,
                 .calls = "Choose | Set 7 | Describe 7 | Report -> DescribePixelFormat <-"},
        Decision{.name = "FormatThatNeedsAPaletteIsRefused",
                 .describedFlags = 0x25 | PFD_NEED_PALETTE,
                 .calls = "Choose | Set 7 | Describe 7 | Report -> Need palette <-"},
        Decision{.name = "AnyOtherFormatReportsNothingAndLeavesItsDescription",
                 .describedFlags = PFD_SWAP_EXCHANGE | PFD_NEED_SYSTEM_PALETTE | PFD_GENERIC_FORMAT,
                 .succeeds = true,
                 .calls = "Choose | Set 7 | Describe 7"}),
    kit::CaseName());

namespace {

// A scene window that already has a pixel format other than the one the scene chooses,
// so that the scene's SetPixelFormat really fails.
class SceneSetUpFailure : public WindowTest {
protected:
  void SetUp() override {
    HDC dc = GetDC(form->Handle());
    const int chosen = ChoosePixelFormat(dc, &PreparedRequestedFormat());
    const int count = DescribePixelFormat(dc, 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr);
    const PIXELFORMATDESCRIPTOR request = PreparedRequestedFormat();
    for (int index = 1; index <= count && presetIndex == 0; ++index) {
      if (index != chosen && SetPixelFormat(dc, index, &request)) presetIndex = index;
    }
    ASSERT_NE(presetIndex, 0) << "no other format could be set on the window";
  }

  TSceneF* form = NewSceneWindow(160, 120);
  int presetIndex = 0;
};

}  // namespace

TEST_F(SceneSetUpFailure, ShowsTheSetPixelFormatMessageWithCaptionErrorAndNoIcon) {
  TPlanets scene(form);
  DialogWatcher watcher("Error");
  scene.Tick();
  const std::vector<SeenBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Error");
  EXPECT_EQ(seen[0].text, "-> SetPixelFormat <-");
  EXPECT_FALSE(seen[0].hasIcon);
}

TEST_F(SceneSetUpFailure, MakesNoContextAndAsksTheApplicationToEnd) {
  TPlanets scene(form);
  DialogWatcher watcher("Error");
  scene.Tick();
  EXPECT_FALSE(scene.HasContext);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(scene.Counter, 1);
  EXPECT_TRUE(TakeQuitRequest());
}

TEST_F(SceneSetUpFailure, TicksWhileTheMessageIsOpenStartNoSecondSetUp) {
  TPlanets scene(form);
  int ticksWhileOpen = 0;
  TTimer* timer = new TTimer(form);
  timer->SetInterval(20);
  timer->SetOnTimer([&](TObject*) {
    ++ticksWhileOpen;
    scene.Tick();
  });
  {
    DialogWatcher watcher("Error", 400);
    scene.Tick();
    timer->SetEnabled(false);
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.MostOpenAtOnce(), 1);
  }
  EXPECT_GE(ticksWhileOpen, 3) << "no tick came while the message was open";
  EXPECT_EQ(scene.Counter, 1) << "only the tick that made the set-up counts";
  EXPECT_TRUE(TakeQuitRequest());
}

TEST_F(SceneSetUpFailure, FailedSceneLeavesAnotherCurrentContextAlone) {
  TSceneF* good = NewSceneWindow(160, 120);
  TPlanets drawing(good);
  drawing.Tick();
  ASSERT_EQ(wglGetCurrentContext(), drawing.RC);
  {
    TPlanets failed(form);
    DialogWatcher watcher("Error");
    failed.Tick();
    EXPECT_EQ(wglGetCurrentContext(), drawing.RC) << "the set-up failed before any WGL call";
  }
  EXPECT_EQ(wglGetCurrentContext(), drawing.RC) << "destroying a failed scene makes no WGL call";
}
