// The black windows over the monitors a full-screen form does not cover.
#include "win32/MonitorCovers.h"

#include "framework/MonitorLayout.h"
#include "win32/Screen.h"
#include "win32/WindowClass.h"

namespace {

constexpr char kClassName[] = "TMonitorCover";

MonitorRect ToMonitorRect(const RECT& rect) {
  return MonitorRect{rect.left, rect.top, rect.right, rect.bottom};
}

std::vector<MonitorRect> AllMonitors() {
  std::vector<MonitorRect> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoA(monitor, &info) != 0) {
          reinterpret_cast<std::vector<MonitorRect>*>(list)->push_back(
              ToMonitorRect(info.rcMonitor));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

}  // namespace

TMonitorCovers::~TMonitorCovers() {
  for (HWND window : windows_) {
    // The system has already taken a window whose owner went first.
    if (IsWindow(window) == FALSE) continue;
    LinkWindow(window, nullptr);
    DestroyWindow(window);
  }
}

void TMonitorCovers::Show(HWND form) {
  if (!windows_.empty()) return;
  WNDCLASSEXA windowClass{};
  windowClass.lpfnWndProc = LinkedWindowProc<TMonitorCovers>;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterWindowClass(windowClass);
  GetCursorPos(&lastPointer_);
  for (const MonitorRect& monitor :
       UncoveredMonitors(AllMonitors(), ToMonitorRect(MonitorRectOf(form)))) {
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kClassName,
                                  "", WS_POPUP, monitor.left, monitor.top,
                                  monitor.right - monitor.left, monitor.bottom - monitor.top, form,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    // A monitor left bare is no reason to stop the saver.
    if (window == nullptr) continue;
    LinkWindow(window, this);
    windows_.push_back(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
  }
}

bool TMonitorCovers::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM, LPARAM lParam,
                                         LRESULT& result) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (OnKeyDown) OnKeyDown(nullptr);
      return true;
    case WM_MOUSEMOVE:
      MouseMoved(hwnd, lParam);
      return true;
    case WM_LBUTTONDOWN:
      pressed_ = hwnd;
      return true;
    case WM_LBUTTONUP: {
      const bool pressedHere = pressed_ == hwnd;
      pressed_ = nullptr;
      if (pressedHere && OnClick) OnClick(nullptr);
      return true;
    }
    case WM_MOUSEACTIVATE:
      result = MA_NOACTIVATE;
      return true;
    case WM_SETCURSOR:
      SetCursor(nullptr);
      result = TRUE;
      return true;
    default:
      return false;
  }
}

void TMonitorCovers::MouseMoved(HWND hwnd, LPARAM lParam) {
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(hwnd, &at);
  if (at.x == lastPointer_.x && at.y == lastPointer_.y) return;
  lastPointer_ = at;
  if (OnMouseMove) OnMouseMove(nullptr);
}
