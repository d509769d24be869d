// Forms, the application object and its message loop.
#include "win32/Forms.h"

#include <algorithm>
#include <new>

#include "win32/ComponentClasses.h"
#include "win32/Screen.h"
#include "win32/WindowClass.h"

TApplication* Application = nullptr;

namespace {

std::string LayoutResourceText(const char* resourceName) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, resourceName, MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) throw EResNotFound(std::string("Resource ") + resourceName + " not found");
  return std::string(static_cast<const char*>(data), SizeofResource(module, resource));
}

// The identifiers a layout may give for an enumerated property.
template <class Enum>
using Choices = std::vector<std::pair<const char*, Enum>>;

// The id of the control that answers WM_GETDLGCODE with DLGC_DEFPUSHBUTTON, as
// DM_GETDEFID reports it; 0 when there is none.
LRESULT DefaultButtonId(HWND form) {
  HWND found = nullptr;
  EnumChildWindows(
      form,
      [](HWND child, LPARAM result) -> BOOL {
        if ((SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) == 0) return TRUE;
        *reinterpret_cast<HWND*>(result) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  if (found == nullptr) return 0;
  return MAKELRESULT(GetDlgCtrlID(found), DC_HASDEFID);
}

// user32's SetThreadDpiAwarenessContext, looked up at run time: Windows 10 1607 brought it.
using SetThreadDpiAwarenessContextFunction = HANDLE(WINAPI*)(HANDLE context);

SetThreadDpiAwarenessContextFunction SetThreadDpiAwarenessContextOrNull() {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<SetThreadDpiAwarenessContextFunction>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
}

// DPI_AWARENESS_CONTEXT_UNAWARE.
const HANDLE kDpiUnaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));

enum class ForegroundOwner { Nobody, ThisProgram, AnotherProgram };

ForegroundOwner OwnerOfForeground() {
  HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return ForegroundOwner::Nobody;
  DWORD owner = 0;
  GetWindowThreadProcessId(foreground, &owner);
  return owner == GetCurrentProcessId() ? ForegroundOwner::ThisProgram
                                        : ForegroundOwner::AnotherProgram;
}

// The application window's timer that looks again at the foreground after a loss of activation
// that went to no window yet, and how often it looks.
constexpr UINT_PTR kForegroundLookTimer = 1;
constexpr UINT kForegroundLookMs = 50;

}  // namespace

// ---- TForm ----

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  Visible = false;
}

TForm::~TForm() = default;

void TForm::InitForm(const char* resourceName) {
  InitFormFromText(LayoutResourceText(resourceName));
}

void TForm::InitFormFromText(const std::string& text) {
  LayoutObject layout = ParseLayout(text);
  SetName(layout.name);
  SetClassName(layout.className);
  ApplyLayout(layout);
  if (OldCreateOrder) DoCreate();
  if (Visible) Show();
}

void TForm::ApplyLayout(const LayoutObject& layout) {
  ApplyProperties(this, layout);
  LoadChildren(layout, this);
  ScaleForResolution();
  Loaded();
}

void TForm::ApplyProperties(TComponent* component, const LayoutObject& layout) {
  for (const LayoutProperty& property : layout.properties) {
    if (!component->SetProperty(property, *this)) {
      ThrowLayoutError(property.line,
                       "unknown property " + property.name + " of " + layout.className);
    }
  }
}

void TForm::LoadChildren(const LayoutObject& layout, TComponent* parent) {
  for (const LayoutObject& child : layout.children) {
    TComponent* component = CreateRegisteredComponent(child.className, this);
    component->SetName(child.name);
    component->SetClassName(child.className);
    auto field = fields_.find(child.name);
    if (field != fields_.end()) field->second(component);
    auto* control = dynamic_cast<TControl*>(component);
    auto* parentControl = dynamic_cast<TWinControl*>(parent);
    if (control != nullptr && parentControl != nullptr) control->SetParent(parentControl);
    ApplyProperties(component, child);
    LoadChildren(child, component);
    component->Loaded();
  }
}

TNotifyEvent TForm::ResolveEvent(const std::string& handlerName) const {
  auto found = handlers_.find(handlerName);
  if (found == handlers_.end()) throw ELayoutError("Method " + handlerName + " not found");
  return found->second;
}

