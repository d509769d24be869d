// The frame deadlines of both programs: their arithmetic, the Linux hack's frame loop, and the
// Windows timer on a model of Windows' own timer and message queue.
#include "framework/FrameClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr std::int64_t kMs = 1'000'000;

// Frames on time and a little late: the timer's tests below.
TEST(FrameClock, AFrameLateByManyPeriodsMovesOnToTheNextDeadlineWithoutABurst) {
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
  void FrameDue() override { due_ = true; }
  Frames DrawDueFrames() override {
    if (!due_) return Frames::Drawn;
    due_ = false;
    drawnAt.push_back(now_);
    now_ += 10 * kMs;
    return drawnAt.size() > 1 ? Frames::Drawn : Frames::SetUp;
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
  bool due_ = false;
};

TEST(FrameClock, TheFirstPictureFollowsTheSetUpAtOnceAndTheDeadlinesCountFromIt) {
  FakeHost host;
  RunFrameLoop(host, 40 * kMs);
  EXPECT_EQ(host.drawnAt, (std::vector<std::int64_t>{0, 10 * kMs, 51 * kMs, 91 * kMs}));
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
            (std::vector<std::int64_t>{0, 10 * kMs, 51 * kMs, 91 * kMs, 1000 * kMs, 1041 * kMs}));
  EXPECT_EQ(host.waitsWithoutDeadline, 1);
}

// Surfaces shown by a compositor of the test's own that refreshes every refreshNs: a frame
// drawn at t is shown, and its callback comes, at the first refresh after t that is not in the
// surface's hidden time. The first frame needs no callback; drawing takes no time; a wait ends
// at its deadline or at the first callback.
class CompositorHost : public FrameLoopHost {
public:
  struct Surface {
    std::int64_t hiddenFrom = INT64_MAX;
    std::int64_t hiddenUntil = 0;
    std::vector<std::int64_t> drawnAt;
    bool due = false;
    std::int64_t callbackAt = -1;  // -1: it came; INT64_MAX: none asked for
  };
  std::vector<Surface> surfaces;
  std::int64_t refreshNs = 20 * kMs;
  std::int64_t endNs = 1100 * kMs;
  int waitsWithoutDeadline = 0;

  std::int64_t NowNs() override { return now_; }
  bool Stopped() override { return now_ >= endNs; }
  void FrameDue() override {
    for (Surface& surface : surfaces) surface.due = true;
  }
  Frames DrawDueFrames() override {
    bool anyCanDraw = false;
    for (Surface& surface : surfaces) {
      if (surface.callbackAt >= 0) continue;
      anyCanDraw = true;
      if (!surface.due) continue;
      surface.drawnAt.push_back(now_);
      surface.due = false;
      surface.callbackAt = ShownAt(surface, (now_ / refreshNs + 1) * refreshNs);
    }
    return anyCanDraw ? Frames::Drawn : Frames::Waiting;
  }
  bool HandleEvents() override {
    for (Surface& surface : surfaces) {
      if (surface.callbackAt <= now_) surface.callbackAt = -1;
    }
    return true;
  }
  void WaitUntil(std::int64_t deadlineNs) override { now_ = std::min(deadlineNs, NextCallback()); }
  bool Seen() override { return true; }
  void WaitForEvents() override {
    ++waitsWithoutDeadline;
    now_ = std::min(endNs, NextCallback());
  }

private:
  std::int64_t ShownAt(const Surface& surface, std::int64_t refresh) const {
    if (refresh < surface.hiddenFrom || refresh >= surface.hiddenUntil) return refresh;
    return (surface.hiddenUntil + refreshNs - 1) / refreshNs * refreshNs;
  }
  std::int64_t NextCallback() const {
    std::int64_t next = INT64_MAX;
    for (const Surface& surface : surfaces) {
      if (surface.callbackAt > now_) next = std::min(next, surface.callbackAt);
    }
    return next;
  }
  std::int64_t now_ = 0;
};

