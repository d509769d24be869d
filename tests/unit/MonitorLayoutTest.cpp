// The monitors the full-screen saver covers with black windows, for layouts a test display
// cannot give: side by side, left of and above the primary, three monitors, mirrors.
#include "framework/MonitorLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Rects = std::vector<MonitorRect>;

const MonitorRect kPrimary{0, 0, 1920, 1080};

TEST(UncoveredMonitors, OneMonitorNeedsNoBlackWindow) {
  EXPECT_EQ(UncoveredMonitors({kPrimary}, kPrimary), Rects{});
}

TEST(UncoveredMonitors, ASecondMonitorOnTheRightIsCoveredWhole) {
  const Rects monitors{kPrimary, {1920, 0, 3200, 1024}};
  EXPECT_EQ(UncoveredMonitors(monitors, kPrimary), (Rects{{1920, 0, 3200, 1024}}));
}

TEST(UncoveredMonitors, MonitorsLeftOfAndAboveThePrimaryKeepTheirNegativeCoordinates) {
  const Rects monitors{{-1280, 200, 0, 1224}, kPrimary, {0, -1440, 2560, 0}};
  EXPECT_EQ(UncoveredMonitors(monitors, kPrimary),
            (Rects{{-1280, 200, 0, 1224}, {0, -1440, 2560, 0}}));
}

TEST(UncoveredMonitors, ThreeMonitorsGiveTwoBlackWindowsWhereverThePrimaryIs) {
  const Rects monitors{{-1920, 0, 0, 1080}, kPrimary, {1920, 0, 3840, 1080}};
  EXPECT_EQ(UncoveredMonitors(monitors, kPrimary),
            (Rects{{-1920, 0, 0, 1080}, {1920, 0, 3840, 1080}}));
}

TEST(UncoveredMonitors, AMonitorInsideThePrimaryRectangleIsStillCovered) {
  // Two heads that both start at the origin, as a test display gives them.
  const Rects monitors{{0, 0, 1024, 768}, {0, 0, 800, 600}};
  EXPECT_EQ(UncoveredMonitors(monitors, {0, 0, 1024, 768}), (Rects{{0, 0, 800, 600}}));
}

TEST(UncoveredMonitors, MirroredMonitorsGetOneWindowAndMirrorsOfThePrimaryNone) {
  const Rects monitors{kPrimary, kPrimary, {1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}};
  EXPECT_EQ(UncoveredMonitors(monitors, kPrimary), (Rects{{1920, 0, 3840, 1080}}));
}

TEST(UncoveredMonitors, EmptyRectanglesAreLeftOut) {
  const Rects monitors{kPrimary, {1920, 0, 1920, 1080}, {0, 1080, 1920, 1000}};
  EXPECT_EQ(UncoveredMonitors(monitors, kPrimary), Rects{});
}

}  // namespace
