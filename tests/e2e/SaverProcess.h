// Runs Velorium.scr as a separate process, started the way Windows starts a screen saver,
// and watches it from outside with the test kit: its top-level windows, the scene on the
// screen, and its exit. Whatever is still running when a SaverProcess goes away is ended.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/kit/Process.h"
#include "tests/kit/Scene.h"
#include "tests/kit/Screen_win32.h"

namespace e2e {

using kit::captureScreen;
using kit::captureWindow;
using kit::kPatience;
using kit::kPollInterval;
using kit::Milliseconds;
using kit::pause;
using kit::Picture;
using kit::readScene;
using kit::SceneSeen;
using kit::screenRect;
using kit::waitUntil;

// The saver to test: the one built with this program, app\Velorium.scr in the nearest of the
// three folders above it that has one (two above for build\windows\tests\e2e). Nothing from
// the environment replaces it.
std::string saverPath();

// A Unix path as Wine shows it, through drive Z:; any other path as it is.
std::string windowsPath(std::string path);

// The folder of the running test program, without a trailing backslash.
std::string programFolder();

// What a window looks like from outside its process.
struct WindowInfo {
  HWND handle = nullptr;
  std::string className;
  std::string text;
  LONG style = 0;
  LONG exStyle = 0;
  RECT rect{};
  bool visible = false;
  bool topmost = false;
};

WindowInfo describeWindow(HWND window);

bool coversScreen(const WindowInfo& window);

// The styles of a window frame, which none of the saver's windows has.
inline constexpr LONG kFrameStyles =
    WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_SYSMENU;

// The process's top-level windows, visible or not, in z-order.
std::vector<WindowInfo> topLevelWindowsOf(DWORD processId);

// Every visible top-level window the process shows until `running` turns false or kPatience.
std::set<HWND> windowsShownUntilExit(DWORD processId, const std::function<bool()>& running);

class SaverProcess : public kit::Process {
public:
  // Starts "<full path>" followed by arguments (which may be empty).
  explicit SaverProcess(const std::string& arguments, const std::string& path = saverPath())
      : Process({path, arguments}) {}

  std::vector<WindowInfo> topLevelWindows() const { return topLevelWindowsOf(id()); }
  std::vector<WindowInfo> visibleWindows() const;

  // A visible top-level window that is `wanted`, once there is one, looked for every
  // `interval`; nothing when the process ends or the time runs out first.
  std::optional<WindowInfo> waitForWindow(const std::function<bool(const WindowInfo&)>& wanted,
                                          Milliseconds timeout = kPatience,
                                          Milliseconds interval = kPollInterval) const;
  // A visible top-level window that covers the whole screen, once there is one.
  std::optional<WindowInfo> waitForFullScreenWindow(Milliseconds timeout = kPatience,
                                                    Milliseconds interval = kPollInterval) const {
    return waitForWindow(coversScreen, timeout, interval);
  }

  // Whether a window of this process is the foreground window now, or becomes it in the timeout.
  bool isForeground() const;
  bool waitForForeground(Milliseconds timeout = kPatience) const;

  // Waits for the exit and tells whether a visible window of the process was ever seen meanwhile.
  bool showedAWindowBeforeExit() const {
    return !windowsShownUntilExit(id(), [&] { return running(); }).empty();
  }
};

// Once the saver has the foreground, presses a key, and expects the saver to end with status 0.
void expectEndsWithStatusZeroOnAKey(const SaverProcess& saver);

// Proof that a window's thread has dealt with everything sent to it so far (posted messages
// and input): the window is invalidated, and a thread repaints only when no posted message
// and no input is waiting for it. True once the repaint is done; false when the window is
// hidden or gone (its program ending, say) or the time ran out.
bool waitUntilHandled(HWND window, Milliseconds timeout = kPatience);

// The screen-saver-running flag as a fresh process reads it (under Wine a process keeps the
// system parameters it has read once): 0 or 1, or -1 when the reader did not end.
int screenSaverFlagSeenByAnotherProcess();

// The scene on the whole screen, watched from its first frame (kit::watchScene).
std::vector<SceneSeen> watchScene();

// Waits until the screen shows no frame of a saver: the last picture of one that has just
// ended stays on the screen until the desktop is painted again, and is no frame of the next.
bool waitForNoScene();

}  // namespace e2e