bool TForm::SetProperty(const LayoutProperty& property, const TEventResolver& events) {
  const std::string& name = property.name;
  const LayoutValue& value = property.value;
  auto pick = [&](auto& target, const auto& names) {
    for (const auto& [text, choice] : names) {
      if (value.IsIdentifier(text)) {
        target = choice;
        return;
      }
    }
    ThrowLayoutError(property.line, "unknown value " + value.text + " of " + name);
  };
  using B = TBorderStyle;
  using P = TPosition;
  if (name == "BorderStyle") {
    pick(BorderStyle, Choices<B>{{{"bsNone", B::bsNone},
                                  {"bsSingle", B::bsSingle},
                                  {"bsSizeable", B::bsSizeable},
                                  {"bsDialog", B::bsDialog}}});
  } else if (name == "FormStyle") {
    pick(FormStyle, Choices<TFormStyle>{{{"fsNormal", TFormStyle::fsNormal},
                                         {"fsStayOnTop", TFormStyle::fsStayOnTop}}});
  } else if (name == "WindowState") {
    pick(WindowState, Choices<TWindowState>{{{"wsNormal", TWindowState::wsNormal},
                                             {"wsMinimized", TWindowState::wsMinimized},
                                             {"wsMaximized", TWindowState::wsMaximized}}});
  } else if (name == "Position") {
    pick(Position, Choices<P>{{{"poDesigned", P::poDesigned},
                               {"poDefault", P::poDefault},
                               {"poScreenCenter", P::poScreenCenter},
                               {"poOwnerFormCenter", P::poOwnerFormCenter}}});
  } else if (name == "KeyPreview") {
    // Accepted and not acted on: the one form that asks for it has no controls, so every
    // key comes to the form anyway.
  } else if (name == "OldCreateOrder") {
    OldCreateOrder = value.IsIdentifier("True");
  } else if (name == "Scaled") {
    Scaled = value.IsIdentifier("True");
  } else if (name == "PixelsPerInch") {
    PixelsPerInch = static_cast<int>(value.integer);
  } else if (name == "TextHeight") {
    TextHeight = static_cast<int>(value.integer);
  } else if (name == "ClientWidth") {
    designClientWidth_ = static_cast<int>(value.integer);
  } else if (name == "ClientHeight") {
    designClientHeight_ = static_cast<int>(value.integer);
  } else if (name == "OnCreate") {
    OnCreate = events.ResolveEvent(value.text);
  } else if (name == "OnDestroy") {
    OnDestroy = events.ResolveEvent(value.text);
  } else if (name == "OnShow") {
    OnShow = events.ResolveEvent(value.text);
  } else if (name == "OnResize") {
    OnResize = events.ResolveEvent(value.text);
  } else if (name == "OnKeyDown") {
    OnKeyDown = events.ResolveEvent(value.text);
  } else if (name == "OnMouseMove") {
    OnMouseMove = events.ResolveEvent(value.text);
  } else {
    return TControl::SetProperty(property, events);
  }
  return true;
}

void TForm::DoCreate() {
  if (created_) return;
  created_ = true;
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (...) {
    // The form is created all the same, without the rest of the handler.
    Application->HandleException();
  }
}

void TForm::AfterConstruction() {
  DoCreate();
}

void TForm::BeforeDestruction() {
  if (!OnDestroy) return;
  try {
    OnDestroy(this);
  } catch (...) {
    HandleWindowException();
  }
}

