// Exception boxes found by class and caption among the process's top-level windows.
#include "tests/e2e/ExceptionBoxes.h"

#include <array>

namespace e2e {

std::vector<HWND> exceptionBoxesOf(DWORD processId) {
  std::vector<HWND> boxes;
  for (const WindowInfo& window : topLevelWindowsOf(processId)) {
    if (window.className == "#32770" && window.text == "Velorium I") boxes.push_back(window.handle);
  }
  return boxes;
}

HWND waitForExceptionBox(const SaverProcess& saver, bool* windowCameFirst) {
  HWND box = nullptr;
  if (windowCameFirst != nullptr) *windowCameFirst = false;
  waitUntil(
      [&] {
        if (windowCameFirst != nullptr) {
          for (const WindowInfo& window : saver.visibleWindows()) {
            *windowCameFirst = *windowCameFirst || coversScreen(window);
          }
        }
        const std::vector<HWND> boxes = exceptionBoxesOf(saver.id());
        if (!boxes.empty()) box = boxes.front();
        return box != nullptr || !saver.running();
      },
      kPatience);
  return box;
}

std::string exceptionBoxText(HWND box) {
  std::array<char, 512> text{};
  const UINT length = GetDlgItemTextA(box, kit::kMessageBoxTextId, text.data(), text.size());
  return std::string(text.data(), length);
}

}  // namespace e2e
