// Colour averaging and mixing, including steps outside 0..steps and the 32-bit wrap.
#include "util/Visual.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(AverageColor, MeansEachChannelAndDropsTheTopByte) {
  EXPECT_EQ(AverageColor(0x800080, 0xFF0000), 0xBF0040);
  EXPECT_EQ(AverageColor(0xFFFFFF, 0x000000), 0x7F7F7F);
  EXPECT_EQ(AverageColor(0x01010101, 0x01010101), 0x010101);
}

TEST(AverageColor, NegativeColourValuesAreReadAsBytes) {
  EXPECT_EQ(AverageColor(-1, -1), 0xFFFFFF);
  EXPECT_EQ(AverageColor(INT32_MIN, 0x020406), 0x010203);
}

TEST(MixColor, StepsBetweenTruncate) {
  EXPECT_EQ(MixColor(0xC0C0C0, 0x000000, 75, 100), 0x303030);
  EXPECT_EQ(MixColor(0x000000, 0xFFFFFF, 1, 2), 0x7F7F7F);
}

TEST(MixColor, FewerThanOneStepReturnsTheFirstColourWhole) {
  EXPECT_EQ(MixColor(0x123456, 0xABCDEF, 5, 0), 0x123456);
  EXPECT_EQ(MixColor(0x7F123456, 0xABCDEF, 5, -3), 0x7F123456);
  EXPECT_EQ(MixColor(-1, 0, 1, INT32_MIN), -1);
}

TEST(MixColor, OtherwiseTheTopByteIsCleared) {
  EXPECT_EQ(MixColor(0x7F123456, 0x123456, 0, 1), 0x123456);
}

TEST(MixColor, StepsBeyondTheEndsKeepTheLowEightBits) {
  EXPECT_EQ(MixColor(0x000000, 0xFFFFFF, 2, 1), 0xFEFEFE);
  EXPECT_EQ(MixColor(0xFFFFFF, 0x000000, 2, 1), 0x010101);
  EXPECT_EQ(MixColor(0x808080, 0xFFFFFF, -1, 2), 0x404040);
  EXPECT_EQ(MixColor(0x010203, 0xFFFFFF, -1000000000, 3), 0x0157AD);
}

// The numerator is what 32-bit two's-complement arithmetic gives: it wraps.
TEST(MixColor, ExtremeStepsWrapTheNumeratorInThirtyTwoBits) {
  EXPECT_EQ(MixColor(0x000001, 0x000000, INT32_MIN, 1), 0x000001);
  EXPECT_EQ(MixColor(0x000000, 0xFFFFFF, INT32_MAX, 1), 0x010101);
  EXPECT_EQ(MixColor(0xFFFFFF, 0x000000, INT32_MIN, INT32_MAX), 0x000000);
  EXPECT_EQ(MixColor(0x123456, 0xABCDEF, INT32_MAX, INT32_MAX), 0x000000);
  EXPECT_EQ(MixColor(0x123456, 0xABCDEF, INT32_MIN, INT32_MAX), 0x000000);
}
