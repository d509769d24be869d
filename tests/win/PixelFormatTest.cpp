// The pixel-format set-up: the decision after each platform answer (with the answers given
// by a stand-in platform), and a real failure on a window that already has another format,
// with timer ticks arriving while its message is open.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/Tplanets.h"
#include "tests/kit/CaseName.h"
#include "tests/win/DialogWatcher.h"
#include "tests/win/WindowTest.h"
#include "win32/ExtCtrls.h"
#include "win32/PixelFormat.h"

namespace {

// Answers as configured and records every call, in order.
class RecordingPlatform : public PixelFormatPlatform {
public:
  int chosenIndex = 7;
  bool setSucceeds = true;
  int describeResult = 42;
  PIXELFORMATDESCRIPTOR description = {};
  std::vector<std::string> calls;

  int Choose(const PIXELFORMATDESCRIPTOR&) override {
    calls.push_back("Choose");
    return chosenIndex;
  }
  bool Set(int index, const PIXELFORMATDESCRIPTOR&) override {
    calls.push_back("Set " + std::to_string(index));
    return setSucceeds;
  }
  int Describe(int index, PIXELFORMATDESCRIPTOR& into) override {
    calls.push_back("Describe " + std::to_string(index));
    if (describeResult != 0) into = description;
    return describeResult;
  }
  void Report(const char* message) override { calls.push_back(std::string("Report ") + message); }
};

// The request the scene makes, written out.
PIXELFORMATDESCRIPTOR SceneRequest() {
  PIXELFORMATDESCRIPTOR request{};
  request.nSize = 40;
  request.nVersion = 1;
  request.dwFlags = 0x25;
  request.iPixelType = PFD_TYPE_RGBA;
  request.cColorBits = 24;
  request.cDepthBits = 32;
  request.iLayerType = PFD_MAIN_PLANE;
  return request;
}

PIXELFORMATDESCRIPTOR Described(DWORD flags) {
  PIXELFORMATDESCRIPTOR description{};
  description.nSize = 40;
  description.nVersion = 1;
  description.dwFlags = flags;
  description.cColorBits = 32;
  description.cRedBits = 8;
  description.cDepthBits = 24;
  description.cStencilBits = 8;
  return description;
}

using Calls = std::vector<std::string>;

// One answer of the platform changed from a good format's, and what the set-up does then.
struct Decision {
  const char* name;
  int chosenIndex;
  bool setSucceeds;
  int describeResult;
  DWORD describedFlags;
  bool succeeds;
  Calls calls;
};

class PixelFormatDecisions : public testing::TestWithParam<Decision> {};

}  // namespace

TEST_P(PixelFormatDecisions, FollowThePlatformsAnswers) {
  RecordingPlatform platform;
  platform.chosenIndex = GetParam().chosenIndex;
  platform.setSucceeds = GetParam().setSucceeds;
  platform.describeResult = GetParam().describeResult;
  platform.description = Described(GetParam().describedFlags);
  PIXELFORMATDESCRIPTOR format = SceneRequest();
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

// A failed SetPixelFormat is reported once and never described, even for index 0 (no matching
// format); only the palette flag of a description is tested.
INSTANTIATE_TEST_SUITE_P(
    PixelFormat, PixelFormatDecisions,
    testing::Values(Decision{"NoMatchingFormatFailsAtSettingIndexZero",
                             0,
                             false,
                             42,
                             0x25,
                             false,
                             {"Choose", "Set 0", "Report -> SetPixelFormat <-"}},
                    Decision{"RefusedFormatIsReportedOnceAndNeverDescribed",
                             7,
                             false,
                             42,
                             0x25,
                             false,
                             {"Choose", "Set 7", "Report -> SetPixelFormat <-"}},
                    Decision{"FailedDescriptionIsReported",
                             7,
                             true,
                             0,
                             0x25,
                             false,
                             {"Choose", "Set 7", "Describe 7", "Report -> DescribePixelFormat <-"}},
                    Decision{"FormatThatNeedsAPaletteIsRefused",
                             7,
                             true,
                             42,
                             0x25 | PFD_NEED_PALETTE,
                             false,
                             {"Choose", "Set 7", "Describe 7", "Report -> Need palette <-"}},
                    Decision{"OnlyThePaletteFlagOfTheDescriptionIsTested",
                             7,
                             true,
                             42,
                             PFD_NEED_SYSTEM_PALETTE | PFD_GENERIC_FORMAT,
                             true,
                             {"Choose", "Set 7", "Describe 7"}},
                    Decision{"GoodFormatReportsNothingAndLeavesItsDescription",
                             7,
                             true,
                             42,
                             0x25 | PFD_SWAP_EXCHANGE,
                             true,
                             {"Choose", "Set 7", "Describe 7"}}),
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
    const PIXELFORMATDESCRIPTOR request = SceneRequest();
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
