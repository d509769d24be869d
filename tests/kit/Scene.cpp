// Pixel rules for reading the scene, tuned on real pictures of both programs (Wine's and
// Mesa's OpenGL draw the same pixels).
#include "tests/kit/Scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "scene/CometMesh.h"

namespace kit {
namespace {

// A colour of the scene (0xBBGGRR) as a picture holds it (0xRRGGBB).
std::uint32_t onScreen(TColor colour) {
  const auto bgr = static_cast<std::uint32_t>(colour);
  return (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
}

// The orbit lines' colours, from the sun out, and the comet's path's.
const std::array<std::uint32_t, kPlanetCount> kOrbitColours = [] {
  std::array<std::uint32_t, kPlanetCount> colours{};
  for (int k = 0; k < kPlanetCount; ++k) colours[k] = onScreen(kPlanetLooks[k].color);
  return colours;
}();
const std::uint32_t kCometPathColour = onScreen(CometPathColor());

// The sun, 2 units across at about 41 units away, covers some 900 pixels of a picture 768
// pixels high; its area goes with the square of the picture's height.
constexpr double kFewestSunPixelsPerHeightSquared = 200.0 / (768.0 * 768.0);
constexpr double kFarthestSunOffsetPixels = 5.0;
// The scene leaves most of the picture black; the desktop, or a window not yet painted, does not.
constexpr double kMostLitShare = 0.2;
// Orbit lines span hundreds of pixels each; stray pixels of a line colour are rare.
constexpr int kFewestPixelsPerOrbitLine = 20;
constexpr int kMostStrayLinePixels = 20;
constexpr int kFewestCometPathPixels = 100;
// The comet is a few pixels across while it is in view; nothing else has its colours.
constexpr int kFewestCometPixels = 10;

// The sun is shaded yellow: red equal to green, bright, no blue.
bool isSunYellow(std::uint32_t pixel) {
  return red(pixel) >= 200 && green(pixel) >= 200 && std::abs(red(pixel) - green(pixel)) <= 8 &&
         blue(pixel) <= 40;
}

// The comet's colours run from (64, 0, 191) to white: white less s times (191, 255, 64), s in
// 0..1. Green gives s; red and blue must then match within rounding. The near-white end is
// left out, where the rule would not tell the comet from other light pixels.
bool isCometColour(std::uint32_t pixel) {
  const double s = (255.0 - green(pixel)) / 255.0;
  if (s < 0.1) return false;
  return std::abs(red(pixel) - (255.0 - 191.0 * s)) <= 3.0 &&
         std::abs(blue(pixel) - (255.0 - 64.0 * s)) <= 3.0;
}

// A line pixel has black on both sides in at least one direction; a sphere's pixels do not.
bool isThin(const Picture& picture, int x, int y) {
  const bool acrossIsBlack = picture.at(x - 1, y) == 0 && picture.at(x + 1, y) == 0;
  const bool alongIsBlack = picture.at(x, y - 1) == 0 && picture.at(x, y + 1) == 0;
  return acrossIsBlack || alongIsBlack;
}

void countLinePixel(const Picture& picture, int x, int y, SceneSeen& seen) {
  const std::uint32_t pixel = picture.at(x, y);
  const auto orbit = std::find(kOrbitColours.begin(), kOrbitColours.end(), pixel);
  const bool isPath = pixel == kCometPathColour;
  if ((orbit == kOrbitColours.end() && !isPath) || !isThin(picture, x, y)) return;
  if (isPath) {
    ++seen.cometPathPixels;
  } else {
    ++seen.orbitLinePixels[static_cast<std::size_t>(orbit - kOrbitColours.begin())];
  }
}

int allOrbitLinePixels(const SceneSeen& seen) {
  return std::accumulate(seen.orbitLinePixels.begin(), seen.orbitLinePixels.end(), 0);
}

}  // namespace

bool SceneSeen::drawn() const {
  return litPixels > 0 && litPixels <= static_cast<long long>(width) * height * kMostLitShare;
}

bool SceneSeen::sunAtCentre() const {
  return sunPixels >= kFewestSunPixelsPerHeightSquared * height * height &&
         sunOffsetPixels <= kFarthestSunOffsetPixels;
}

int SceneSeen::planetColours() const {
  return static_cast<int>(
      std::count_if(orbitLinePixels.begin(), orbitLinePixels.end(),
                    [](int pixels) { return pixels >= kFewestPixelsPerOrbitLine; }));
}

bool SceneSeen::noOrbitLines() const {
  return allOrbitLinePixels(*this) <= kMostStrayLinePixels;
}
bool SceneSeen::cometPath() const {
  return cometPathPixels >= kFewestCometPathPixels;
}
bool SceneSeen::noCometPath() const {
  return cometPathPixels <= kMostStrayLinePixels;
}
bool SceneSeen::comet() const {
  return cometPixels >= kFewestCometPixels;
}

std::ostream& operator<<(std::ostream& out, const SceneSeen& seen) {
  out << seen.width << "x" << seen.height << " picture, " << seen.litPixels << " lit pixels, "
      << seen.sunPixels << " sun pixels " << seen.sunOffsetPixels
      << " from the centre, orbit line pixels";
  for (int pixels : seen.orbitLinePixels) out << " " << pixels;
  return out << ", " << seen.cometPathPixels << " comet path pixels, " << seen.cometPixels
             << " comet pixels";
}

SceneSeen readScene(const Picture& picture) {
  SceneSeen seen;
  seen.width = picture.width;
  seen.height = picture.height;
  double sunX = 0.0;
  double sunY = 0.0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t pixel = picture.at(x, y);
      if (pixel == 0) continue;
      ++seen.litPixels;
      if (isSunYellow(pixel)) {
        ++seen.sunPixels;
        sunX += x;
        sunY += y;
      }
      if (isCometColour(pixel)) ++seen.cometPixels;
      if (x > 0 && y > 0 && x + 1 < picture.width && y + 1 < picture.height) {
        countLinePixel(picture, x, y, seen);
      }
    }
  }
  if (seen.sunPixels > 0) {
    // Pixel centres, so that a disc in the middle of an even-sized picture lies at offset 0.
    const double dx = sunX / seen.sunPixels + 0.5 - picture.width / 2.0;
    const double dy = sunY / seen.sunPixels + 0.5 - picture.height / 2.0;
    seen.sunOffsetPixels = std::hypot(dx, dy);
  }
  return seen;
}

