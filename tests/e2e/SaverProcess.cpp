// Watching the saver process from the test driver.
#include "tests/e2e/SaverProcess.h"

#include <gtest/gtest.h>

#include "tests/e2e/SyntheticInput.h"

namespace e2e {
namespace {

BOOL CALLBACK collectWindowOfProcess(HWND window, LPARAM param) {
  auto* windows = reinterpret_cast<std::pair<DWORD, std::vector<WindowInfo>>*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == windows->first) windows->second.push_back(describeWindow(window));
  return TRUE;
}

}  // namespace

// Wine maps the Unix root to drive Z:, so a Unix path from a script works as Z:\...
std::string windowsPath(std::string path) {
  if (!path.empty() && path.front() == '/') {
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    path = "Z:" + path;
  }
  return path;
}

WindowInfo describeWindow(HWND window) {
  WindowInfo info;
  info.handle = window;
  info.className = kit::windowClassName(window);
  info.text = kit::windowText(window);
  info.style = GetWindowLongA(window, GWL_STYLE);
  info.exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  GetWindowRect(window, &info.rect);
  info.visible = IsWindowVisible(window) != FALSE;
  info.topmost = (info.exStyle & WS_EX_TOPMOST) != 0;
  return info;
}

bool coversScreen(const WindowInfo& window) {
  const RECT screen = screenRect();
  return window.rect.left <= screen.left && window.rect.top <= screen.top &&
         window.rect.right >= screen.right && window.rect.bottom >= screen.bottom;
}

std::vector<WindowInfo> topLevelWindowsOf(DWORD processId) {
  std::pair<DWORD, std::vector<WindowInfo>> windows{processId, {}};
  EnumWindows(collectWindowOfProcess, reinterpret_cast<LPARAM>(&windows));
  return windows.second;
}

std::set<HWND> windowsShownUntilExit(DWORD processId, const std::function<bool()>& running) {
  std::set<HWND> seen;
  waitUntil(
      [&] {
        for (const WindowInfo& window : topLevelWindowsOf(processId)) {
          if (window.visible) seen.insert(window.handle);
        }
        return !running();
      },
      kPatience, Milliseconds{2});
  return seen;
}

std::vector<WindowInfo> SaverProcess::visibleWindows() const {
  std::vector<WindowInfo> visible;
  for (const WindowInfo& window : topLevelWindows()) {
    if (window.visible) visible.push_back(window);
  }
  return visible;
}

std::optional<WindowInfo> SaverProcess::waitForWindow(
    const std::function<bool(const WindowInfo&)>& wanted, Milliseconds timeout,
    Milliseconds interval) const {
  std::optional<WindowInfo> found;
  waitUntil(
      [&] {
        for (const WindowInfo& window : visibleWindows()) {
          if (wanted(window)) found = window;
        }
        return found.has_value() || !running();
      },
      timeout, interval);
  return found;
}

bool SaverProcess::isForeground() const {
  DWORD owner = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &owner);
  return owner == id();
}

bool SaverProcess::waitForForeground(Milliseconds timeout) const {
  return waitUntil([&] { return isForeground(); }, timeout);
}

std::optional<WindowInfo> waitForWindow(const SaverProcess& saver, const std::string& caption,
                                        Milliseconds timeout) {
  return saver.waitForWindow([&](const WindowInfo& window) { return window.text == caption; },
                             timeout);
}

bool showsWindow(const SaverProcess& saver, const std::string& caption) {
  for (const WindowInfo& window : saver.visibleWindows()) {
    if (window.text == caption) return true;
  }
  return false;
}

bool waitForWindowGone(const SaverProcess& saver, const std::string& caption,
                       Milliseconds timeout) {
  return waitUntil([&] { return !showsWindow(saver, caption); }, timeout);
}

void expectEndsWithStatusZeroOnAKey(const SaverProcess& saver) {
  ASSERT_TRUE(saver.waitForForeground()) << "the saver is not the foreground window";
  pressKey('A');
  EXPECT_EQ(saver.wait(), 0) << "the saver is still running";
}

int screenSaverFlagSeenByAnotherProcess() {
  return static_cast<int>(
      kit::runToEnd({programFolder() + "\\screensaver_flag.exe", ""}).status.value_or(-1));
}

std::vector<SceneSeen> watchScene() {
  return kit::watchScene([] { return captureScreen(); });
}

bool waitForNoScene() {
  return waitUntil([] { return !readScene(captureScreen()).drawn(); }, kPatience, Milliseconds{20});
}

}  // namespace e2e
