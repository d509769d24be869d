// preview_host.exe: stands in for Windows' screen-saver settings page. It shows a window with
// a border and a caption, starts "<saver> /p <handle of that window>" and waits for the saver.
// Usage: preview_host.exe decimal|dollar|hex <saver path>. Exits with the saver's exit code,
// or kHostFailed; WM_CLOSE destroys the window while the saver goes on running.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "tests/e2e/PreviewHost.h"

namespace {

constexpr int kHostFailed = 99;

std::string handleText(HWND window, const std::string& form) {
  const auto number = static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(window));
  char text[16] = {};
  if (form == "dollar") {
    std::snprintf(text, sizeof text, "$%X", static_cast<unsigned>(number));
  } else if (form == "hex") {
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(number));
  } else {
    std::snprintf(text, sizeof text, "%d", static_cast<int>(number));
  }
  return text;
}

HWND makeHostWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = e2e::kPreviewHostClass;
  RegisterClassA(&windowClass);
  const RECT& area = e2e::kPreviewHostRect;
  return CreateWindowExA(0, e2e::kPreviewHostClass, "Preview host",
                         WS_OVERLAPPEDWINDOW | WS_VISIBLE, area.left, area.top,
                         area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// Pumps the host window's messages until the saver ends.
DWORD waitForSaver(HANDLE saver) {
  while (MsgWaitForMultipleObjects(1, &saver, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  DWORD code = kHostFailed;
  GetExitCodeProcess(saver, &code);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return kHostFailed;
  HWND host = makeHostWindow();
  if (host == nullptr) return kHostFailed;
  std::string commandLine = "\"";
  commandLine.append(argv[2]).append("\" /p ").append(handleText(host, argv[1]));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION saver{};
  if (!CreateProcessA(argv[2], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &saver)) {
    return kHostFailed;
  }
  CloseHandle(saver.hThread);
  const DWORD code = waitForSaver(saver.hProcess);
  CloseHandle(saver.hProcess);
  return static_cast<int>(code);
}