void TForm::FillCreateParams(CreateParams& params) {
  TWinControl::FillCreateParams(params);
  params.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  params.exStyle = 0;
  switch (BorderStyle) {
    case TBorderStyle::bsNone:
      break;
    case TBorderStyle::bsSingle:
      params.style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER;
      break;
    case TBorderStyle::bsSizeable:
      params.style |= WS_OVERLAPPEDWINDOW;
      break;
    case TBorderStyle::bsDialog:
      params.style |= WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      params.exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (parentWindow_ != nullptr) {
    params.style |= WS_CHILD;
  } else {
    params.style |= WS_POPUP;
    params.parent = Application != nullptr ? Application->Handle() : nullptr;
  }
  if (FormStyle == TFormStyle::fsStayOnTop) params.exStyle |= WS_EX_TOPMOST;
  if (designClientWidth_ >= 0 && designClientHeight_ >= 0) {
    RECT rect{0, 0, designClientWidth_, designClientHeight_};
    AdjustWindowRectEx(&rect, params.style & ~WS_CHILD, FALSE, params.exStyle);
    params.width = rect.right - rect.left;
    params.height = rect.bottom - rect.top;
  }
  PlaceWindow(params);
}

void TForm::PlaceWindow(CreateParams& params) const {
  if ((params.style & WS_CHILD) != 0 && Position == TPosition::poDefault) {
    params.x = 0;
    params.y = 0;
    return;
  }
  RECT area{};
  switch (Position) {
    case TPosition::poDesigned:
      return;
    case TPosition::poDefault:
      params.x = CW_USEDEFAULT;
      params.y = CW_USEDEFAULT;
      return;
    case TPosition::poOwnerFormCenter: {
      TForm* over = dynamic_cast<TForm*>(Owner());
      if (over == nullptr && Application != nullptr) over = Application->MainForm();
      if (over != nullptr && over != this && over->HandleAllocated()) {
        GetWindowRect(over->handle_, &area);
        break;
      }
      [[fallthrough]];
    }
    case TPosition::poScreenCenter:
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
      break;
  }
  params.x = area.left + ((area.right - area.left) - params.width) / 2;
  params.y = area.top + ((area.bottom - area.top) - params.height) / 2;
}

void TForm::Show() {
  Visible = true;
  HWND window = Handle();
  if (OnShow) OnShow(this);
  if (parentWindow_ != nullptr) {
    ShowWindow(window, SW_SHOW);
    return;
  }
  ShowWindow(window, WindowState == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  if (FormStyle == TFormStyle::fsStayOnTop) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  SetForegroundWindow(window);
  UpdateWindow(window);
}

void TForm::Hide() {
  Visible = false;
  if (HandleAllocated()) ShowWindow(handle_, SW_HIDE);
}

void TForm::Close() {
  if (modal_) {
    ModalResult = mrCancel;
  } else if (Application != nullptr && Application->MainForm() == this) {
    Application->Terminate();
  } else {
    Hide();
  }
}

int TForm::ShowModal() {
  HWND window = Handle();
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND other, LPARAM list) -> BOOL {
        auto* windows = reinterpret_cast<std::vector<HWND>*>(list);
        if (other != windows->front() && IsWindowVisible(other) && IsWindowEnabled(other)) {
          windows->push_back(other);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&(disabled = {window})));
  disabled.erase(disabled.begin());
  for (HWND other : disabled) EnableWindow(other, FALSE);
  struct Restore {
    std::vector<HWND>& windows;
    TForm& form;
    HWND previouslyActive;
    ~Restore() {
      for (HWND other : windows) EnableWindow(other, TRUE);
      // The window that was active before gets the activation back, not just any window.
      if (previouslyActive != nullptr && IsWindow(previouslyActive))
        SetActiveWindow(previouslyActive);
      form.Hide();
      form.modal_ = false;
    }
  } restore{disabled, *this, GetActiveWindow()};
  modal_ = true;
  ModalResult = mrNone;
  Show();
  while (ModalResult == mrNone) {
    Application->HandleMessage();
    if (Application->Terminated()) ModalResult = mrCancel;
  }
  return ModalResult;
}

void TForm::WndProc(TMessage& message) {
  switch (message.msg) {
    case WM_SIZE:
      DefaultHandler(message);
      if (message.wParam == SIZE_MAXIMIZED) KeepMaximizedBounds();
      if (OnResize) OnResize(this);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (OnKeyDown) OnKeyDown(this);
      break;
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this);
      break;
    case WM_LBUTTONDOWN:
      mousePressed_ = true;
      SetCapture(message.hwnd);
      break;
    case WM_LBUTTONUP: {
      bool pressed = mousePressed_;
      mousePressed_ = false;
      if (GetCapture() == message.hwnd) ReleaseCapture();
      RECT client{};
      GetClientRect(message.hwnd, &client);
      POINT at{static_cast<short>(LOWORD(message.lParam)),
               static_cast<short>(HIWORD(message.lParam))};
      if (pressed && PtInRect(&client, at) && OnClick) OnClick(this);
      break;
    }
    case WM_CLOSE:
      Close();
      message.result = 0;
      return;
    case WM_ACTIVATE:
      DefaultHandler(message);
      if (LOWORD(message.wParam) != WA_INACTIVE && Application != nullptr &&
          Application->MainForm() == this) {
        Application->MainFormActivated();
      }
      if (LOWORD(message.wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(message.hwnd, focus)) lastFocus_ = focus;
      } else if (HIWORD(message.wParam) == 0) {
        FocusControlOnActivation();
      }
      return;
    case DM_GETDEFID:
      // Enter in a dialog form clicks the button that shows as the default one.
      message.result = DefaultButtonId(message.hwnd);
      return;
    case WM_NCDESTROY:
      // Only a window the system destroys comes here (DestroyHandle detaches first): a form
      // living in another program's window closes when that window takes it away. This is the
      // one message that comes when the other program ends without destroying its window.
      if (parentWindow_ != nullptr) Close();
      break;
    case WM_ACTIVATEAPP:
      if (Application != nullptr && message.wParam == 0) Application->Deactivated();
      break;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(message.hwnd, &client);
      HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
      FillRect(reinterpret_cast<HDC>(message.wParam), &client, brush);
      DeleteObject(brush);
      message.result = 1;
      return;
    }
    case WM_GETMINMAXINFO:
      DefaultHandler(message);
      if (BorderStyle == TBorderStyle::bsNone && parentWindow_ == nullptr) {
        // A borderless maximised form covers its whole monitor, task bar included.
        RECT monitor = MonitorRectOf(message.hwnd);
        maximizedBounds_ = monitor;
        auto* info = reinterpret_cast<MINMAXINFO*>(message.lParam);
        info->ptMaxPosition = {monitor.left, monitor.top};
        info->ptMaxSize = {monitor.right - monitor.left, monitor.bottom - monitor.top};
        info->ptMaxTrackSize = info->ptMaxSize;
      }
      return;
    default:
      break;
  }
  TWinControl::WndProc(message);
}