std::vector<SceneSeen> watchScene(const std::function<Picture()>& grab, Milliseconds duration) {
  std::vector<SceneSeen> pictures;
  std::chrono::steady_clock::time_point firstFrame;
  waitUntil([&] {
    const SceneSeen seen = readScene(grab());
    if (seen.drawn()) {
      if (pictures.empty()) firstFrame = std::chrono::steady_clock::now();
      pictures.push_back(seen);
    }
    return pictures.size() >= kFewestScenePictures &&
           std::chrono::steady_clock::now() - firstFrame >= duration;
  });
  return pictures;
}

SceneSeen waitForTheSun(const std::function<Picture()>& grab) {
  SceneSeen seen;
  waitUntil([&] {
    seen = readScene(grab());
    return seen.drawn() && seen.sunAtCentre();
  });
  return seen;
}

void expectScene(const std::vector<SceneSeen>& pictures, SceneOptions options) {
  ASSERT_GE(pictures.size(), kFewestScenePictures) << "too few frames drawn";
  bool cometSeen = false;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const SceneSeen& seen = pictures[i];
    SCOPED_TRACE(testing::Message() << "picture " << i << ": " << seen);
    EXPECT_TRUE(seen.sunAtCentre()) << "the sun is missing or away from the centre";
    if (options.orbits) {
      EXPECT_TRUE(seen.orbitLines()) << "an orbit line is missing";
    } else {
      EXPECT_TRUE(seen.noOrbitLines()) << "orbit lines are drawn";
    }
    if (options.comet && options.orbits) {
      EXPECT_TRUE(seen.cometPath()) << "the comet's path is missing";
    } else {
      EXPECT_TRUE(seen.noCometPath()) << "the comet's path is drawn";
    }
    cometSeen = cometSeen || seen.comet();
    if (!options.comet) {
      EXPECT_EQ(seen.cometPixels, 0) << "the comet showed";
    }
  }
  EXPECT_EQ(cometSeen, options.comet) << (options.comet ? "the comet never showed" : "");
}

}  // namespace kit