std::vector<std::int64_t> Ms(const std::vector<std::int64_t>& timesNs) {
  std::vector<std::int64_t> ms;
  for (std::int64_t ns : timesNs) ms.push_back(ns / kMs);
  return ms;
}

TEST(FramesOnCallbacks, A60HzCompositorGets25FramesASecondOnTheDeadlines) {
  CompositorHost host;
  host.refreshNs = 16'666'667;
  host.endNs = 1000 * kMs;
  host.surfaces.resize(1);
  RunFrameLoop(host, 40 * kMs);
  const std::vector<std::int64_t>& drawn = host.surfaces[0].drawnAt;
  ASSERT_EQ(drawn.size(), 25u);
  for (std::size_t k = 0; k < drawn.size(); ++k) EXPECT_EQ(drawn[k], k * 40 * kMs);
}

// `count` surfaces, the last hidden from 100 ms to 1010 ms, run to 1100 ms on 40 ms deadlines.
CompositorHost RunWithLastHidden(std::size_t count) {
  CompositorHost host;
  host.surfaces.resize(count);
  host.surfaces.back().hiddenFrom = 100 * kMs;
  host.surfaces.back().hiddenUntil = 1010 * kMs;
  RunFrameLoop(host, 40 * kMs);
  return host;
}

// The frame due at 120 ms waits, without a deadline, for the callback at the first refresh
// after the hidden time (1020 ms), and the deadlines go on at 1040 and 1080 ms.
TEST(FramesOnCallbacks, AHiddenSurfaceWaitsForItsCallbackAndTheDeadlinesStayWhereTheyWere) {
  const CompositorHost host = RunWithLastHidden(1);
  EXPECT_EQ(Ms(host.surfaces[0].drawnAt), (std::vector<std::int64_t>{0, 40, 80, 1020, 1040, 1080}));
  EXPECT_EQ(host.waitsWithoutDeadline, 1);
}

// Two outputs, one hidden a while: the other draws on every deadline meanwhile.
TEST(FramesOnCallbacks, ASurfaceWhoseCallbacksStopHoldsBackNoOther) {
  const CompositorHost host = RunWithLastHidden(2);
  EXPECT_EQ(host.surfaces[0].drawnAt.size(), 28u);
  EXPECT_EQ(host.surfaces[0].drawnAt.back(), 1080 * kMs);
  EXPECT_EQ(Ms(host.surfaces[1].drawnAt), (std::vector<std::int64_t>{0, 40, 80, 1020, 1040, 1080}));
}

}  // namespace

