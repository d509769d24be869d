// Components, controls and the shared window procedure.
#include "win32/Controls.h"

#include <algorithm>
#include <limits>

#include "framework/SysUtils.h"
#include "win32/WindowClass.h"

namespace {

// The control whose window CreateWindowEx is making right now: it receives
// every message of the new window from the first one on.
thread_local TWinControl* gCreatingControl = nullptr;

int IntegerOf(const LayoutProperty& property) {
  if (property.value.kind != LayoutValue::Kind::Integer) {
    ThrowLayoutError(property.line, property.name + " needs a number");
  }
  return static_cast<int>(property.value.integer);
}

bool BoolOf(const LayoutProperty& property) {
  if (property.value.IsIdentifier("True")) return true;
  if (property.value.IsIdentifier("False")) return false;
  ThrowLayoutError(property.line, property.name + " needs True or False");
}

}  // namespace

// ---- TComponent ----

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_ != nullptr) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_ != nullptr) {
    auto& siblings = owner_->components_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) Free(components_.back());
}

void TComponent::Free(TComponent* component) {
  if (component == nullptr) return;
  component->BeforeDestruction();
  delete component;
}

bool TComponent::SetProperty(const LayoutProperty& property, const TEventResolver&) {
  // Non-visual components carry their designer position; it has no effect at run time.
  return property.name == "Left" || property.name == "Top";
}

// ---- TControl ----

TControl::TControl(TComponent* owner) : TComponent(owner) {}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_ != nullptr) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_ != nullptr) parent_->InsertControl(this);
}

bool TControl::SetProperty(const LayoutProperty& property, const TEventResolver& events) {
  const std::string& name = property.name;
  if (name == "Left") {
    Left = IntegerOf(property);
  } else if (name == "Top") {
    Top = IntegerOf(property);
  } else if (name == "Width") {
    Width = IntegerOf(property);
  } else if (name == "Height") {
    Height = IntegerOf(property);
  } else if (name == "Caption") {
    Caption = property.value.text;
  } else if (name == "Color") {
    Color = ColorFromLayout(property.value);
  } else if (name == "Cursor") {
    Cursor = property.value.IsIdentifier("crHandPoint") ? -21 : IntegerOf(property);
  } else if (name == "Visible") {
    Visible = BoolOf(property);
  } else if (name == "TabOrder") {
    TabOrder = IntegerOf(property);
  } else if (name == "ParentFont") {
    ParentFont = BoolOf(property);
  } else if (name.rfind("Font.", 0) == 0) {
    ParentFont = false;
    return Font.SetProperty(name, property.value);
  } else if (name == "OnClick") {
    OnClick = events.ResolveEvent(property.value.text);
  } else if (name == "OnMouseEnter") {
    OnMouseEnter = events.ResolveEvent(property.value.text);
  } else if (name == "OnMouseLeave") {
    OnMouseLeave = events.ResolveEvent(property.value.text);
  } else {
    return TComponent::SetProperty(property, events);
  }
  return true;
}

const TFont& TControl::EffectiveFont() const {
  if (ParentFont && parent_ != nullptr) return parent_->EffectiveFont();
  return Font;
}

// ---- TWinControl ----

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  WindowProc = [this](TMessage& message) { WndProc(message); };
}

TWinControl::~TWinControl() {
  DestroyHandle();
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  SetParent(nullptr);
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
}

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

HWND TWinControl::Handle() {
  if (handle_ == nullptr) CreateWnd();
  return handle_;
}

void TWinControl::DestroyHandle() {
  if (handle_ == nullptr) return;
  HWND window = handle_;
  // No message of the dying window reaches this object any more.
  LinkWindow(window, nullptr);
  if (systemProc_ != nullptr) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
  }
  handle_ = nullptr;
  DestroyWindow(window);
}

void TWinControl::SetParentWindow(HWND parentWindow) {
  if (parentWindow_ == parentWindow) return;
  parentWindow_ = parentWindow;
  if (handle_ == nullptr || parent_ != nullptr) return;
  if (parentWindow_ != nullptr && (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) != 0) {
    ::SetParent(handle_, parentWindow_);
  } else {
    // A top-level window cannot become a child in place: make it again.
    DestroyHandle();
  }
}

void TWinControl::FillCreateParams(CreateParams& params) {
  params.windowClass = ClassName().empty() ? "TWinControl" : ClassName();
  params.caption = Caption;
  params.x = Left;
  params.y = Top;
  params.width = Width;
  params.height = Height;
  if (Visible) {
    params.style |= WS_VISIBLE;
  } else {
    params.style &= ~WS_VISIBLE;
  }
  if (parent_ != nullptr) {
    params.parent = parent_->Handle();
  } else {
    params.parent = parentWindow_;
  }
}

