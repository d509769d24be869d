// Planet table and positions, and orbit lines. The camera's course, the projection and the
// planets' sizes are checked in the scene's frames (tests/scene).
#include "scene/SceneMath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Quarter turns are exact in theory; in doubles pi is rounded, so sines that
// should vanish leave a few 1e-14.
constexpr double kRoundOff = 1e-12;

void expectNear(const Vec3& actual, double x, double y, double z, double tolerance) {
  EXPECT_NEAR(actual.x, x, tolerance);
  EXPECT_NEAR(actual.y, y, tolerance);
  EXPECT_NEAR(actual.z, z, tolerance);
}

}  // namespace

// Each planet's distance, speed and tilt, seen as where it stands after ten ticks.
TEST(PlanetLooks, AfterTenTicksEachPlanetStandsInItsPlace) {
  const double places[9][3] = {
      {2.1612, 2.3561, 0},  {3.7297, 3.2900, 0},  {6.1187, 3.6076, 0},
      {7.9608, 4.2363, 0},  {11.4086, 4.3628, 0}, {15.6580, 4.6341, 0},
      {20.0621, 4.3441, 0}, {24.5017, 3.4767, 0}, {28.8551, 2.0266, 5.8492},
  };
  for (int k = 0; k < 9; ++k) {
    SCOPED_TRACE("planet " + std::to_string(k + 1));
    const PlanetLook& look = kPlanetLooks[k];
    expectNear(PlanetPosition(look.distance, 10 * look.anglePerTick, look.inclination),
               places[k][0], places[k][1], places[k][2], 5e-5);
  }
}

TEST(PlanetPosition, AngleZeroIsOnThePositiveXAxis) {
  const Vec3 p = PlanetPosition(13, 0, 0);
  EXPECT_EQ(p.x, 13.0);
  EXPECT_EQ(p.y, 0.0);
  EXPECT_EQ(p.z, 0.0);
}

TEST(PlanetPosition, PathIsFlattenedAlongY) {
  expectNear(PlanetPosition(10, 1.5707963267948966, 0), 0, 7, 0, kRoundOff);
  expectNear(PlanetPosition(10, 3.141592653589793, 0), -10, 0, 0, kRoundOff);
  expectNear(PlanetPosition(4, 0.1, 0), 3.9800166611121033, 0.2795335666111188, 0, kRoundOff);
}

TEST(PlanetPosition, OutermostPathRisesOutOfThePlane) {
  const Vec3 p = PlanetPosition(29, 0, 0.2);
  EXPECT_EQ(p.x, 29.0);
  EXPECT_NEAR(p.z, 5.88, 0.005);
  EXPECT_NEAR(PlanetPosition(29, 3.141592653589793, 0.2).z, -5.88, 0.005);
}

TEST(OrbitVertex, FirstAndLastVerticesMeet) {
  const Vec3 first = OrbitVertex(29, 20.3, 0.2, 0);
  const Vec3 last = OrbitVertex(29, 20.3, 0.2, 360);
  EXPECT_EQ(first.x, 29.0);
  EXPECT_EQ(first.y, 0.0);
  expectNear(last, first.x, first.y, first.z, kRoundOff);
}

TEST(OrbitVertex, QuarterTurnsAreTheHalfAxes) {
  expectNear(OrbitVertex(10, 7, 0, 90), 0, 7, 0, kRoundOff);
  expectNear(OrbitVertex(10, 7, 0, 180), -10, 0, 0, kRoundOff);
  expectNear(OrbitVertex(10, 7, 0, 270), 0, -7, 0, kRoundOff);
}

TEST(OrbitVertex, FlatPathsStayInThePlane) {
  for (int k = 0; k <= 360; ++k) {
    EXPECT_EQ(OrbitVertex(17, 11.9, 0, k).z, 0.0) << "vertex " << k;
  }
}

TEST(OrbitVertex, TiltedPathRisesWithX) {
  expectNear(OrbitVertex(29, 20.3, 0.2, 45), 20.5061, 14.3543, 4.1568, 5e-5);
}
