// What the Linux tests of velorium share: an Xvfb display of their own, velorium (or any
// program) run as a separate process with a time limit, and the scene read back from a
// window's pixels.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace linuxtest {

using Milliseconds = std::chrono::milliseconds;

// The built hack, and the longest any test waits for one thing to happen.
std::string HackPath();
inline constexpr Milliseconds kPatience{15000};

// Calls `done` every 20 ms until it is true or `limit` has passed; returns its last answer.
bool WaitUntil(const std::function<bool()>& done, Milliseconds limit = kPatience);

// A private Xvfb server (black background, GLX) on a free display number; ended with the
// object. Open() gives a connection of the test's own.
class TestDisplay {
public:
  explicit TestDisplay(int width = 1024, int height = 768);
  ~TestDisplay();
  TestDisplay(const TestDisplay&) = delete;
  TestDisplay& operator=(const TestDisplay&) = delete;

  const std::string& Name() const { return name_; }
  Display* Connection() const { return connection_; }

private:
  std::string name_;
  pid_t server_ = -1;
  Display* connection_ = nullptr;
};

// A program run as a child process, its standard output and error collected in files.
// Ended with SIGKILL on destruction if it still runs.
class ChildProcess {
public:
  // `environment` entries ("NAME=value") are added to the test's own environment.
  ChildProcess(const std::vector<std::string>& command,
               const std::vector<std::string>& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // Whether it still runs (it has not ended and been reaped).
  bool Running();
  // Its exit status once it has ended within `limit`: the exit code, or 128 + the signal
  // that killed it; nullopt when it still runs.
  std::optional<int> Wait(Milliseconds limit = kPatience);
  void Signal(int signal);
  std::string Output() const;
  std::string Errors() const;

private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string outPath_, errPath_;
};

// Runs velorium with the arguments on the display (when given) and waits for its end.
struct HackRun {
  std::optional<int> status;
  std::string output, errors;
};
HackRun RunHackToEnd(const std::vector<std::string>& arguments, const std::string& display = "",
                     const std::vector<std::string>& environment = {});

// The pixels of a window (or of the screen, for the root window) as 0xRRGGBB, rows top down.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned> rgb;
  unsigned At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};
Picture GrabWindow(Display* display, Window window);

// What the scene shows in a picture: the sun's yellow in a small square at the centre, and
// which of the nine planets' orbit-line colours appear (each exactly, as lines are unlit).
struct SceneSeen {
  bool sunAtCentre = false;
  int planetColours = 0;
  bool anythingDrawn = false;
};
SceneSeen ReadScene(const Picture& picture);
// Waits until the whole screen shows the scene: the sun at the centre and all nine planets'
// colours; false after kPatience, with what was last seen in `seen`.
bool ScreenShowsTheScene(Display* display, SceneSeen& seen);

// Processes that run the file `executable` (not ended or only waiting to be reaped).
std::vector<pid_t> ProcessesRunning(const std::string& executable);

// A top-level window of the test's own at (x, y) with a double-buffered GLX visual with a
// depth buffer, as XScreenSaver's settings program makes for its preview; mapped and shown.
Window MakeGLWindow(Display* display, int x, int y, int width, int height);

}  // namespace linuxtest
