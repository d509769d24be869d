// The timer: a message-only window that receives WM_TIMER and raises OnTimer.
#include "framework/ExtCtrls.h"

#include "framework/SysUtils.h"

namespace {
constexpr char kTimerWindowClass[] = "TTimerWindow";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExA(instance, kTimerWindowClass, &windowClass) == 0) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = TimerWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kTimerWindowClass;
    RegisterClassExA(&windowClass);
  }
  window_ = CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            instance, nullptr);
  if (window_ == nullptr) throw Exception("Not enough timers available");
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimer::~TTimer() {
  KillTimer(window_, kTimerId);
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned intervalMs) {
  intervalMs_ = intervalMs;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(window_, kTimerId);
  if (enabled_ && intervalMs_ > 0 && onTimer_) {
    if (SetTimer(window_, kTimerId, intervalMs_, nullptr) == 0) {
      throw Exception("Not enough timers available");
    }
  }
}

bool TTimer::SetProperty(const LayoutProperty& property, const TEventResolver& events) {
  if (property.name == "Interval") {
    SetInterval(static_cast<unsigned>(property.value.integer));
  } else if (property.name == "Enabled") {
    SetEnabled(property.value.IsIdentifier("True"));
  } else if (property.name == "OnTimer") {
    SetOnTimer(events.ResolveEvent(property.value.text));
  } else {
    return TComponent::SetProperty(property, events);
  }
  return true;
}

LRESULT CALLBACK TTimer::TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TTimer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_TIMER && self != nullptr && wParam == kTimerId) {
    try {
      if (self->onTimer_) self->onTimer_(self);
    } catch (...) {
      HandleWindowException();
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
