// Direction angles and distances, with the values the comet relies on.
#include "util/Algebra.h"

#include <gtest/gtest.h>

TEST(DirectionAngle, DiagonalsGiveTheOddQuarterTurns) {
  EXPECT_EQ(DirectionAngle(1, 1), 0.7853981633974483);
  EXPECT_EQ(DirectionAngle(-1, 1), 2.356194490192345);
  EXPECT_EQ(DirectionAngle(-1, -1), 3.9269908169872414);
  EXPECT_EQ(DirectionAngle(1, -1), 5.497787143782138);
}

TEST(DirectionAngle, ThreeFourFiveTriangles) {
  EXPECT_EQ(DirectionAngle(3, 4), 0.9272952180016122);
  EXPECT_EQ(DirectionAngle(-3, 4), 2.214297435588181);
}

TEST(DirectionAngle, AxesGiveTheExactConstants) {
  EXPECT_EQ(DirectionAngle(0, 5), 1.5707963267948966);
  EXPECT_EQ(DirectionAngle(0, -5), 4.71238898038469);
  EXPECT_EQ(DirectionAngle(5, 0), 0.0);
  EXPECT_EQ(DirectionAngle(-5, 0), 3.141592653589793);
}

TEST(DirectionAngle, ZeroVectorPointsDown) {
  EXPECT_EQ(DirectionAngle(0, 0), 4.71238898038469);
  EXPECT_EQ(DirectionAngle(2.5, -7, 2.5, -7), 4.71238898038469);
}

TEST(DirectionAngle, NegativeZeroCountsAsZero) {
  EXPECT_EQ(DirectionAngle(-0.0, 5), 1.5707963267948966);
  EXPECT_EQ(DirectionAngle(-0.0, -0.0), 4.71238898038469);
  EXPECT_EQ(DirectionAngle(5, -0.0), 0.0);
  EXPECT_EQ(DirectionAngle(-5, -0.0), 3.141592653589793);
}

TEST(DirectionAngle, TwoPointFormMeasuresFromTheFirstPoint) {
  EXPECT_EQ(DirectionAngle(1, 2, 2, 3), 0.7853981633974483);
  EXPECT_EQ(DirectionAngle(10, 10, 7, 14), 2.214297435588181);
  EXPECT_EQ(DirectionAngle(4, 1, 4, 9), 1.5707963267948966);
  EXPECT_EQ(DirectionAngle(4, 1, 0, 1), 3.141592653589793);
}

TEST(Distance3D, PythagoreanCases) {
  EXPECT_EQ(Distance3D(3, 4, 0), 5.0);
  EXPECT_EQ(Distance3D(0, 0, 0), 0.0);
  EXPECT_EQ(Distance3D(1, 1, 1, 4, 5, 1), 5.0);
  EXPECT_EQ(Distance3D(2, 3, 6), 7.0);
}

TEST(Distance3D, OrderOfThePointsDoesNotMatter) {
  EXPECT_EQ(Distance3D(4, 5, 1, 1, 1, 1), 5.0);
  EXPECT_EQ(Distance3D(-1.5, 2, 9, 3, -4, 0.25), Distance3D(3, -4, 0.25, -1.5, 2, 9));
}
