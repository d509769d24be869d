// A plain top-level window registered once per test program.
#include "tests/e2e/ForeignWindow.h"

#include <stdexcept>

#include "tests/e2e/SaverProcess.h"

namespace e2e {
namespace {

constexpr const char* kClassName = "VeloriumE2eForeignWindow";

void registerClassOnce() {
  WNDCLASSA windowClass{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &windowClass)) return;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
}

}  // namespace

ForeignWindow::ForeignWindow(const RECT& area) {
  registerClassOnce();
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