void TForm::KeepMaximizedBounds() {
  RECT now{};
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (IsRectEmpty(&maximizedBounds_) || !GetWindowRect(handle_, &now) ||
      !GetWindowPlacement(handle_, &placement))
    return;
  // Only the normal size coming back: a display change that moves the maximised form on
  // stays the system's to make.
  const RECT& normal = placement.rcNormalPosition;
  if (now.right - now.left != normal.right - normal.left ||
      now.bottom - now.top != normal.bottom - normal.top)
    return;
  SetWindowPos(handle_, nullptr, maximizedBounds_.left, maximizedBounds_.top,
               maximizedBounds_.right - maximizedBounds_.left,
               maximizedBounds_.bottom - maximizedBounds_.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::FocusControlOnActivation() {
  if (lastFocus_ != nullptr && IsChild(handle_, lastFocus_) && IsWindowEnabled(lastFocus_) &&
      IsWindowVisible(lastFocus_)) {
    SetFocus(lastFocus_);
    return;
  }
  HWND first = GetNextDlgTabItem(handle_, nullptr, FALSE);
  if (first != nullptr && IsChild(handle_, first)) SetFocus(first);
}

// ---- TDpiUnawareScope ----

TDpiUnawareScope::TDpiUnawareScope() {
  if (auto setContext = SetThreadDpiAwarenessContextOrNull()) previous_ = setContext(kDpiUnaware);
}

TDpiUnawareScope::~TDpiUnawareScope() {
  // A failed switch returned nothing, and there is nothing to restore.
  if (previous_ == nullptr) return;
  if (auto setContext = SetThreadDpiAwarenessContextOrNull()) setContext(previous_);
}

// ---- TApplication ----

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  previousExceptionHandler_ = SetWindowExceptionHandler(ShowWindowException);
}

TApplication::~TApplication() {
  // Forms go first, while the application window they belong to still exists.
  while (!Components().empty()) Free(Components().back());
  if (handle_ != nullptr) {
    LinkWindow(handle_, nullptr);
    DestroyWindow(handle_);
  }
  SetWindowExceptionHandler(previousExceptionHandler_);
  if (Application == this) Application = nullptr;
}

void TApplication::ShowWindowException() {
  if (Application != nullptr) Application->HandleException();
}

void TApplication::Initialize() {
  Handle();
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_ != nullptr) SetWindowTextA(handle_, title_.c_str());
}

HWND TApplication::Handle() {
  if (handle_ != nullptr) return handle_;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.lpfnWndProc = LinkedWindowProc<TApplication>;
  windowClass.hIcon = LoadIconA(instance, "MAINICON");
  windowClass.lpszClassName = "TApplication";
  RegisterWindowClass(windowClass);
  int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  handle_ = CreateWindowExA(WS_EX_APPWINDOW, "TApplication", title_.c_str(),
                            WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0, nullptr, nullptr,
                            instance, nullptr);
  if (handle_ == nullptr) throw Exception("Cannot create the application window");
  LinkWindow(handle_, this);
  return handle_;
}

bool TApplication::DisplayOn() {
  displayPower_.Watch(Handle());
  return displayPower_.DisplayOn();
}

