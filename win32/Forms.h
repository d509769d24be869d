// Forms built from layout resources, the application object with its message loop,
// and the application-events component.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/SysUtils.h"
#include "win32/Controls.h"
#include "win32/DisplayPower.h"
#include "win32/WindowException.h"

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TPosition { poDesigned, poDefault, poScreenCenter, poOwnerFormCenter };

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

class TForm : public TWinControl, public TEventResolver {
public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  void Show();
  void Hide();
  // Main form: ask the application to terminate; modal form: end the modal loop; else hide.
  void Close();
  // Shows the form with every other window of the program disabled until it closes.
  int ShowModal();
  // OnCreate, unless the layout asked for the old create order (then it already ran).
  void AfterConstruction();
  void BeforeDestruction() override;

  TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
  TFormStyle FormStyle = TFormStyle::fsNormal;
  TWindowState WindowState = TWindowState::wsNormal;
  TPosition Position = TPosition::poDesigned;
  bool OldCreateOrder = false;
  bool Scaled = true;
  // The screen resolution the layout was made for, and the height of the form's text there.
  int PixelsPerInch = 96;
  int TextHeight = 0;
  int ModalResult = mrNone;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnResize;
  TNotifyEvent OnKeyDown;
  TNotifyEvent OnMouseMove;

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;
  TNotifyEvent ResolveEvent(const std::string& handlerName) const override;
  void WndProc(TMessage& message) override;

protected:
  // Builds the form and its components from the layout resource of that name. With the
  // old create order OnCreate runs here; a visible form is shown at the end.
  void InitForm(const char* resourceName);
  // Builds from layout text (InitForm reads the resource and calls this).
  void InitFormFromText(const std::string& text);

  // Names the layout may use: a handler method, or a field that receives a component.
  template <class Form>
  void Publish(const char* name, void (Form::*handler)(TObject*)) {
    Form* self = static_cast<Form*>(this);
    handlers_[name] = [self, handler](TObject* sender) { (self->*handler)(sender); };
  }
  template <class Component>
  void Publish(const char* name, Component*& field) {
    fields_[name] = [&field, name](TComponent* component) {
      field = dynamic_cast<Component*>(component);
      if (field == nullptr)
        throw ELayoutError(std::string("Component ") + name + " has the wrong class");
    };
  }

  void FillCreateParams(CreateParams& params) override;

private:
  void DoCreate();
  void ApplyLayout(const LayoutObject& layout);
  void LoadChildren(const LayoutObject& layout, TComponent* parent);
  void ApplyProperties(TComponent* component, const LayoutObject& layout);
  void PlaceWindow(CreateParams& params) const;
  // A scaled form made for another resolution: the font follows the screen's resolution,
  // then positions, sizes and the client area follow the new height of the text.
  void ScaleForResolution();
  // The focus goes back to the control that had it, or to the first in tab order.
  void FocusControlOnActivation();
  // A maximised borderless form that finds itself at its normal size takes back the bounds it
  // was maximised to: Wine without a window manager may apply a late configure event from the
  // X server, which carries the window's first, normal size, to the maximised window.
  void KeepMaximizedBounds();

  HWND lastFocus_ = nullptr;

  std::map<std::string, TNotifyEvent> handlers_;
  std::map<std::string, std::function<void(TComponent*)>> fields_;
  bool created_ = false;
  bool shown_ = false;
  bool modal_ = false;
  bool mousePressed_ = false;
  // What maximising gave a borderless top-level form; empty for other forms.
  RECT maximizedBounds_{};
  int designClientWidth_ = -1;
  int designClientHeight_ = -1;
};

// While it lives, the windows this thread makes are DPI-unaware: they see 96 pixels per inch
// and the system scales each as a whole. Where the system has no per-thread awareness
// (before Windows 10 1607) it does nothing.
class TDpiUnawareScope {
public:
  TDpiUnawareScope();
  ~TDpiUnawareScope();
  TDpiUnawareScope(const TDpiUnawareScope&) = delete;
  TDpiUnawareScope& operator=(const TDpiUnawareScope&) = delete;

private:
  HANDLE previous_ = nullptr;
};

class TApplicationEvents;

class TApplication : public TComponent {
public:
  TApplication();
  ~TApplication() override;

  // The framework's start-up hook: nothing beyond making the application window.
  void Initialize();
  void SetTitle(const std::string& title);
  // The application's own top-level window (the program's task-bar entry).
  HWND Handle();
  TForm* MainForm() const { return mainForm_; }

  // Creates a form of class Form, stores it in `reference` before its constructor runs,
  // and makes it the main form if there is none yet. The application owns the form.
  template <class Form>
  void CreateForm(Form*& reference) {
    void* memory = ::operator new(sizeof(Form));
    reference = static_cast<Form*>(memory);
    Form* form = nullptr;
    try {
      form = new (memory) Form(this);
    } catch (...) {
      reference = nullptr;
      ::operator delete(memory);
      throw;
    }
    if (mainForm_ == nullptr) mainForm_ = form;
    form->AfterConstruction();
  }

  // Shows the main form, and the application window as the program's task-bar button when
  // TaskBarButton is true, then dispatches messages until termination; returns at once without
  // a main form, or when termination was asked for before the loop (nothing is shown then).
  void Run();
  // Whether Run shows the application window; a main form without a task-bar button of its
  // own clears it before Run.
  bool TaskBarButton = true;
  // Posts the request to quit; the loop ends when it reaches it.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Dispatches one message, waiting for one if none is queued.
  void HandleMessage();
  // Dispatches every queued message.
  void ProcessMessages();

  // The system message box, owned by the program's active window.
  int MessageBox(const std::string& text, const std::string& caption, UINT flags);
  // The standard exception display.
  void ShowException(const Exception& error);
  // Shows the exception being handled (call inside a catch block).
  void HandleException();

  void AddEvents(TApplicationEvents* events);
  void RemoveEvents(TApplicationEvents* events);
  // The application lost activation, maybe to another program; reported to the
  // application-events components only once the main form has been active, and only when
  // another program's window is the foreground one (looked at again until some window is).
  void Deactivated();
  // The main form became the active window.
  void MainFormActivated() { active_ = true; }

  // Whether the display shows anything (console and session). The power notifications come to
  // the application's window, a top-level window of the program's own (the system sends them
  // to no child window, such as the preview in another program's window), from the first
  // question on.
  bool DisplayOn();

  // The application window's messages (LinkedWindowProc): activation and the look again at
  // the foreground, closing and the display's power notifications.
  bool HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
  bool ProcessMessage();
  // The window-exception handler while the application lives: its exception display.
  static void ShowWindowException();

  std::string title_;
  HWND handle_ = nullptr;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool terminateRequested_ = false;
  bool active_ = false;
  std::vector<TApplicationEvents*> events_;
  WindowExceptionHandler previousExceptionHandler_ = nullptr;
  TDisplayPower displayPower_;
};

// The one application object of the process (set while a TApplication exists).
extern TApplication* Application;

// Delivers application-wide events to the form that owns it.
class TApplicationEvents : public TComponent {
public:
  explicit TApplicationEvents(TComponent* owner);
  ~TApplicationEvents() override;
  TNotifyEvent OnDeactivate;
  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;
};
