// Test fixture: Velorium.scr started with /s, its full-screen window up and in the foreground.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/e2e/SaverProcess.h"

namespace e2e {

// Windows, and Wine too, send a mouse-move event to a window that appears under the pointer,
// and the saver counts it like any other; under Wine's virtual desktop the X server may echo
// it once more, early or late. No test counts on the exact number.
inline constexpr int kMostMovesOnAppearance = 2;

class FullScreenSaver : public testing::Test {
protected:
  void SetUp() override;
  // For subclasses that start the saver with other arguments.
  virtual std::string arguments() const { return "/s"; }

  SaverProcess& saver() { return *saver_; }
  const WindowInfo& window() const { return *window_; }

private:
  std::optional<SaverProcess> saver_;
  std::optional<WindowInfo> window_;
};

// The pointer as the system shows it now: true when a pointer image is visible.
bool pointerIsShown();

}  // namespace e2e
