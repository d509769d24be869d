// Folders, controls and pointer moves for the tests of the options dialog and the about box.
#include "tests/e2e/OptionsDialog.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <gtest/gtest.h>

#include "win32/WideText_win32.h"

namespace e2e {
namespace {

std::wstring wide(const std::string& utf8) {
  return WideFromUtf8(utf8);
}

ControlInfo describeControl(HWND control) {
  const WindowInfo window = describeWindow(control);
  ControlInfo info;
  info.handle = control;
  info.className = window.className;
  info.text = window.text;
  GetWindowRect(control, &info.rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&info.rect), 2);
  return info;
}

constexpr int kMoveAttempts = 3;
constexpr Milliseconds kMoveTime{300};

struct TextSearch {
  const std::string* text;
  HWND found;
};

}  // namespace

SaverFolder::SaverFolder() {
  std::array<char, MAX_PATH> temp{};
  std::array<char, MAX_PATH> unique{};
  GetTempPathA(temp.size(), temp.data());
  // A unique name from the system, taken over by a folder.
  GetTempFileNameA(temp.data(), "vel", 0, unique.data());
  path_ = unique.data();
  DeleteFileA(path_.c_str());
  CreateDirectoryA(path_.c_str(), nullptr);
  if (!CopyFileA(saverPath().c_str(), saver().c_str(), FALSE)) {
    throw std::runtime_error("cannot copy the saver to " + path_);
  }
}

SaverFolder::~SaverFolder() {
  releaseSettings();
  RemoveDirectoryW(wide(settingsFile()).c_str());
  // A saver that was just terminated may hold its file a moment longer.
  waitUntil(
      [&] {
        return DeleteFileW(wide(saver()).c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
      },
      Milliseconds{5000}, Milliseconds{100});
  WIN32_FIND_DATAW entry{};
  HANDLE search = FindFirstFileW(wide(path_ + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileW((wide(path_ + "\\") + entry.cFileName).c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(wide(path_).c_str());
}

void SaverFolder::extendName(const std::string& text) {
  const std::string renamed = path_ + " " + text;
  if (!MoveFileW(wide(path_).c_str(), wide(renamed).c_str())) {
    throw std::runtime_error("cannot rename " + path_);
  }
  path_ = renamed;
}

void SaverFolder::writeSettings(const Bytes& bytes) const {
  std::ofstream file(std::filesystem::path(wide(settingsFile())),
                     std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::optional<Bytes> SaverFolder::settings() const {
  std::ifstream file(std::filesystem::path(wide(settingsFile())), std::ios::binary);
  if (!file) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void SaverFolder::holdSettings() {
  held_ = CreateFileW(wide(settingsFile()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + settingsFile());
}

void SaverFolder::releaseSettings() {
  if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
  held_ = INVALID_HANDLE_VALUE;
}

void SaverFolder::makeSettingsAFolder() const {
  CreateDirectoryW(wide(settingsFile()).c_str(), nullptr);
}

void SaverFolder::addFile(const std::string& source) const {
  const std::string name = source.substr(source.find_last_of("\\/") + 1);
  if (!CopyFileW(wide(source).c_str(), wide(path_ + "\\" + name).c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + source + " to " + path_);
  }
}

bool SaverFolder::holds(const std::string& name) const {
  return GetFileAttributesW(wide(path_ + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PrintTo(const SettingsCase& settings, std::ostream* out) {
  if (!settings.file) {
    *out << "no settings file";
    return;
  }
  *out << "settings bytes {";
  for (size_t i = 0; i < settings.file->size(); ++i)
    *out << (i > 0 ? ", " : "") << int{(*settings.file)[i]};
  *out << "}";
}

std::string namesIn(const std::string& folder) {
  std::string names;
  WIN32_FIND_DATAA entry{};
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") names += " " + name;
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

void expectPlacedAt(const ControlInfo& control, int left, int top, int width, int height) {
  const RECT expected{left, top, left + width, top + height};
  EXPECT_TRUE(EqualRect(&control.rect, &expected) != FALSE)
      << "\"" << control.text << "\" (" << control.className << ") at " << control.rect.left << ", "
      << control.rect.top << " of " << control.width() << " x " << control.height() << ", not at "
      << left << ", " << top << " of " << width << " x " << height;
}

std::vector<ControlInfo> childrenOf(HWND parent) {
  std::vector<ControlInfo> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(describeControl(child));
  }
  return children;
}

ControlInfo findControl(HWND top, const std::string& text) {
  TextSearch search{&text, nullptr};
  EnumChildWindows(
      top,
      [](HWND child, LPARAM param) -> BOOL {
        auto* wanted = reinterpret_cast<TextSearch*>(param);
        if (describeWindow(child).text != *wanted->text) return TRUE;
        wanted->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found != nullptr ? describeControl(search.found) : ControlInfo{};
}

SIZE clientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

RECT screenRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
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

bool isTicked(HWND checkBox) {
  return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool hasKeyboardFocus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) == FALSE) return false;
  return GetForegroundWindow() == window && info.hwndActive == window &&
         (info.hwndFocus == window || IsChild(window, info.hwndFocus) != FALSE);
}

bool movePointerTo(POINT screen) {
  auto arrived = [&] {
    POINT now{};
    GetCursorPos(&now);
    return now.x == screen.x && now.y == screen.y;
  };
  // Under Wine the X server's late echo of an earlier move can put the pointer back where
  // it was; the move counts once the pointer has stayed where it was sent for two looks.
  for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
    SetCursorPos(screen.x, screen.y);
    pause(kMoveTime);
    if (!arrived()) continue;
    pause(kMoveTime);
    if (arrived()) return true;
  }
  return false;
}

POINT centreOf(HWND window) {
  const RECT rect = screenRectOf(window);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void clickOn(HWND window) {
  // The control's own button messages at its centre: a click the control handles exactly as
  // one from the mouse, without the pointer moves that Wine's X server may echo back.
  RECT client{};
  GetClientRect(window, &client);
  const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageA(window, WM_LBUTTONUP, 0, centre);
  // A click that closes the window leaves nothing to wait for.
  waitUntilHandled(window);
}

void pressButton(HWND button) {
  PostMessageA(button, BM_CLICK, 0, 0);
}

POINT closeButtonOf(HWND window) {
  const RECT rect = screenRectOf(window);
  const int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
  const int button = GetSystemMetrics(SM_CXSIZE);
  return POINT{rect.right - frame - button / 2 - 1,
               rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
}

}  // namespace e2e
