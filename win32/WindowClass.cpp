// Window-class registration.
#include "win32/WindowClass.h"

#include <string>

#include "framework/SysUtils.h"

void RegisterWindowClass(WNDCLASSEXA windowClass) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, windowClass.lpszClassName, &existing) != 0) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.hInstance = instance;
  if (RegisterClassExA(&windowClass) == 0) {
    throw Exception(std::string("Cannot register window class ") + windowClass.lpszClassName);
  }
}
