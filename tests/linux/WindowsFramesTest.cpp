// The same frames as the Windows saver: the OpenGL calls of the first frames of Velorium.scr
// under Wine, recorded by apitrace's GLX tracer (Wine's opengl32 passes the calls on to the
// host's libGL), and of velorium, recorded by its EGL tracer, call for call, and their pictures
// replayed at one size.
// Runs inside a Wine session of scripts/wine-test (CTest's SameFramesAsWindows): wine,
// WINEPREFIX and a display of 1024x768 (Wine's virtual desktop); VELORIUM_WINDOWS_SAVER names
// the windows build's Velorium.scr.
// The kit first: GoogleTest before Xlib, whose None and Bool macros would break it.
#include "tests/linux/Hack.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/kit/TempDir.h"
#include "tests/linux/GlFrames.h"

namespace linuxtest {
namespace {

namespace fs = std::filesystem;

int FramesIn(const std::vector<std::string>& calls) {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [](const std::string& line) {
    return line.rfind("-- frame ", 0) == 0;
  }));
}

// Velorium.scr full screen under Wine, with the two option bytes in its settings file
// (none: no file, both on), traced until it is ended with a key.
std::string TraceWindows(const TempDir& recording, const std::string& name,
                         const std::string& optionBytes) {
  const std::string saver = recording.File(name + "/Velorium.scr");
  fs::create_directories(fs::path(saver).parent_path());
  fs::copy_file(std::getenv("VELORIUM_WINDOWS_SAVER"), saver);
  if (!optionBytes.empty())
    std::ofstream(fs::path(saver).parent_path() / "Velorium.ini") << optionBytes;
  const std::string trace = recording.File(name + ".trace");
  Process wine({"wine", saver, "/s"},
               {std::string("LD_PRELOAD=") + kGlxTracer, "TRACE_FILE=" + trace});
  EXPECT_TRUE(waitForFrames(trace)) << "the traced Windows saver drew too little";
  Process key({"xdotool", "key", "space"});
  key.wait();
  if (!wine.wait()) {
    Process stop({"wineserver", "-k"});
    stop.wait();
    ADD_FAILURE() << "the Windows saver did not end on a key";
  }
  return trace;
}

// Windows and Linux compute sines and cosines with different C libraries (mingw-w64's x87
// fsin and fcos, glibc's), and GLU's sphere comes from Wine's glu32 or Mesa's libGLU: their
// values may differ in the last bits. Allowed: 4 units in the last place of the call's own
// type (float for ...f calls, double otherwise), relative to the value or to 1 near zero.
bool SameValue(const std::string& call, double a, double b) {
  const std::string name = call.substr(0, call.find('('));
  const bool isFloat = name.back() == 'f' || name.substr(name.size() - 2) == "fv";
  const double unit = isFloat ? std::ldexp(1.0, -23) : std::ldexp(1.0, -52);
  return std::fabs(a - b) <= 4 * unit * std::max({1.0, std::fabs(a), std::fabs(b)});
}

struct Comparison {
  std::size_t identical = 0;
  std::size_t withinRounding = 0;
  std::string firstDifference;
};

Comparison CompareCalls(const std::vector<std::string>& windows,
                        const std::vector<std::string>& linux) {
  static const std::regex kNumber(R"(-?(\d+\.\d*(e[-+]?\d+)?|\d+e[-+]?\d+))");
  Comparison result;
  for (std::size_t k = 0; k < std::max(windows.size(), linux.size()); ++k) {
    const std::string w = k < windows.size() ? windows[k] : "(none)";
    const std::string l = k < linux.size() ? linux[k] : "(none)";
    if (w == l) {
      ++result.identical;
      continue;
    }
    bool same = std::regex_replace(w, kNumber, "#") == std::regex_replace(l, kNumber, "#");
    for (std::sregex_iterator a(w.begin(), w.end(), kNumber), b(l.begin(), l.end(), kNumber), end;
         same && a != end && b != end; ++a, ++b) {
      same = SameValue(w, std::stod(a->str()), std::stod(b->str()));
    }
    if (!same) {
      result.firstDifference =
          "call " + std::to_string(k) + ":\n  Windows: " + w + "\n  Linux:   " + l;
      return result;
    }
    ++result.withinRounding;
  }
  return result;
}

void ExpectSameCalls(const std::vector<std::string>& windows,
                     const std::vector<std::string>& linux) {
  ASSERT_EQ(FramesIn(windows), kComparedFrames) << "the Windows saver drew too few frames";
  ASSERT_EQ(FramesIn(linux), kComparedFrames) << "velorium drew too few frames";
  const Comparison comparison = CompareCalls(windows, linux);
  EXPECT_EQ(comparison.firstDifference, "");
  EXPECT_EQ(comparison.identical + comparison.withinRounding, windows.size());
  std::printf("%zu calls in %d frames: %zu identical, %zu within the last bits\n", windows.size(),
              kComparedFrames, comparison.identical, comparison.withinRounding);
}

