// velorium --full-screen, the saver of a Wayland desktop, in a headless compositor of each
// case's own: every output covered, ended by input as the Windows saver is, nothing drawn while
// unseen, started by swayidle, the fallback shell on cage, the X11 program's frames, and
// sessions that go wrong.
// The kit first: GoogleTest before Xlib, whose None and Bool macros would break it.
#include "tests/linux/Hack.h"

#include <linux/input-event-codes.h>

#include <filesystem>

#include "tests/kit/Session_wayland.h"
#include "tests/kit/TempDir.h"
#include "tests/linux/GlFrames.h"

namespace linuxtest {
namespace {

// Headless sway with two outputs of 320x240, HEADLESS-1 and HEADLESS-2.
class FullScreen : public testing::Test {
protected:
  std::unique_ptr<Process> startSaver(const std::vector<std::string>& environment = {}) {
    return session_.start({hackPath(), "--full-screen"}, environment);
  }
  // The sun comes to the output's centre, and no pixel of the output shows the wallpaper.
  void expectCovered(const std::string& output) {
    Picture shown;
    const SceneSeen seen = waitForTheSun([&] { return shown = session_.picture(output); });
    EXPECT_TRUE(seen.sunAtCentre()) << output << ": " << seen;
    EXPECT_EQ(std::count(shown.pixels.begin(), shown.pixels.end(), kWallpaper), 0) << output;
  }
  // Nothing but the wallpaper and the cursor (a few hundred pixels) on any output.
  bool showsTheWallpaper() {
    const Picture all = session_.picture();
    return std::count(all.pixels.begin(), all.pixels.end(), kWallpaper) >=
           all.width * all.height * 98 / 100;
  }