bool TApplication::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
  TMessage message{hwnd, msg, wParam, lParam, 0};
  if (displayPower_.TakeNotification(message)) {
    result = message.result;
    return true;
  }
  if (msg == WM_ACTIVATEAPP) {
    if (wParam == 0) Deactivated();
    return false;
  }
  if (msg == WM_TIMER && wParam == kForegroundLookTimer) {
    Deactivated();
    result = 0;
    return true;
  }
  if (msg != WM_CLOSE) return false;
  if (mainForm_ != nullptr) mainForm_->Close();
  result = 0;
  return true;
}

void TApplication::Run() {
  // A main form whose creation already ended the program (after showing why) stays unseen.
  if (mainForm_ == nullptr || terminateRequested_) return;
  if (TaskBarButton) ShowWindow(Handle(), SW_SHOWNA);
  if (!mainForm_->Visible) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  terminateRequested_ = true;
  PostQuitMessage(0);
}

bool TApplication::ProcessMessage() {
  MSG message{};
  if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) == 0) return false;
  if (message.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  HWND active = GetActiveWindow();
  TForm* dialog = dynamic_cast<TForm*>(TWinControl::FromHandle(active));
  // Dialog forms get keyboard navigation: Tab, arrows, Enter for the default button.
  if (dialog != nullptr && dialog->BorderStyle == TBorderStyle::bsDialog &&
      IsDialogMessageA(active, &message) != 0) {
    return true;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return true;
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) WaitMessage();
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {}
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  // The box belongs to one of the program's own windows. A form living in another program's
  // window (the preview) shares that program's input state, so the active window may be the
  // other program's: the box would disable it.
  HWND owner = GetActiveWindow();
  if (owner != nullptr && GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) {
    owner = nullptr;
  }
  if (owner == nullptr && mainForm_ != nullptr && mainForm_->HandleAllocated() &&
      mainForm_->ParentWindow() == nullptr) {
    owner = mainForm_->Handle();
  }
  if (owner == nullptr) owner = Handle();
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::ShowException(const Exception& error) {
  // Topmost, so that it is seen above a topmost full-screen form. The window is not made
  // here: when making it is what failed, the box has no owner instead of failing again.
  ::MessageBoxA(handle_, ExceptionDisplayText(error.Message()).c_str(), title_.c_str(),
                MB_OK | MB_ICONSTOP | MB_TOPMOST);
}

void TApplication::HandleException() {
  try {
    throw;
  } catch (const Exception& error) {
    ShowException(error);
  } catch (const std::exception& error) {
    ShowException(Exception(error.what()));
  } catch (...) {
    ShowException(Exception(""));
  }
}

void TApplication::AddEvents(TApplicationEvents* events) {
  events_.push_back(events);
}

void TApplication::RemoveEvents(TApplicationEvents* events) {
  events_.erase(std::remove(events_.begin(), events_.end(), events), events_.end());
}

void TApplication::Deactivated() {
  // Every top-level window of the program hears of the change; report it once. Before the
  // main form has been active there is nothing to lose: the system may hand the activation to
  // another program when a start-up error box closes, and the form takes it when it shows.
  // Hiding the program's own active window leaves no window active for a moment; that is no
  // loss to another program either. Nor is it always known yet: the program that loses the
  // activation may hear of it before the one that takes it has its window active. While no
  // window is the foreground one, the application window looks again until one is.
  if (!active_) return;
  KillTimer(Handle(), kForegroundLookTimer);
  switch (OwnerOfForeground()) {
    case ForegroundOwner::ThisProgram:
      return;
    case ForegroundOwner::Nobody:
      SetTimer(Handle(), kForegroundLookTimer, kForegroundLookMs, nullptr);
      return;
    case ForegroundOwner::AnotherProgram:
      break;
  }
  active_ = false;
  std::vector<TApplicationEvents*> listeners = events_;
  for (TApplicationEvents* events : listeners) {
    if (events->OnDeactivate) events->OnDeactivate(events);
  }
}

// ---- TApplicationEvents ----

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner) {
  if (Application != nullptr) Application->AddEvents(this);
}

TApplicationEvents::~TApplicationEvents() {
  if (Application != nullptr) Application->RemoveEvents(this);
}

bool TApplicationEvents::SetProperty(const LayoutProperty& property, const TEventResolver& events) {
  if (property.name == "OnDeactivate") {
    OnDeactivate = events.ResolveEvent(property.value.text);
    return true;
  }
  return TComponent::SetProperty(property, events);
}
