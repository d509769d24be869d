// The listening window and the hook that reports to it.
#include "tests/e2e/ShownWindows.h"

#include "tests/e2e/ShowHook.h"

namespace e2e {

ShownWindows::ShownWindows() {
  WNDCLASSA windowClass{};
  if (!GetClassInfoA(GetModuleHandleA(nullptr), kShowListenerClass, &windowClass)) {
    windowClass.lpfnWndProc = listenerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kShowListenerClass;
    RegisterClassA(&windowClass);
  }
  // A hidden top-level window, so that FindWindow in other processes finds it.
  listener_ = CreateWindowExA(0, kShowListenerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  if (listener_ == nullptr) {
    failure_ = "could not make the listening window";
    return;
  }
  SetWindowLongPtrA(listener_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
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

LRESULT CALLBACK ShownWindows::listenerProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  auto* self = reinterpret_cast<ShownWindows*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self != nullptr && message == kWindowShownMessage) {
    self->shown_.push_back(
        Shown{static_cast<DWORD>(lParam), describeWindow(reinterpret_cast<HWND>(wParam))});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<WindowInfo> ShownWindows::of(DWORD processId) const {
  std::vector<WindowInfo> windows;
  for (const Shown& shown : shown_) {
    if (shown.processId == processId) windows.push_back(shown.window);
  }
  return windows;
}

}  // namespace e2e
