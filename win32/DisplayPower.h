// Whether anybody can see the console: the system's notifications of the console display's
// state and of the session's, delivered to a window as WM_POWERBROADCAST.
#pragma once

#include <windows.h>

#include "win32/Controls.h"

// GUID_CONSOLE_DISPLAY_STATE and GUID_SESSION_DISPLAY_STATUS, whose notifications carry a
// DWORD: 0 off, 1 on, 2 dimmed.
inline constexpr GUID kConsoleDisplayState{
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
inline constexpr GUID kSessionDisplayStatus{
    0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};

class TDisplayPower {
public:
  TDisplayPower() = default;
  // Stops the notifications.
  ~TDisplayPower();
  TDisplayPower(const TDisplayPower&) = delete;
  TDisplayPower& operator=(const TDisplayPower&) = delete;

  // Has the system tell `window` of both states, each at once and then on every change; the
  // first call asks, later ones do nothing. Without the notifications the display counts as
  // on.
  void Watch(HWND window);
  // Takes a WM_POWERBROADCAST notification of either state (answering it); false for any
  // other message.
  bool TakeNotification(TMessage& message);
  // Neither display is off (a dimmed one still shows).
  bool DisplayOn() const { return consoleOn_ && sessionOn_; }

private:
  bool watching_ = false;
  HPOWERNOTIFY console_ = nullptr;
  HPOWERNOTIFY session_ = nullptr;
  bool consoleOn_ = true;
  bool sessionOn_ = true;
};