  WaylandSession session_;
};

TEST_F(FullScreen, CoversEveryOutputAndOneAddedLaterAndGoesOnWhenOneIsRemoved) {
  const std::unique_ptr<Process> saver = startSaver();
  expectCovered("HEADLESS-1");
  expectCovered("HEADLESS-2");
  ASSERT_TRUE(session_.sway("create_output"));
  expectCovered("HEADLESS-3");
  ASSERT_TRUE(session_.sway("output HEADLESS-2 disable"));
  pause(Milliseconds(500));
  EXPECT_TRUE(saver->running()) << saver->errors();
  expectCovered("HEADLESS-1");
  expectCovered("HEADLESS-3");
  expectEndsWithZero(*saver);
}

// At scale 2 a picture of the output's logical size, stretched, would draw every orbit line
// two pixels thick.
TEST_F(FullScreen, OnAnOutputOfScaleTwoItDrawsAtTheOutputsFullResolution) {
  ASSERT_TRUE(session_.sway("output HEADLESS-1 scale 2"));
  const std::unique_ptr<Process> saver = startSaver();
  SceneSeen seen;
  EXPECT_TRUE(waitUntil([&] {
    seen = readScene(session_.picture("HEADLESS-1"));
    return seen.sunAtCentre() && seen.orbitLines();
  })) << seen;
  EXPECT_EQ(std::pair(seen.width, seen.height), std::pair(320, 240));
  expectEndsWithZero(*saver);
}

// What the user does while the saver shows, and whether that ends it with 0.
struct Input {
  const char* name;
  std::function<void(WaylandSession&, const Process&)> act;
  bool ends;
};

void PrintTo(const Input& input, std::ostream* out) {
  *out << input.name;
}

class FullScreenInput : public FullScreen, public testing::WithParamInterface<Input> {};

TEST_P(FullScreenInput, EndsWithZeroOnAKeyALeftClickTheSixthMotionOrAStopSignalOnly) {
  const std::unique_ptr<Process> saver = startSaver();
  expectCovered("HEADLESS-1");
  GetParam().act(session_, *saver);
  if (GetParam().ends) {
    EXPECT_EQ(saver->wait(), 0);
    EXPECT_EQ(saver->errors(), "");
  } else {
    EXPECT_FALSE(saver->wait(Milliseconds(1000))) << "it ended: " << saver->errors();
    expectEndsWithZero(*saver);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Saver, FullScreenInput,
    testing::Values(
        Input{"Key", [](WaylandSession& s, const Process&) { s.typeKey("space"); }, true},
        Input{"LeftClick", [](WaylandSession& s, const Process&) { s.click(BTN_LEFT); }, true},
        Input{"SixMotions", [](WaylandSession& s, const Process&) { s.movePointer(6); }, true},
        Input{"Sigterm", [](WaylandSession&, const Process& p) { p.signal(SIGTERM); }, true},
        Input{"Sigint", [](WaylandSession&, const Process& p) { p.signal(SIGINT); }, true},
        Input{"Sighup", [](WaylandSession&, const Process& p) { p.signal(SIGHUP); }, true},
        Input{"FiveMotions", [](WaylandSession& s, const Process&) { s.movePointer(5); }, false},
        Input{"RightClick", [](WaylandSession& s, const Process&) { s.click(BTN_RIGHT); }, false},
        Input{"Wheel", [](WaylandSession& s, const Process&) { s.scrollWheel(); }, false}),
    CaseName());

// Full-screen windows of the fallback shell, on workspaces that every output leaves for an
// empty one and comes back to.
TEST_F(FullScreen, OnHiddenWorkspacesItDrawsNothingAndTheSunComesBackWithThem) {
  const std::unique_ptr<Process> saver = startSaver({"VELORIUM_WAYLAND_SHELL=xdg"});
  expectCovered("HEADLESS-1");
  expectCovered("HEADLESS-2");
  ASSERT_TRUE(
      session_.sway("focus output HEADLESS-1; workspace 8; focus output HEADLESS-2; "
                    "workspace 9"));
  EXPECT_TRUE(waitUntil([&] { return showsTheWallpaper(); }));
  // The frame in progress ends; then 1.5 s would take about 0.2 s of drawing.
  pause(Milliseconds(300));
  const double hiddenFrom = saver->cpuSeconds();
  pause(Milliseconds(1500));
  EXPECT_LE(saver->cpuSeconds() - hiddenFrom, 0.02);
  ASSERT_TRUE(
      session_.sway("focus output HEADLESS-1; workspace 1; focus output HEADLESS-2; "
                    "workspace 2"));
  expectCovered("HEADLESS-1");
  expectCovered("HEADLESS-2");
  expectEndsWithZero(*saver);
}

// A copy of velorium of the case's own, so that its processes are told from those of other
// cases that may run at the same time.
TEST_F(FullScreen, SwayidleStartsItWhenTheSessionIsIdleAndAKeyEndsIt) {
  const std::string copy = session_.runtimeFolder() + "/velorium";
  std::filesystem::copy_file(hackPath(), copy);
  const std::unique_ptr<Process> idle =
      session_.start({"swayidle", "timeout", "2", copy + " --full-screen"});
  expectCovered("HEADLESS-1");
  expectCovered("HEADLESS-2");
  EXPECT_EQ(processesRunning(copy).size(), 1u);
  session_.typeKey("space");
  EXPECT_TRUE(waitUntil([&] { return processesRunning(copy).empty(); }, Milliseconds(1500)));
}

// Killed at moments spread over a frame period once the scene shows; at 1024x768 a frame takes
// a good part of the period, so that some moments fall inside one.
TEST(FullScreenCompositorDeath, ItSaysSoInOneLineAndEndsWithOneWhenTheCompositorDies) {
  for (int delayMs = 0; delayMs < 40; delayMs += 13) {
    WaylandSession session(1, 1024, 768);
    const std::unique_ptr<Process> saver = session.start({hackPath(), "--full-screen"});
    ASSERT_TRUE(waitForTheSun([&] { return session.picture(); }).sunAtCentre());
    pause(Milliseconds(delayMs));
    session.kill();
    expectRefused({saver->wait(), saver->output(), saver->errors()},
                  "velorium: lost the connection to the Wayland compositor at '" +
                      session.socketName() + "'\n");
  }
}

// No socket of that name, and a socket that answers but is no compositor: sway's own IPC.
TEST_F(FullScreen, WithoutACompositorToTalkToItSaysSoInOneLineAndEndsWithOne) {
  const std::string folder = "XDG_RUNTIME_DIR=" + session_.runtimeFolder();
  expectRefused(runHack({"--full-screen"}, "", {"WAYLAND_DISPLAY=wayland-99", folder}),
                "velorium: no Wayland compositor at 'wayland-99': No such file or directory\n");
  const std::string ipc = session_.ipcSocketPath();
  expectRefused(runHack({"--full-screen"}, "", {"WAYLAND_DISPLAY=" + ipc, folder}),
                "velorium: no Wayland compositor answers at '" + ipc + "'\n");
}

// cage offers no layer-shell: a window of the fallback shell, full screen on its one output.
TEST(FullScreenOnCage, ItShowsTheSceneOverTheWholeOutput) {
  WaylandSession cage({hackPath(), "--full-screen"});
  Picture shown;
  const SceneSeen seen = waitForTheSun([&] { return shown = cage.picture(); });
  EXPECT_EQ(std::pair(shown.width, shown.height), std::pair(1280, 720));
  EXPECT_TRUE(seen.drawn() && seen.sunAtCentre() && seen.orbitLines()) << seen;
}

// One output of 1024x768, as the X11 program's own window: the third frame, once the first
// frames' set-up is behind them, makes the same calls in the same order with the same values.
TEST(FullScreenFrames, TheThirdFrameOnOneOutputMakesTheX11ProgramsCalls) {
  const TempDir recording;
  const TestDisplay display(1024, 768);
  const std::vector<std::string> x11 =
      frameCalls(traceVelorium(recording.File("x11.trace"), {}, {display.variable()}));
  const WaylandSession session(1, 1024, 768);
  const std::vector<std::string> wayland = frameCalls(
      traceVelorium(recording.File("wayland.trace"), {"--full-screen"}, session.environment()));
  auto thirdFrame = [](const std::vector<std::string>& calls) {
    const auto start = std::find(calls.begin(), calls.end(), "-- frame 2 --");
    return std::vector<std::string>(start == calls.end() ? start : start + 1, calls.end());
  };
  ASSERT_EQ(x11.back(), "-- frame 3 --");
  ASSERT_EQ(wayland.back(), "-- frame 3 --");
  const std::vector<std::string> expected = thirdFrame(x11), drawn = thirdFrame(wayland);
  const auto [x11Call, waylandCall] =
      std::mismatch(expected.begin(), expected.end(), drawn.begin(), drawn.end());
  EXPECT_TRUE(x11Call == expected.end() && waylandCall == drawn.end())
      << "call " << x11Call - expected.begin() << ": X11 "
      << (x11Call == expected.end() ? "(none)" : *x11Call) << ", Wayland "
      << (waylandCall == drawn.end() ? "(none)" : *waylandCall);
}

}  // namespace
}  // namespace linuxtest
