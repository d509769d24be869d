// The timer's pace on a system whose timer messages come only on its clock tick: a clock of
// the test's own, and WM_TIMER sent at every 15.625 ms of it, as Windows sends them.
#include <gtest/gtest.h>

#include <vector>

#include "win32/ExtCtrls.h"

TEST(TimerOnA15625MicrosecondTick, GivesOneEventEvery40MsOnAverageOverAMinute) {
  std::int64_t nowNs = 0;
  TTimer timer(nullptr);
  timer.SetClock([&] { return nowNs; });
  timer.SetInterval(40);
  std::vector<std::int64_t> events;
  timer.SetOnTimer([&](TObject*) { events.push_back(nowNs); });
  for (; nowNs <= 60'000'000'000; nowNs += 15'625'000) SendMessageA(timer.Handle(), WM_TIMER, 1, 0);
  ASSERT_GT(events.size(), 1u);
  const double meanMs = (events.back() - events.front()) / (events.size() - 1.0) / 1e6;
  EXPECT_NEAR(meanMs, 40.0, 0.2) << events.size() << " events";
}
