// The --fps counter: frames per second over the last second, drawn in the window's
// bottom-left corner in segment digits, with OpenGL state left exactly as it was found.
#pragma once

#include <cstdint>
#include <string>

class FpsOverlay {
public:
  // Counts one frame shown at `nowNs` (monotonic) and draws the counter for a window of
  // width x height pixels into the current frame.
  void Draw(std::int64_t nowNs, int width, int height);

  // The text shown, "FPS 25.0"; "FPS -" until a whole second has been counted.
  const std::string& Text() const { return text_; }

private:
  std::int64_t periodStartNs_ = -1;
  int framesInPeriod_ = 0;
  std::string text_ = "FPS -";
};