void TWinControl::CreateWnd() {
  CreateParams params;
  FillCreateParams(params);
  if ((params.style & WS_CHILD) != 0 && params.parent == nullptr) {
    throw Exception("Control '" + Name() + "' has no parent window");
  }
  CreateWindowHandle(params);
  AfterHandleCreated();
  CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
  std::vector<TWinControl*> children;
  for (TControl* control : controls_) {
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) children.push_back(windowed);
  }
  // Controls outside the tab order (TabOrder -1) come last, in layout order.
  auto tabRank = [](const TWinControl* control) {
    return control->TabOrder < 0 ? std::numeric_limits<int>::max() : control->TabOrder;
  };
  std::stable_sort(
      children.begin(), children.end(),
      [&](const TWinControl* a, const TWinControl* b) { return tabRank(a) < tabRank(b); });
  for (TWinControl* child : children) child->HandleNeeded();
}

void TWinControl::RegisterOwnClass(const std::string& name) {
  WNDCLASSEXA windowClass{};
  windowClass.style = CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = StaticWindowProc;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  windowClass.lpszClassName = name.c_str();
  RegisterWindowClass(windowClass);
}

void TWinControl::CreateWindowHandle(const CreateParams& params) {
  const bool ownClass = params.systemClass.empty();
  const std::string& className = ownClass ? params.windowClass : params.systemClass;
  if (ownClass) RegisterOwnClass(className);
  if (ownClass) gCreatingControl = this;
  HWND window = CreateWindowExA(params.exStyle, className.c_str(), params.caption.c_str(),
                                params.style, params.x, params.y, params.width, params.height,
                                params.parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  gCreatingControl = nullptr;
  if (window == nullptr) {
    throw Exception("Cannot create window '" + Name() + "' (system error " +
                    std::to_string(GetLastError()) + ")");
  }
  if (!ownClass) {
    handle_ = window;
    LinkWindow(window, this);
    systemProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWindowProc)));
  }
}

LRESULT CALLBACK TWinControl::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = LinkedObject<TWinControl>(hwnd);
  if (self == nullptr && gCreatingControl != nullptr) {
    self = gCreatingControl;
    gCreatingControl = nullptr;
    self->handle_ = hwnd;
    LinkWindow(hwnd, self);
  }
  if (self == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
  TMessage message{hwnd, msg, wParam, lParam, 0};
  try {
    self->WindowProc(message);
  } catch (...) {
    HandleWindowException();
  }
  if (msg == WM_NCDESTROY && self->handle_ == hwnd) {
    // The system destroyed the window (its parent went away).
    LinkWindow(hwnd, nullptr);
    self->handle_ = nullptr;
  }
  return message.result;
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (systemProc_ != nullptr) {
    message.result =
        CallWindowProcA(systemProc_, message.hwnd, message.msg, message.wParam, message.lParam);
  } else {
    message.result = DefWindowProcA(message.hwnd, message.msg, message.wParam, message.lParam);
  }
}

TWinControl* TWinControl::FromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (proc != StaticWindowProc) return nullptr;
  return LinkedObject<TWinControl>(window);
}

bool TWinControl::Reflected(TMessage&) {
  return false;
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.msg) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
      HWND child = message.msg == WM_DRAWITEM
                       ? reinterpret_cast<DRAWITEMSTRUCT*>(message.lParam)->hwndItem
                       : reinterpret_cast<HWND>(message.lParam);
      TWinControl* control = FromHandle(child);
      if (control != nullptr && control != this && control->Reflected(message)) return;
      break;
    }
    default:
      break;
  }
  if (message.msg == WM_SETCURSOR && Cursor != 0 && LOWORD(message.lParam) == HTCLIENT &&
      reinterpret_cast<HWND>(message.wParam) == message.hwnd) {
    // crNone (-1) hides the pointer; crHandPoint (-21) shows the hand.
    SetCursor(Cursor == -1 ? nullptr : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
    message.result = TRUE;
    return;
  }
  DefaultHandler(message);
}

int TWinControl::ClientWidth() {
  RECT rect{};
  GetClientRect(Handle(), &rect);
  return rect.right - rect.left;
}

int TWinControl::ClientHeight() {
  RECT rect{};
  GetClientRect(Handle(), &rect);
  return rect.bottom - rect.top;
}

void TWinControl::SetClientWidth(int width) {
  ResizeClient(width, -1);
}

void TWinControl::SetClientHeight(int height) {
  ResizeClient(-1, height);
}

void TWinControl::ResizeClient(int width, int height) {
  HWND window = Handle();
  RECT client{};
  RECT outer{};
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  int newWidth = outer.right - outer.left;
  int newHeight = outer.bottom - outer.top;
  if (width >= 0) newWidth += width - (client.right - client.left);
  if (height >= 0) newHeight += height - (client.bottom - client.top);
  SetWindowPos(window, nullptr, 0, 0, newWidth, newHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Width = newWidth;
  Height = newHeight;
}

bool HandlePaintMessage(TMessage& message, const std::function<void(HDC)>& paint) {
  if (message.msg == WM_ERASEBKGND) {
    message.result = 1;
    return true;
  }
  if (message.msg != WM_PAINT) return false;
  PAINTSTRUCT painting{};
  HDC dc = BeginPaint(message.hwnd, &painting);
  paint(dc);
  EndPaint(message.hwnd, &painting);
  message.result = 0;
  return true;
}
