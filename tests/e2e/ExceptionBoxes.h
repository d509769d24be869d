// The saver's windows as another program sees them, among them its standard exception
// display: a system message box (window class #32770) captioned "Velorium I".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/SaverProcess.h"
#include "tests/kit/MessageBox_win32.h"

namespace e2e {

// The exception boxes the process shows now.
std::vector<HWND> exceptionBoxesOf(DWORD processId);
// The first exception box of the saver once there is one; null when it ends or kPatience
// passes without one. When `windowCameFirst` is given, it tells whether a full-screen window of
// the saver showed before the box did.
HWND waitForExceptionBox(const SaverProcess& saver, bool* windowCameFirst = nullptr);
// The message the box shows.
std::string exceptionBoxText(HWND box);
using kit::pressOk;

}  // namespace e2e
