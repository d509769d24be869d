// The hack's frame deadlines and the loop that keeps them.
#include "framework/FrameClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
  // --delay 0: as fast as it can.
  EXPECT_EQ(NextFrameDeadline(1000 * kMs, 1003 * kMs, 0), 1003 * kMs);
}

TEST(FrameClock, TheWaitIsRoundedUpAndNeverNegative) {
  EXPECT_EQ(MillisecondsUntil(1040 * kMs, 1000 * kMs), 40);
  EXPECT_EQ(MillisecondsUntil(1040 * kMs, 1040 * kMs - 1), 1);
  EXPECT_EQ(MillisecondsUntil(1040 * kMs, 1040 * kMs), 0);
  EXPECT_EQ(MillisecondsUntil(1040 * kMs, 2000 * kMs), 0);
}

// A clock that only moves when the loop draws (10 ms a frame) or waits (waking 1 ms late), and
// a window unseen from hiddenAt until an event shows it at shownAt.
class FakeHost : public FrameLoopHost {
public:
  std::vector<std::int64_t> drawnAt;
  std::size_t frames = 4;
  std::int64_t hiddenAt = INT64_MAX;
  std::int64_t shownAt = 0;
  int waitsWithoutDeadline = 0;
  std::int64_t NowNs() override { return now_; }
  bool Stopped() override { return false; }
  void DrawFrame() override {
    drawnAt.push_back(now_);
    now_ += 10 * kMs;
  }
  bool HandleEvents() override { return drawnAt.size() < frames; }
  void WaitUntil(std::int64_t deadlineNs) override { now_ = std::max(now_, deadlineNs) + kMs; }
  bool Seen() override { return now_ < hiddenAt || now_ >= shownAt; }
  void WaitForEvents() override {
    ++waitsWithoutDeadline;
    now_ = std::max(now_, shownAt);
  }

private:
  std::int64_t now_ = 0;
};

TEST(FrameClock, TheFirstPictureFollowsTheSetUpAtOnceAndTheRestKeepTheSetUpsDeadlines) {
  FakeHost host;
  RunFrameLoop(host, 40 * kMs);
  EXPECT_EQ(host.drawnAt, (std::vector<std::int64_t>{0, 10 * kMs, 41 * kMs, 81 * kMs}));
}

// Hidden from 100 ms to 1000 ms: one wait through it, then the fifth frame at once and the
// next one a period after it, with no frames for the time it was hidden.
TEST(FrameClock, NothingIsDrawnWhileUnseenAndTheFramesGoOnFromWhenItIsSeenAgain) {
  FakeHost host;
  host.frames = 6;
  host.hiddenAt = 100 * kMs;
  host.shownAt = 1000 * kMs;
  RunFrameLoop(host, 40 * kMs);
  EXPECT_EQ(host.drawnAt,
            (std::vector<std::int64_t>{0, 10 * kMs, 41 * kMs, 81 * kMs, 1000 * kMs, 1041 * kMs}));
  EXPECT_EQ(host.waitsWithoutDeadline, 1);
}

}  // namespace

namespace {

// The mean ms between the frames of a 40 ms cadence woken every wakeUpNs for a minute.
double MeanFramePeriodMs(std::int64_t wakeUpNs) {
  FrameCadence cadence;
  cadence.Start(0, 40 * kMs);
  std::vector<std::int64_t> frames;
  for (std::int64_t now = 0; now <= 60'000 * kMs; now += wakeUpNs) {
    if (cadence.FrameDue(now)) frames.push_back(now);
  }
  return static_cast<double>(frames.back() - frames.front()) / (frames.size() - 1) / kMs;
}

TEST(FrameCadence, Gives40MsFramesWokenEveryMillisecondOrOnlyOnA15625MicrosecondTick) {
  EXPECT_NEAR(MeanFramePeriodMs(kMs), 40.0, 0.2);
  EXPECT_NEAR(MeanFramePeriodMs(15'625'000), 40.0, 0.2);
}

TEST(FrameCadence, StoppedGivesNoFrameAndStartedAgainTheFirstComesAPeriodLater) {
  FrameCadence cadence;
  cadence.Start(0, 40 * kMs);
  cadence.Stop();
  EXPECT_FALSE(cadence.FrameDue(5000 * kMs));
  cadence.Start(9000 * kMs, 40 * kMs);
  EXPECT_FALSE(cadence.FrameDue(9039 * kMs));
  EXPECT_TRUE(cadence.FrameDue(9040 * kMs));
  EXPECT_FALSE(cadence.FrameDue(9041 * kMs));
}

}  // namespace
