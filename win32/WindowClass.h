// Our window classes: each registered once per process, and each window linked to the object
// that handles its messages through GWLP_USERDATA, never through a global.
#pragma once

#include <windows.h>

#include "win32/WindowException.h"

// Registers the class that `windowClass` describes (name, procedure, style, icon, cursor,
// brush; its size and instance are filled in here) unless the process has one of that name.
// Throws Exception("Cannot register window class <name>") when the system refuses it.
void RegisterWindowClass(WNDCLASSEXA windowClass);

// Links a window to its object; null unlinks it, and no later message reaches the object.
inline void LinkWindow(HWND window, void* object) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

// The object a window is linked to, or null.
template <class Object>
Object* LinkedObject(HWND window) {
  return reinterpret_cast<Object*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The window procedure of a class whose windows are linked to objects of class Object: each
// message goes to the object's HandleWindowMessage(hwnd, msg, wParam, lParam, result), which
// returns true when it handled the message and set its result; other messages, and those of a
// window not linked, get the system's default handling. What the object throws is reported
// (HandleWindowException) and the message counts as handled, with result 0.
template <class Object>
LRESULT CALLBACK LinkedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (auto* object = LinkedObject<Object>(hwnd)) {
    try {
      LRESULT result = 0;
      if (object->HandleWindowMessage(hwnd, msg, wParam, lParam, result)) return result;
    } catch (...) {
      HandleWindowException();
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
