// Components, controls and windowed controls: ownership, layout properties,
// event slots and the window procedure that turns Win32 messages into events.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Layout.h"
#include "win32/Graphics.h"

class TObject {
public:
  virtual ~TObject() = default;
};

// Every event handler takes the object that raised the event.
using TNotifyEvent = std::function<void(TObject* sender)>;

// A window message as the window procedure received it.
struct TMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
};

// Resolves the names a layout gives (handler names) to bound handlers.
class TEventResolver {
public:
  virtual ~TEventResolver() = default;
  virtual TNotifyEvent ResolveEvent(const std::string& handlerName) const = 0;
};

// Named object with an owner; an owner deletes what it owns.
class TComponent : public TObject {
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  // The class name the layout gives ("TVeloriumF1"); our window classes carry it.
  const std::string& ClassName() const { return className_; }
  void SetClassName(std::string name) { className_ = std::move(name); }
  const std::vector<TComponent*>& Components() const { return components_; }

  // Runs before the destructor, while the whole object still exists.
  virtual void BeforeDestruction() {}
  // Destroys an owned component the way its owner does.
  static void Free(TComponent* component);

  // Applies one layout property; false when the name is not known to this class.
  virtual bool SetProperty(const LayoutProperty& property, const TEventResolver& events);
  // Called once all layout properties of the component have been applied.
  virtual void Loaded() {}

private:
  void DestroyComponents();

  TComponent* owner_;
  std::string name_;
  std::string className_;
  std::vector<TComponent*> components_;
};

class TWinControl;

// Anything placed on a form: position, size, caption, colour, font.
class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::string Caption;
  TColor Color = static_cast<TColor>(0x8000000F);  // clBtnFace
  TFont Font;
  int Cursor = 0;  // crDefault
  bool Visible = true;
  int TabOrder = -1;
  // The control draws with its parent's font until the layout gives it one of its own.
  bool ParentFont = true;

  TNotifyEvent OnClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;

  // The font the control draws with: its own, or the nearest parent's that has its own.
  const TFont& EffectiveFont() const;

protected:
  TWinControl* parent_ = nullptr;
};

// A control with a window of its own, made on first need.
class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, made now if it does not exist yet.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();

  // Every message for the window passes through WindowProc first; it may be replaced.
  std::function<void(TMessage&)> WindowProc;
  // The control's own handling of a message (events, then the system's default).
  virtual void WndProc(TMessage& message);

  const std::vector<TControl*>& Controls() const { return controls_; }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  // A window of another program to live in (0: none).
  void SetParentWindow(HWND parentWindow);
  HWND ParentWindow() const { return parentWindow_; }

  int ClientWidth();
  int ClientHeight();
  void SetClientWidth(int width);
  void SetClientHeight(int height);

  // The control whose window this is, or null.
  static TWinControl* FromHandle(HWND window);
  // A notification the parent received for this control's window (WM_COMMAND,
  // WM_CTLCOLOR*, WM_DRAWITEM); true when the control handled it.
  virtual bool Reflected(TMessage& message);

protected:
  struct CreateParams {
    std::string windowClass;
    std::string caption;
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    // Standard system class to subclass ("BUTTON"); empty for our own window class.
    std::string systemClass;
  };
  virtual void FillCreateParams(CreateParams& params);
  virtual void CreateWnd();
  // The window exists: child windows and per-window set-up.
  virtual void CreateWindowHandle(const CreateParams& params);
  virtual void AfterHandleCreated() {}
  // Makes the windows of the windowed children in tab order, which is the order in which
  // the system's dialog keys (Tab, Shift+Tab) go through them.
  void CreateChildHandles();
  void DefaultHandler(TMessage& message);

  HWND handle_ = nullptr;
  HWND parentWindow_ = nullptr;
  WNDPROC systemProc_ = nullptr;

private:
  static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static void RegisterOwnClass(const std::string& name);

  // Sets the client size, keeping the border; -1 keeps that dimension.
  void ResizeClient(int width, int height);

  std::vector<TControl*> controls_;
};

// Answers WM_ERASEBKGND (nothing to erase: paint covers the whole window) and WM_PAINT
// (paint draws on the window's DC); false for every other message.
bool HandlePaintMessage(TMessage& message, const std::function<void(HDC)>& paint);
