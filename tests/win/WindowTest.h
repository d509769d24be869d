// Test fixture for the in-process window tests: each test gets an application of its own,
// as the program has one, and leaves no context current and no quit request pending.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/win/SceneWindow.h"
#include "win32/DisplayPower.h"
#include "win32/Forms.h"

class WindowTest : public testing::Test {
protected:
  ~WindowTest() override {
    wglMakeCurrent(nullptr, nullptr);
    application.reset();
    TakeQuitRequest();
  }

  // A plain scene window owned by the application; hidden until shown.
  TSceneF* NewSceneWindow(int clientWidth, int clientHeight, TColor color = 0x000000) {
    return new TSceneF(application.get(), clientWidth, clientHeight, color);
  }

  std::unique_ptr<TApplication> application = std::make_unique<TApplication>();
};

// What the system sends the application's window when a display's state changes: 0 off, 1 on,
// 2 dimmed.
inline void SendDisplayState(const GUID& display, DWORD state) {
  POWERBROADCAST_SETTING setting{display, sizeof state, {}};
  std::memcpy(setting.Data, &state, sizeof state);
  SendMessageA(Application->Handle(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
               reinterpret_cast<LPARAM>(&setting));
}
