// The listening window and the hook that reports to it.
#include "tests/e2e/ShownWindows.h"

#include "tests/e2e/ShowHook.h"
#include "win32/WindowClass.h"

namespace e2e {

ShownWindows::ShownWindows() {
  WNDCLASSEXA windowClass{};
  windowClass.lpfnWndProc = LinkedWindowProc<ShownWindows>;
  windowClass.lpszClassName = kShowListenerClass;
  RegisterWindowClass(windowClass);
  // A hidden top-level window, so that FindWindow in other processes finds it.
  listener_ = CreateWindowExA(0, kShowListenerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  if (listener_ == nullptr) {
    failure_ = "could not make the listening window";
    return;
  }
  LinkWindow(listener_, this);
  const std::string path = programFolder() + "\\show_hook.dll";
  library_ = LoadLibraryA(path.c_str());
  auto* proc = library_ != nullptr ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                         GetProcAddress(library_, "ShowHookProc")))
                                   : nullptr;
  if (proc == nullptr) {
    failure_ = "could not load " + path;
    return;
  }
  hook_ = SetWindowsHookExA(WH_CALLWNDPROC, proc, library_, 0);
  if (hook_ == nullptr)
    failure_ = "could not set the hook, error " + std::to_string(GetLastError());
}

ShownWindows::~ShownWindows() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  if (library_ != nullptr) FreeLibrary(library_);
  if (listener_ != nullptr) DestroyWindow(listener_);
}

bool ShownWindows::HandleWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
  if (message != kWindowShownMessage) return false;
  shown_.push_back(
      Shown{static_cast<DWORD>(lParam), describeWindow(reinterpret_cast<HWND>(wParam))});
  result = 0;
  return true;
}

std::vector<WindowInfo> ShownWindows::of(DWORD processId) const {
  std::vector<WindowInfo> windows;
  for (const Shown& shown : shown_) {
    if (shown.processId == processId) windows.push_back(shown.window);
  }
  return windows;
}

}  // namespace e2e
