// Watching the saver process from the test driver.
#include "tests/e2e/SaverProcess.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/e2e/SyntheticInput.h"

namespace e2e {
namespace {

std::string fullPath(const std::string& path) {
  std::array<char, MAX_PATH> buffer{};
  const DWORD length = GetFullPathNameA(path.c_str(), buffer.size(), buffer.data(), nullptr);
  if (length == 0 || length >= buffer.size()) return path;
  return std::string(buffer.data(), length);
}

// A window's text or class name, as `get` (GetWindowTextA or GetClassNameA) gives it.
std::string windowString(HWND window, int(WINAPI* get)(HWND, LPSTR, int)) {
  std::array<char, 256> buffer{};
  const int length = get(window, buffer.data(), buffer.size());
  return std::string(buffer.data(), length > 0 ? length : 0);
}

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

bool waitUntilHandled(HWND window, Milliseconds timeout) {
  // A hidden window has nothing to repaint: one that is going away hides first.
  auto shown = [&] { return IsWindow(window) && IsWindowVisible(window); };
  if (!shown() || !InvalidateRect(window, nullptr, FALSE)) return false;
  bool hidden = false;
  const bool repainted = waitUntil(
      [&] {
        hidden = !shown();
        return hidden || !GetUpdateRect(window, nullptr, FALSE);
      },
      timeout, Milliseconds{2});
  return repainted && !hidden && shown();
}

std::string programFolder() {
  std::array<char, MAX_PATH> buffer{};
  const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), buffer.size());
  const std::string path(buffer.data(), length);
  return path.substr(0, path.find_last_of("\\/"));
}

std::string saverPath() {
  // The build tree keeps the saver in app\ beside tests\ and bench\; when it is missing,
  // the error names where the end-to-end tests look for it.
  std::string folder = programFolder();
  std::string forTests;
  for (int level = 0; level < 3; ++level) {
    folder += "\\..";
    const std::string candidate = fullPath(folder + "\\app\\Velorium.scr");
    if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
    if (level == 1) forTests = candidate;
  }
  return forTests;
}

WindowInfo describeWindow(HWND window) {
  WindowInfo info;
  info.handle = window;
  info.className = windowString(window, GetClassNameA);
  info.text = windowString(window, GetWindowTextA);
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

void expectEndsWithStatusZeroOnAKey(const SaverProcess& saver) {
  ASSERT_TRUE(saver.waitForForeground()) << "the saver is not the foreground window";
  pressKey('A');
  EXPECT_EQ(saver.wait(), 0) << "the saver is still running";
}

int screenSaverFlagSeenByAnotherProcess() {
  SaverProcess reader("", programFolder() + "\\screensaver_flag.exe");
  const auto status = reader.wait();
  return status ? static_cast<int>(*status) : -1;
}

std::vector<SceneSeen> watchScene() {
  return kit::watchScene([] { return captureScreen(); });
}

bool waitForNoScene() {
  return waitUntil([] { return !readScene(captureScreen()).drawn(); }, kPatience, Milliseconds{20});
}

}  // namespace e2e
