// The console's and the session's display state from the system's power notifications.
#include "win32/DisplayPower.h"

#include <cstring>

namespace {

constexpr DWORD kDisplayOff = 0;

}  // namespace

TDisplayPower::~TDisplayPower() {
  if (console_ != nullptr) UnregisterPowerSettingNotification(console_);
  if (session_ != nullptr) UnregisterPowerSettingNotification(session_);
}

void TDisplayPower::Watch(HWND window) {
  if (watching_) return;
  watching_ = true;
  console_ =
      RegisterPowerSettingNotification(window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
  session_ =
      RegisterPowerSettingNotification(window, &kSessionDisplayStatus, DEVICE_NOTIFY_WINDOW_HANDLE);
}

bool TDisplayPower::TakeNotification(TMessage& message) {
  if (message.msg != WM_POWERBROADCAST || message.wParam != PBT_POWERSETTINGCHANGE) return false;
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(message.lParam);
  if (setting == nullptr || setting->DataLength < sizeof(DWORD)) return false;
  DWORD state = 0;
  std::memcpy(&state, setting->Data, sizeof state);
  if (IsEqualGUID(setting->PowerSetting, kConsoleDisplayState)) {
    consoleOn_ = state != kDisplayOff;
  } else if (IsEqualGUID(setting->PowerSetting, kSessionDisplayStatus)) {
    sessionOn_ = state != kDisplayOff;
  } else {
    return false;
  }
  message.result = TRUE;
  return true;
}
