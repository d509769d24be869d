// Reading and driving windows and controls from the test's process.
#include "tests/kit/Controls_win32.h"

#include <gtest/gtest.h>

#include <array>

namespace kit {
namespace {

constexpr int kMoveAttempts = 3;
constexpr Milliseconds kMoveTime{300};

// A window's text or class name, as `get` (GetWindowTextA or GetClassNameA) gives it.
std::string windowString(HWND window, int(WINAPI* get)(HWND, LPSTR, int)) {
  std::array<char, 256> buffer{};
  const int length = get(window, buffer.data(), buffer.size());
  return std::string(buffer.data(), length > 0 ? length : 0);
}

ControlInfo describeControl(HWND control) {
  ControlInfo info;
  info.handle = control;
  info.className = windowClassName(control);
  info.text = windowText(control);
  GetWindowRect(control, &info.rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&info.rect), 2);
  return info;
}

struct TextSearch {
  const std::string* text;
  HWND found;
};

}  // namespace

std::string windowText(HWND window) {
  return windowString(window, GetWindowTextA);
}

std::string windowClassName(HWND window) {
  return windowString(window, GetClassNameA);
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
        if (windowText(child) != *wanted->text) return TRUE;
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

POINT centreOf(HWND window) {
  const RECT rect = screenRectOf(window);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT closeButtonOf(HWND window) {
  const RECT rect = screenRectOf(window);
  const int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
  const int button = GetSystemMetrics(SM_CXSIZE);
  return POINT{rect.right - frame - button / 2 - 1,
               rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
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

}  // namespace kit
