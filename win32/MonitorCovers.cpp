// The black windows over the monitors a full-screen form does not cover.
#include "win32/MonitorCovers.h"

#include "framework/MonitorLayout.h"
#include "win32/WindowException.h"

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
          reinterpret_cast<std::vector<MonitorRect>*>(list)->push_back(ToMonitorRect(info.rcMonitor));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

MonitorRect MonitorOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
  return ToMonitorRect(info.rcMonitor);
}

}  // namespace

TMonitorCovers::~TMonitorCovers() {
  for (HWND window : windows_) {
    // The system has already taken a window whose owner went first.
    if (IsWindow(window) == FALSE) continue;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

void TMonitorCovers::Show(HWND form) {
  if (!windows_.empty()) return;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  if (GetClassInfoA(instance, kClassName, &windowClass) == 0) {
    windowClass.lpfnWndProc = CoverProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
  }
  GetCursorPos(&lastPointer_);
  for (const MonitorRect& monitor : UncoveredMonitors(AllMonitors(), MonitorOf(form))) {
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kClassName,
                                  "", WS_POPUP, monitor.left, monitor.top,
                                  monitor.right - monitor.left, monitor.bottom - monitor.top, form,
                                  nullptr, instance, nullptr);
    // A monitor left bare is no reason to stop the saver.
    if (window == nullptr) continue;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    windows_.push_back(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
  }
}

LRESULT CALLBACK TMonitorCovers::CoverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TMonitorCovers*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self != nullptr) {
    try {
      LRESULT result = 0;
      if (self->HandleMessage(hwnd, msg, wParam, lParam, result)) return result;
    } catch (...) {
      HandleWindowException();
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool TMonitorCovers::HandleMessage(HWND hwnd, UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
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
