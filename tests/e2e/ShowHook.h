// What show_hook.dll and the driver's ShownWindows agree on.
#pragma once

#include <windows.h>

namespace e2e {

// The class of the driver's window that hears of windows being shown.
inline constexpr char kShowListenerClass[] = "VeloriumE2eShowListener";
// Posted to it: wParam the window, lParam the id of the process that showed it.
inline constexpr UINT kWindowShownMessage = WM_APP + 17;

}  // namespace e2e