namespace {

constexpr std::int64_t kWindowsTickNs = 15'625'000;

// A 40 ms timer on Windows' window timer and message queue as documented, on a clock of the
// test's own that only the loop and the handler (which takes slowNs in the first half minute)
// move. SetTimer raises an elapse below USER_TIMER_MINIMUM (10 ms) to it; the timer fires at
// the first clock tick at or after the moment it was armed plus its elapse, then again elapse
// after the tick it fired on, until SetTimer replaces it or KillTimer ends it. A timer that has
// fired gives one WM_TIMER once no other message waits, however often it fired meanwhile.
class WindowsTimer : public SystemTimer {
public:
  explicit WindowsTimer(std::int64_t tickNs, std::int64_t slowNs = 0) : tickNs_(tickNs) {
    timer.SetInterval(40);
    timer.SetOnTimer([this, slowNs] {
      events.push_back(nowNs);
      if (nowNs < 30'000 * kMs) nowNs += slowNs;
    });
  }
  std::int64_t nowNs = 0;
  std::vector<std::int64_t> events;
  FrameTimer timer{*this, [this] { return nowNs; }};

  void Arm(unsigned elapseMs) override {
    elapseNs_ = std::max(elapseMs, 10u) * kMs;
    firesAt_ = TickAtOrAfter(nowNs + elapseNs_);
  }
  void Kill() override { firesAt_ = INT64_MAX; }
  // The message loop, with nothing but the timer to dispatch, until endNs.
  void RunUntil(std::int64_t endNs) {
    for (; firesAt_ <= std::max(nowNs, endNs); timer.Fired()) {
      nowNs = std::max(nowNs, firesAt_);
      while (firesAt_ <= nowNs) firesAt_ = TickAtOrAfter(firesAt_ + elapseNs_);
    }
    nowNs = std::max(nowNs, endNs);
  }

private:
  std::int64_t TickAtOrAfter(std::int64_t ns) const {
    return (ns + tickNs_ - 1) / tickNs_ * tickNs_;
  }
  std::int64_t tickNs_;
  std::int64_t elapseNs_ = 0;
  std::int64_t firesAt_ = INT64_MAX;
};

double MeanPeriodMs(const std::vector<std::int64_t>& events) {
  return static_cast<double>(events.back() - events.front()) / (events.size() - 1) / kMs;
}

// Each event at most one tick after its deadline, the first deadline at firstNs.
void ExpectOnDeadlines(const std::vector<std::int64_t>& events, std::int64_t firstNs,
                       std::int64_t periodNs, std::int64_t tickNs) {
  ASSERT_FALSE(events.empty());
  for (std::size_t i = 0; i < events.size(); ++i) {
    const std::int64_t lateNs = events[i] - (firstNs + static_cast<std::int64_t>(i) * periodNs);
    ASSERT_TRUE(lateNs >= 0 && lateNs <= tickNs) << "event " << i << ": " << lateNs << " ns late";
  }
}

TEST(TimerOnWindows, Gives40MsEventsEachWithinOneTickOfItsDeadlineOnA15625UsOrA1MsTick) {
  for (const std::int64_t tickNs : {kWindowsTickNs, kMs}) {
    WindowsTimer windows(tickNs);
    windows.RunUntil(60'000 * kMs);
    EXPECT_NEAR(MeanPeriodMs(windows.events), 40.0, 0.2) << tickNs << " ns tick";
    ExpectOnDeadlines(windows.events, 40 * kMs, 40 * kMs, tickNs);
  }
}

// While the handler is slow, an event comes for each deadline reached, late; after it, no burst
// makes up for the missed ones: the latest deadline at each event is a later one than at the
// event before it. A 30 ms handler misses none, a 60 ms one every third.
TEST(TimerOnWindows, AHandlerTaking30Or60MsDelaysTheNextEventWithoutABurst) {
  for (const auto& [slowNs, count] : {std::pair{30 * kMs, 1500}, std::pair{60 * kMs, 1250}}) {
    WindowsTimer windows(kWindowsTickNs, slowNs);
    windows.RunUntil(60'000 * kMs);
    const std::vector<std::int64_t>& events = windows.events;
    EXPECT_NEAR(events.size(), count, 1) << slowNs << " ns handler";
    for (std::size_t i = 1; i < events.size(); ++i) {
      ASSERT_GT(events[i] / (40 * kMs), events[i - 1] / (40 * kMs)) << "event " << i;
    }
  }
}

TEST(TimerOnWindows, ANewIntervalOrEnablingAgainStartsTheDeadlinesAfreshAndDisabledNothingFires) {
  WindowsTimer windows(kWindowsTickNs);
  std::vector<std::int64_t>& events = windows.events;
  windows.RunUntil(10'010 * kMs);
  events.clear();
  windows.timer.SetInterval(100);
  windows.RunUntil(20'000 * kMs);
  ExpectOnDeadlines(events, 10'110 * kMs, 100 * kMs, kWindowsTickNs);
  events.clear();
  windows.timer.SetEnabled(false);
  windows.RunUntil(30'000 * kMs);
  EXPECT_TRUE(events.empty());
  windows.timer.SetEnabled(true);
  windows.RunUntil(40'000 * kMs);
  ExpectOnDeadlines(events, 30'100 * kMs, 100 * kMs, kWindowsTickNs);
}

}  // namespace