// Frame `frame` (1-based) of a trace, replayed by glretrace on this display; empty when the
// replay has fewer frames.
Picture ReplayedFrame(const std::string& trace, int frame) {
  std::istringstream pnm(runShell("glretrace --snapshot-format=PNM -s - -S frame '" + trace + "'"));
  Picture picture;
  for (int k = 1; k <= frame; ++k) picture = readPpm(pnm);
  return picture;
}

class SameFramesAsWindows : public testing::Test {
protected:
  static void SetUpTestSuite() {
    if (std::getenv("VELORIUM_WINDOWS_SAVER") == nullptr) return;
    recording_ = new TempDir;
    windowsTrace_ = TraceWindows(*recording_, "windows", "");
    linuxTrace_ = traceVelorium(recording_->File("linux.trace"), {});
    windowsCalls_ = frameCalls(windowsTrace_);
  }
  static void TearDownTestSuite() { delete recording_; }
  void SetUp() override {
    if (recording_ == nullptr) {
      GTEST_SKIP() << "VELORIUM_WINDOWS_SAVER does not name Velorium.scr: run these tests "
                      "as ctest --preset linux -R SameFramesAsWindows";
    }
  }
  static TempDir* recording_;
  static std::string windowsTrace_, linuxTrace_;
  static std::vector<std::string> windowsCalls_;
};
TempDir* SameFramesAsWindows::recording_ = nullptr;
std::string SameFramesAsWindows::windowsTrace_, SameFramesAsWindows::linuxTrace_;
std::vector<std::string> SameFramesAsWindows::windowsCalls_;

TEST_F(SameFramesAsWindows, TheFirstFramesMakeTheSameCallsInTheSameOrder) {
  ExpectSameCalls(windowsCalls_, frameCalls(linuxTrace_));
}

TEST_F(SameFramesAsWindows, WithoutCometAndOrbitsTooAsTheSettingsFileSaysOnWindows) {
  const std::string windows = TraceWindows(*recording_, "windows-bare", std::string(2, '\0'));
  const std::string linux =
      traceVelorium(recording_->File("linux-bare.trace"), {"--no-comet", "--no-orbits"});
  const std::vector<std::string> windowsCalls = frameCalls(windows);
  // Without comet and orbit lines a frame is only camera, light, sun and planets.
  EXPECT_EQ(std::count(windowsCalls.begin(), windowsCalls.end(), "glBegin(mode=GL_LINE_STRIP)"), 0);
  ExpectSameCalls(windowsCalls, frameCalls(linux));
}

TEST_F(SameFramesAsWindows, TheThirdFrameLooksTheSameReplayedAt1024x768) {
  const Picture windows = ReplayedFrame(windowsTrace_, 3);
  const Picture linux = ReplayedFrame(linuxTrace_, 3);
  const std::pair<int, int> desktop = {1024, 768};
  ASSERT_EQ(std::pair(windows.width, windows.height), desktop);
  ASSERT_EQ(std::pair(linux.width, linux.height), desktop);
  const SceneSeen seen = readScene(windows);
  EXPECT_TRUE(seen.sunAtCentre() && seen.orbitLines()) << seen;
  std::size_t differing = 0;
  for (std::size_t k = 0; k < windows.pixels.size() && k < linux.pixels.size(); ++k) {
    if (windows.pixels[k] != linux.pixels[k]) ++differing;
  }
  EXPECT_EQ(windows.pixels.size(), linux.pixels.size());
  EXPECT_EQ(differing, 0u);
}

TEST_F(SameFramesAsWindows, TheFpsCounterOnlyAddsCallsAtTheEndOfEachFrame) {
  const std::vector<std::string> withFps =
      frameCalls(traceVelorium(recording_->File("linux-fps.trace"), {"--fps"}));
  ASSERT_EQ(FramesIn(withFps), kComparedFrames);
  // Frame by frame: the Windows frame's calls, then the counter's, then the frame's end.
  std::vector<std::string> withoutCounter;
  std::size_t windowsAt = 0;
  for (const std::string& call : withFps) {
    const bool frameEnd = call.rfind("-- frame ", 0) == 0;
    const bool windowsFrameGoesOn =
        windowsAt < windowsCalls_.size() && windowsCalls_[windowsAt].rfind("-- frame ", 0) != 0;
    if (frameEnd || windowsFrameGoesOn) {
      withoutCounter.push_back(call);
      ++windowsAt;
    }
  }
  ExpectSameCalls(windowsCalls_, withoutCounter);
  EXPECT_GT(withFps.size(), windowsCalls_.size() + kComparedFrames) << "the counter draws";
}

}  // namespace
}  // namespace linuxtest
