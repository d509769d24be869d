// Pixel rules for reading the scene, tuned on real screen copies of the saver under Wine.
#include "tests/e2e/ScenePicture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numeric>

namespace e2e {
namespace {

using Pixel = std::uint32_t;

// The planets' colours as the screen holds them, 0x00RRGGBB, from the sun out.
constexpr std::array<Pixel, kPlanetCount> kOrbitColours{0x808080, 0xFF00FF, 0x00FFFF, 0xFF0000, 0x0000FF,
                                                        0x008080, 0xC0C0C0, 0x008000, 0x808000};
constexpr Pixel kCometPathColour = 0x303030;
// The scene leaves most of the screen black; the desktop, or a window not yet painted, does not.
constexpr double kMostLitShare = 0.2;

int red(Pixel pixel) { return static_cast<int>((pixel >> 16) & 0xFF); }
int green(Pixel pixel) { return static_cast<int>((pixel >> 8) & 0xFF); }
int blue(Pixel pixel) { return static_cast<int>(pixel & 0xFF); }

// The sun is shaded yellow: red equal to green, bright, no blue.
bool isSunYellow(Pixel pixel) {
  return red(pixel) >= 200 && green(pixel) >= 200 && std::abs(red(pixel) - green(pixel)) <= 8 &&
         blue(pixel) <= 40;
}

// The comet's colours run from (64, 0, 191) to white: white less s times (191, 255, 64), s in
// 0..1. Green gives s; red and blue must then match within rounding. The near-white end is
// left out, where the rule would not tell the comet from other light pixels.
bool isCometColour(Pixel pixel) {
  const double s = (255.0 - green(pixel)) / 255.0;
  if (s < 0.1) return false;
  return std::abs(red(pixel) - (255.0 - 191.0 * s)) <= 3.0 && std::abs(blue(pixel) - (255.0 - 64.0 * s)) <= 3.0;
}

// A line pixel has black on both sides in at least one direction; a sphere's pixels do not.
bool isThin(const ScreenPixels& screen, int x, int y) {
  const bool acrossIsBlack = screen.at(x - 1, y) == 0 && screen.at(x + 1, y) == 0;
  const bool alongIsBlack = screen.at(x, y - 1) == 0 && screen.at(x, y + 1) == 0;
  return acrossIsBlack || alongIsBlack;
}

void countLinePixel(const ScreenPixels& screen, int x, int y, SceneFrame& frame) {
  const Pixel pixel = screen.at(x, y);
  const auto orbit = std::find(kOrbitColours.begin(), kOrbitColours.end(), pixel);
  const bool isPath = pixel == kCometPathColour;
  if ((orbit == kOrbitColours.end() && !isPath) || !isThin(screen, x, y)) return;
  if (isPath) {
    ++frame.cometPathPixels;
  } else {
    ++frame.orbitLinePixels[static_cast<size_t>(orbit - kOrbitColours.begin())];
  }
}

}  // namespace

int SceneFrame::allOrbitLinePixels() const {
  return std::accumulate(orbitLinePixels.begin(), orbitLinePixels.end(), 0);
}

int SceneFrame::fewestOrbitLinePixels() const {
  return *std::min_element(orbitLinePixels.begin(), orbitLinePixels.end());
}

SceneFrame readScene(const ScreenPixels& screen) {
  SceneFrame frame;
  long long litPixels = 0;
  double sunX = 0.0;
  double sunY = 0.0;
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      const Pixel pixel = screen.at(x, y);
      if (pixel == 0) continue;
      ++litPixels;
      if (isSunYellow(pixel)) {
        ++frame.sunPixels;
        sunX += x;
        sunY += y;
      }
      if (isCometColour(pixel)) ++frame.cometPixels;
      if (x > 0 && y > 0 && x + 1 < screen.width && y + 1 < screen.height) countLinePixel(screen, x, y, frame);
    }
  }
  const long long allPixels = static_cast<long long>(screen.width) * screen.height;
  frame.drawn = litPixels > 0 && litPixels <= allPixels * kMostLitShare;
  if (frame.sunPixels > 0) {
    // Pixel centres, so that a disc in the middle of an even-sized screen lies at offset 0.
    const double dx = sunX / frame.sunPixels + 0.5 - screen.width / 2.0;
    const double dy = sunY / frame.sunPixels + 0.5 - screen.height / 2.0;
    frame.sunOffsetPixels = std::hypot(dx, dy);
  }
  return frame;
}

bool waitForNoScene(Milliseconds timeout) {
  return waitUntil([] { return !readScene(captureScreen(screenRect())).drawn; }, timeout, Milliseconds{20});
}

std::vector<SceneFrame> watchScene(Milliseconds duration) {
  std::vector<SceneFrame> frames;
  std::chrono::steady_clock::time_point firstFrame;
  waitUntil(
      [&] {
        const SceneFrame frame = readScene(captureScreen(screenRect()));
        if (frame.drawn) {
          if (frames.empty()) firstFrame = std::chrono::steady_clock::now();
          frames.push_back(frame);
        }
        return frames.size() >= kFewestSceneCopies &&
               std::chrono::steady_clock::now() - firstFrame >= duration;
      },
      kStartTimeout);
  return frames;
}

long framesWithoutTheSun(const std::vector<SceneFrame>& frames) {
  return std::count_if(frames.begin(), frames.end(),
                       [](const SceneFrame& frame) { return frame.sunPixels < kFewestSunPixels; });
}

}  // namespace e2e
