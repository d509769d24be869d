// Runs Velorium.scr as a separate process, started the way Windows starts a screen saver,
// and watches it from outside: its top-level windows, the pixels on the screen, and its exit.
// Whatever is still running when a SaverProcess goes away is terminated.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using Milliseconds = std::chrono::milliseconds;

// Long enough for a cold start under Wine on a loaded machine.
inline constexpr Milliseconds kStartTimeout{15000};
// How long a saver that should end gets to do so.
inline constexpr Milliseconds kExitTimeout{10000};

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

// The whole screen in pixels.
RECT screenRect();

bool coversScreen(const WindowInfo& window);

class SaverProcess {
 public:
  // Starts "<full path>" followed by arguments (which may be empty).
  explicit SaverProcess(const std::string& arguments, const std::string& path = saverPath());
  ~SaverProcess();
  SaverProcess(const SaverProcess&) = delete;
  SaverProcess& operator=(const SaverProcess&) = delete;

  DWORD processId() const { return info_.dwProcessId; }
  bool isRunning() const;

  // The process's top-level windows, visible or not, in z-order.
  std::vector<WindowInfo> topLevelWindows() const;
  std::vector<WindowInfo> visibleWindows() const;

  // The first visible top-level window that covers the whole screen, once there is one.
  std::optional<WindowInfo> waitForFullScreenWindow(Milliseconds timeout = kStartTimeout,
                                                    Milliseconds pollInterval = Milliseconds{10}) const;

  // Whether a window of this process becomes the foreground window within the timeout.
  bool waitForForeground(Milliseconds timeout = kStartTimeout) const;

  // Waits for the exit and tells whether a visible window of the process was ever seen meanwhile.
  bool showedAWindowBeforeExit(Milliseconds timeout = kExitTimeout) const;

  // The exit code, or nothing if the process still runs after the timeout.
  std::optional<DWORD> waitForExit(Milliseconds timeout = kExitTimeout) const;

 private:
  PROCESS_INFORMATION info_{};
};

// Delivers the messages waiting for this thread's own windows, so they stay responsive.
void pumpMessages();

// Polls a condition until it holds or the timeout passes, pumping this thread's messages.
template <typename Condition>
bool waitUntil(Condition condition, Milliseconds timeout, Milliseconds pollInterval = Milliseconds{10}) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    pumpMessages();
    Sleep(static_cast<DWORD>(pollInterval.count()));
  }
  return true;
}

// Pumps this thread's messages for the given time.
void pause(Milliseconds duration);

// Proof that a window's thread has dealt with everything sent to it so far (posted messages
// and input): the window is invalidated, and a thread repaints only when no posted message
// and no input is waiting for it. True once the repaint is done; false when the window is
// hidden or gone (its program ending, say) or the time ran out.
bool waitUntilHandled(HWND window, Milliseconds timeout = kExitTimeout);

}  // namespace e2e
