// Starting, watching and ending the saver process from the test driver.
#include "tests/e2e/SaverProcess.h"

#include <array>
#include <stdexcept>

namespace e2e {
namespace {

std::string fullPath(const std::string& path) {
  std::array<char, MAX_PATH> buffer{};
  const DWORD length = GetFullPathNameA(path.c_str(), buffer.size(), buffer.data(), nullptr);
  if (length == 0 || length >= buffer.size()) return path;
  return std::string(buffer.data(), length);
}

std::string windowText(HWND window) {
  std::array<char, 256> buffer{};
  const int length = GetWindowTextA(window, buffer.data(), buffer.size());
  return std::string(buffer.data(), length > 0 ? length : 0);
}

std::string windowClass(HWND window) {
  std::array<char, 256> buffer{};
  const int length = GetClassNameA(window, buffer.data(), buffer.size());
  return std::string(buffer.data(), length > 0 ? length : 0);
}

struct EnumState {
  DWORD processId;
  std::vector<WindowInfo>* windows;
};

BOOL CALLBACK collectWindowOfProcess(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == state->processId) state->windows->push_back(describeWindow(window));
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

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void pause(Milliseconds duration) {
  waitUntil([] { return false; }, duration);
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
  info.className = windowClass(window);
  info.text = windowText(window);
  info.style = GetWindowLongA(window, GWL_STYLE);
  info.exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  GetWindowRect(window, &info.rect);
  info.visible = IsWindowVisible(window) != FALSE;
  info.topmost = (info.exStyle & WS_EX_TOPMOST) != 0;
  return info;
}

RECT screenRect() {
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool coversScreen(const WindowInfo& window) {
  const RECT screen = screenRect();
  return window.rect.left <= screen.left && window.rect.top <= screen.top &&
         window.rect.right >= screen.right && window.rect.bottom >= screen.bottom;
}

SaverProcess::SaverProcess(const std::string& arguments, const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw std::runtime_error("saver not found: " + path + " (build it)");
  }
  std::string commandLine = "\"" + path + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info_)) {
    throw std::runtime_error("CreateProcess failed for " + commandLine + " with error " +
                             std::to_string(GetLastError()));
  }
}

SaverProcess::~SaverProcess() {
  if (isRunning()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool SaverProcess::isRunning() const {
  return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<WindowInfo> SaverProcess::topLevelWindows() const {
  std::vector<WindowInfo> windows;
  EnumState state{info_.dwProcessId, &windows};
  EnumWindows(collectWindowOfProcess, reinterpret_cast<LPARAM>(&state));
  return windows;
}

std::vector<WindowInfo> SaverProcess::visibleWindows() const {
  std::vector<WindowInfo> visible;
  for (const WindowInfo& window : topLevelWindows()) {
    if (window.visible) visible.push_back(window);
  }
  return visible;
}

std::optional<WindowInfo> SaverProcess::waitForFullScreenWindow(Milliseconds timeout,
                                                                Milliseconds pollInterval) const {
  std::optional<WindowInfo> found;
  waitUntil(
      [&] {
        for (const WindowInfo& window : visibleWindows()) {
          if (coversScreen(window)) found = window;
        }
        return found.has_value() || !isRunning();
      },
      timeout, pollInterval);
  return found;
}

bool SaverProcess::waitForForeground(Milliseconds timeout) const {
  return waitUntil(
      [&] {
        DWORD owner = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &owner);
        return owner == info_.dwProcessId;
      },
      timeout);
}

bool SaverProcess::showedAWindowBeforeExit(Milliseconds timeout) const {
  bool seen = false;
  waitUntil(
      [&] {
        const bool running = isRunning();
        seen = seen || !visibleWindows().empty();
        return !running;
      },
      timeout, Milliseconds{2});
  return seen;
}

std::optional<DWORD> SaverProcess::waitForExit(Milliseconds timeout) const {
  if (!waitUntil([&] { return !isRunning(); }, timeout)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

}  // namespace e2e
