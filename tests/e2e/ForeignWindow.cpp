// A plain top-level window of a class registered once per test program.
#include "tests/e2e/ForeignWindow.h"

#include <stdexcept>

#include "tests/e2e/SaverProcess.h"
#include "win32/WindowClass.h"

namespace e2e {
namespace {

constexpr const char* kClassName = "VeloriumE2eForeignWindow";

}  // namespace

ForeignWindow::ForeignWindow(const RECT& area) {
  WNDCLASSEXA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterWindowClass(windowClass);
  window_ = CreateWindowExA(0, kClassName, "Another program", WS_POPUP | WS_VISIBLE, area.left,
                            area.top, area.right - area.left, area.bottom - area.top, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window_) throw std::runtime_error("could not create the foreign window");
  kit::idle(Milliseconds{0});
}

ForeignWindow::~ForeignWindow() {
  DestroyWindow(window_);
  kit::idle(Milliseconds{0});
}

bool ForeignWindow::activate() {
  SetForegroundWindow(window_);
  return waitUntil([&] { return GetForegroundWindow() == window_; }, Milliseconds{3000});
}

}  // namespace e2e
