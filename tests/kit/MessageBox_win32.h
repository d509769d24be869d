// The system message box as the tests read and answer it, in their own process or another:
// the identifiers of its text and icon controls, and its OK button.
#pragma once

#include <windows.h>

namespace kit {

inline constexpr int kMessageBoxTextId = 0xFFFF;
inline constexpr int kMessageBoxIconId = 0x0440;

// Presses the box's OK button, without waiting for what it does.
inline void pressOk(HWND box) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

}  // namespace kit
