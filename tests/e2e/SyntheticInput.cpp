// SendInput for keys and buttons; posted messages where an exact count of events matters.
#include "tests/e2e/SyntheticInput.h"

#include <vector>

namespace e2e {
namespace {

INPUT keyEvent(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT mouseEvent(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.mouseData = data;
  input.mi.dwFlags = flags;
  return input;
}

void send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void pressKey(WORD virtualKey) {
  send({keyEvent(virtualKey, false), keyEvent(virtualKey, true)});
}

void pressKeyWithAlt(WORD virtualKey) {
  send({keyEvent(VK_MENU, false), keyEvent(virtualKey, false), keyEvent(virtualKey, true),
        keyEvent(VK_MENU, true)});
}

void clickMouse(MouseButton button) {
  switch (button) {
    case MouseButton::Primary:
      send({mouseEvent(MOUSEEVENTF_LEFTDOWN), mouseEvent(MOUSEEVENTF_LEFTUP)});
      break;
    case MouseButton::Secondary:
      send({mouseEvent(MOUSEEVENTF_RIGHTDOWN), mouseEvent(MOUSEEVENTF_RIGHTUP)});
      break;
    case MouseButton::Middle:
      send({mouseEvent(MOUSEEVENTF_MIDDLEDOWN), mouseEvent(MOUSEEVENTF_MIDDLEUP)});
      break;
  }
}

void turnMouseWheel() {
  send({mouseEvent(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(-WHEEL_DELTA))});
}

void movePointerBy(int dx, int dy) {
  send({mouseEvent(MOUSEEVENTF_MOVE, dx, dy)});
}

void postMouseMove(HWND window, POINT client) {
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
}

}  // namespace e2e
