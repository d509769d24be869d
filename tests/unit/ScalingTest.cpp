// Ratio scaling of a form designed at 120 pixels per inch and shown on another screen.
#include "framework/Scaling.h"

#include <gtest/gtest.h>

TEST(ScaleByRatio, RoundsHalfAwayFromZeroLikeTheSystem) {
  EXPECT_EQ(ScaleByRatio(361, 13, 16), 293);   // 293.31
  EXPECT_EQ(ScaleByRatio(201, 13, 16), 163);   // 163.31
  EXPECT_EQ(ScaleByRatio(8, 13, 16), 7);       // 6.5
  EXPECT_EQ(ScaleByRatio(-14, 96, 120), -11);  // -11.2
  EXPECT_EQ(ScaleByRatio(-17, 13, 16), -14);   // -13.81
  EXPECT_EQ(ScaleByRatio(-10, 1, 4), -3);      // -2.5
}

TEST(ScaleByRatio, KeepsTheValueWhenTheRatioIsOneOrUndefined) {
  EXPECT_EQ(ScaleByRatio(361, 16, 16), 361);
  EXPECT_EQ(ScaleByRatio(361, 13, 0), 361);
}

TEST(ScaleByRatio, MagnifiesForAFinerScreen) {
  EXPECT_EQ(ScaleByRatio(-14, 144, 120), -17);  // -16.8
  EXPECT_EQ(ScaleByRatio(361, 19, 16), 429);    // 428.69
}

TEST(ScaleSpan, ScalesBothEdgesSoNeighboursStillTouch) {
  // The about box's OK button, 143..218, at 13/16: edges 116.19 and 177.13.
  const ScaledSpan button = ScaleSpan(143, 75, 13, 16);
  EXPECT_EQ(button.start, 116);
  EXPECT_EQ(button.size, 61);
  // Two spans that share an edge at 88 still share it after scaling.
  const ScaledSpan left = ScaleSpan(8, 80, 13, 16);
  const ScaledSpan right = ScaleSpan(88, 75, 13, 16);
  EXPECT_EQ(left.start + left.size, right.start);
}
