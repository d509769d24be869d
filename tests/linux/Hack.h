// velorium as the Linux tests run it: the built hack, started through the test kit, and the
// checks that several of them make alike.
// GoogleTest before Xlib, whose None and Bool macros would break it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/kit/CaseName.h"
#include "tests/kit/Display_x11.h"
#include "tests/kit/Process.h"
#include "tests/kit/Scene.h"
#include "x11/SceneVisual.h"

namespace linuxtest {

using namespace kit;

// The hack under test: VELORIUM_HACK from the environment when set (the sanitized build's, for
// the fuzzing), else this build's.
inline std::string hackPath() {
  const char* given = std::getenv("VELORIUM_HACK");
  return given != nullptr && *given != '\0' ? given : VELORIUM_HACK;
}

// The words of a command: `program`, then `arguments`.
inline std::vector<std::string> commandOf(const std::string& program,
                                          const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {program};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return command;
}

// velorium with the arguments, run to its end on `display` when one is given.
inline Outcome runHack(const std::vector<std::string>& arguments, const std::string& display = "",
                       std::vector<std::string> environment = {}) {
  if (!display.empty()) environment.push_back("DISPLAY=" + display);
  return runToEnd(commandOf(hackPath(), arguments), environment);
}

// velorium refused to run, or could not go on: status 1 and nothing but `error` (one line)
// said.
inline void expectRefused(const Outcome& run, const std::string& error) {
  EXPECT_EQ(run.status, 1) << error;
  EXPECT_EQ(run.errors, error);
  EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
  EXPECT_EQ(run.output, "");
}

// Sends the signal and expects velorium to end with 0, saying nothing.
inline void expectEndsWithZero(const Process& hack, int signal = SIGTERM) {
  hack.signal(signal);
  EXPECT_EQ(hack.wait(), 0);
  EXPECT_EQ(hack.errors(), "");
}

// Tests that share one display of their suite's own, of Width x Height pixels.
template <int Width, int Height>
class OnSharedDisplay : public testing::Test {
protected:
  static void SetUpTestSuite() { display_ = new TestDisplay(Width, Height); }
  static void TearDownTestSuite() { delete display_; }
  static Display* X() { return display_->connection(); }
  static inline TestDisplay* display_ = nullptr;
};

// The status of a screen-saver daemon's command, or -1 when it has not ended in five seconds.
inline int daemonCommand(const std::vector<std::string>& command,
                         const std::vector<std::string>& environment = {}) {
  return static_cast<int>(runToEnd(command, environment, Milliseconds(5000)).status.value_or(-1));
}

// What a daemon told to show the saver must do: run exactly one `hack` (its id in `hackId`),
// which shows the scene on the screen (the sun at the centre and every orbit line); and once
// `deactivate` (the daemon's command) succeeds, end it.
inline void expectSceneUntilDeactivated(Display* display, const Process& daemon,
                                        const std::string& hack,
                                        const std::function<int()>& deactivate, long& hackId) {
  ASSERT_TRUE(waitUntil([&] { return processesRunning(hack).size() == 1; })) << daemon.errors();
  hackId = processesRunning(hack).front();
  SceneSeen seen;
  const bool sceneShown = waitUntil([&] {
    seen = readScene(grabWindow(display, DefaultRootWindow(display)));
    return seen.sunAtCentre() && seen.orbitLines();
  });
  EXPECT_TRUE(sceneShown) << seen;
  ASSERT_EQ(deactivate(), 0) << daemon.errors();
  EXPECT_TRUE(waitUntil([&] { return processesRunning(hack).empty(); }))
      << "velorium " << hackId << " still runs after the daemon was deactivated";
}

}  // namespace linuxtest
