// The hack's frame deadlines.
#include "hack/FrameClock.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kMs = 1'000'000;

TEST(FrameClock, AFrameOnTimeIsFollowedOnePeriodAfterItsDeadline) {
  EXPECT_EQ(NextFrameDeadline(1000 * kMs, 1000 * kMs, 40 * kMs), 1040 * kMs);
  EXPECT_EQ(NextFrameDeadline(1000 * kMs, 1039 * kMs, 40 * kMs), 1040 * kMs);
}

TEST(FrameClock, ALateFrameMovesOnToTheNextDeadlineWithoutABurst) {
  EXPECT_EQ(NextFrameDeadline(1000 * kMs, 1040 * kMs, 40 * kMs), 1080 * kMs);
  EXPECT_EQ(NextFrameDeadline(1000 * kMs, 1095 * kMs, 40 * kMs), 1120 * kMs);
  EXPECT_EQ(NextFrameDeadline(0, 10'000 * kMs + 1, 40 * kMs), 10'040 * kMs);
}

TEST(FrameClock, TheWaitIsRoundedUpAndNeverNegative) {
  EXPECT_EQ(MillisecondsUntil(1040 * kMs, 1000 * kMs), 40);
  EXPECT_EQ(MillisecondsUntil(1040 * kMs, 1040 * kMs - 1), 1);
  EXPECT_EQ(MillisecondsUntil(1040 * kMs, 1040 * kMs), 0);
  EXPECT_EQ(MillisecondsUntil(1040 * kMs, 2000 * kMs), 0);
}

}  // namespace
