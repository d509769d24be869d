// The preview form.
#include "forms/Veloriumu2.h"

#include <cstdint>
#include <string>

#include "framework/FloatingPoint.h"
#include "framework/Params.h"
#include "framework/StrToInt.h"

TVeloriumF2* VeloriumF2 = nullptr;

namespace {

// Window handles are 32-bit values, sign-extended to the width of a pointer.
HWND WindowFromNumber(std::int32_t number) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(number));
}

}  // namespace

TVeloriumF2::TVeloriumF2(TComponent* owner) : TForm(owner) {
  Publish("Timer1", Timer1);
  Publish("FormCreate", &TVeloriumF2::FormCreate);
  Publish("FormShow", &TVeloriumF2::FormShow);
  Publish("FormResize", &TVeloriumF2::FormResize);
  Publish("Timer1Timer", &TVeloriumF2::Timer1Timer);
  Publish("FormDestroy", &TVeloriumF2::FormDestroy);
  // The preview lives in another program's window: no task-bar button of its own.
  Application->TaskBarButton = false;
  InitForm("TVELORIUMF2");
  MaskFloatingPointExceptions();
  // FormCreate makes the window inside the host as its last step. Without that window
  // the failure has been shown already and there is nothing to preview in.
  if (!HandleAllocated()) Application->Terminate();
}

TVeloriumF2::~TVeloriumF2() = default;

void TVeloriumF2::FormCreate(TObject*) {
  const std::int32_t number = StrToInt(ParamStr(2));
  Planets = std::make_unique<TPlanets>(VeloriumF2);
  Planets->LoadOptions();
  HWND host = WindowFromNumber(number);
  // Checked before the form takes it as its parent: 0 would make the preview an
  // ordinary top-level window, and any other non-window has no rectangle to copy.
  if (IsWindow(host) == FALSE) {
    throw Exception("Window handle " + std::to_string(number) + " is not a valid window");
  }
  SetParentWindow(host);
  WindowProc = [this](TMessage& message) { PreviewWndProc(message); };
  RECT hostRect{};
  GetWindowRect(host, &hostRect);
  // The window is made here, in the host, with the hook already in place.
  SetClientWidth(hostRect.right - hostRect.left);
  SetClientHeight(hostRect.bottom - hostRect.top);
}

void TVeloriumF2::FormShow(TObject*) {
  ShowWindow(Application->Handle(), SW_HIDE);
}

void TVeloriumF2::FormResize(TObject*) {
  if (Planets) Planets->Resize();
}

void TVeloriumF2::Timer1Timer(TObject*) {
  // No tick before the window is in its host (an error box inside FormCreate runs a
  // modal loop) nor after the host has taken the window with it.
  if (!Planets || !HandleAllocated()) return;
  // Until the message loop shows the form, it cannot tell whether it will be seen. Another
  // program hides or minimises the host without a word to the preview.
  if (Visible && !Sight.FrameCanBeSeen(Handle(), Timer1)) return;
  Planets->Tick();
}

void TVeloriumF2::FormDestroy(TObject*) {
  Planets.reset();
}

void TVeloriumF2::PreviewWndProc(TMessage& message) {
  // Any system command, whatever its parameters, ends the preview; nothing else sees it.
  if (message.msg == WM_SYSCOMMAND) {
    Close();
    return;
  }
  WndProc(message);
}
