// The timer: a message-only window that receives WM_TIMER and raises OnTimer.
#include "win32/ExtCtrls.h"

#include <utility>

#include "framework/Clock.h"
#include "framework/SysUtils.h"
#include "win32/WindowClass.h"

namespace {
constexpr char kTimerWindowClass[] = "TTimerWindow";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(*this, MonotonicNs) {
  WNDCLASSEXA windowClass{};
  windowClass.lpfnWndProc = LinkedWindowProc<TTimer>;
  windowClass.lpszClassName = kTimerWindowClass;
  RegisterWindowClass(windowClass);
  window_ = CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr) throw Exception("Not enough timers available");
  LinkWindow(window_, this);
}

TTimer::~TTimer() {
  KillTimer(window_, kTimerId);
  LinkWindow(window_, nullptr);
  DestroyWindow(window_);
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  if (handler) {
    timer_.SetOnTimer([this, handler = std::move(handler)] { handler(this); });
  } else {
    timer_.SetOnTimer(nullptr);
  }
}

void TTimer::Arm(unsigned elapseMs) {
  // Armed again with the same window and id, the system's timer starts afresh.
  if (SetTimer(window_, kTimerId, elapseMs, nullptr) == 0) {
    throw Exception("Not enough timers available");
  }
}

void TTimer::Kill() {
  KillTimer(window_, kTimerId);
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

bool TTimer::HandleWindowMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
  // The window carries this one timer.
  if (msg != WM_TIMER) return false;
  result = 0;
  timer_.Fired();
  return true;
}

// ---- TPanel ----

namespace {

TPanelBevel BevelFromLayout(const LayoutValue& value) {
  if (value.IsIdentifier("bvLowered")) return TPanelBevel::bvLowered;
  if (value.IsIdentifier("bvRaised")) return TPanelBevel::bvRaised;
  return TPanelBevel::bvNone;
}

// One pixel of frame: top and left in one colour, bottom and right in the other; the
// rectangle then shrinks by that pixel.
void DrawBevel(HDC dc, RECT& rect, TPanelBevel bevel) {
  if (bevel == TPanelBevel::bvNone) return;
  const bool raised = bevel == TPanelBevel::bvRaised;
  HBRUSH light = GetSysColorBrush(raised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
  HBRUSH dark = GetSysColorBrush(raised ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  const RECT top{rect.left, rect.top, rect.right - 1, rect.top + 1};
  const RECT left{rect.left, rect.top, rect.left + 1, rect.bottom - 1};
  const RECT bottom{rect.left, rect.bottom - 1, rect.right, rect.bottom};
  const RECT right{rect.right - 1, rect.top, rect.right, rect.bottom};
  FillRect(dc, &top, light);
  FillRect(dc, &left, light);
  FillRect(dc, &bottom, dark);
  FillRect(dc, &right, dark);
  InflateRect(&rect, -1, -1);
}

}  // namespace

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {}

bool TPanel::SetProperty(const LayoutProperty& property, const TEventResolver& events) {
  if (property.name == "BevelOuter") {
    BevelOuter = BevelFromLayout(property.value);
  } else if (property.name == "BevelInner") {
    BevelInner = BevelFromLayout(property.value);
  } else {
    return TWinControl::SetProperty(property, events);
  }
  return true;
}

void TPanel::FillCreateParams(CreateParams& params) {
  TWinControl::FillCreateParams(params);
  // Tab and the other dialog keys go into the panel to the controls it holds.
  params.exStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::Paint(HDC dc) {
  RECT rect{};
  GetClientRect(handle_, &rect);
  DrawBevel(dc, rect, BevelOuter);
  DrawBevel(dc, rect, BevelInner);
  FillWithColor(dc, rect, Color);
  if (!Caption.empty())
    DrawTextIn(dc, Caption, rect, EffectiveFont(), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TPanel::WndProc(TMessage& message) {
  if (HandlePaintMessage(message, [this](HDC dc) { Paint(dc); })) return;
  TWinControl::WndProc(message);
}

// ---- TImage ----

TImage::TImage(TComponent* owner) : TWinControl(owner) {}

void TImage::LoadPicture(const std::string& resourceName) {
  picture_.LoadFromResourceName(resourceName);
  if (HandleAllocated()) InvalidateRect(handle_, nullptr, FALSE);
}

bool TImage::SetProperty(const LayoutProperty& property, const TEventResolver& events) {
  if (property.name == "Picture") {
    LoadPicture(property.value.text);
  } else if (property.name == "Stretch") {
    Stretch = property.value.IsIdentifier("True");
  } else {
    return TWinControl::SetProperty(property, events);
  }
  return true;
}

void TImage::Paint(HDC dc) {
  RECT client{};
  GetClientRect(handle_, &client);
  const TColor background = Parent() != nullptr ? Parent()->Color : Color;
  if (picture_.Empty()) {
    FillWithColor(dc, client, background);
    return;
  }
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, picture_.Handle());
  if (Stretch) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, picture_.Width(),
               picture_.Height(), SRCCOPY);
  } else {
    FillWithColor(dc, client, background);
    BitBlt(dc, 0, 0, picture_.Width(), picture_.Height(), memory, 0, 0, SRCCOPY);
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
}

void TImage::WndProc(TMessage& message) {
  if (HandlePaintMessage(message, [this](HDC dc) { Paint(dc); })) return;
  TWinControl::WndProc(message);
}
