// The timer's pace on a system whose timer messages come only on its clock tick: a clock of
// the test's own, and WM_TIMER sent at every tick of it, as Windows sends them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "win32/ExtCtrls.h"

TEST(TimerOnA15625MicrosecondTick, GivesOneEventEvery40MsOnAverageOverAMinute) {
  constexpr std::int64_t kTickNs = 15'625'000;
  std::int64_t nowNs = 0;
  TTimer timer(nullptr);
  timer.SetClock([&] { return nowNs; });
  timer.SetInterval(40);
  std::vector<std::int64_t> events;
  timer.SetOnTimer([&](TObject*) { events.push_back(nowNs); });
  for (; nowNs <= 60'000'000'000; nowNs += kTickNs) SendMessageA(timer.Handle(), WM_TIMER, 1, 0);

  ASSERT_GT(events.size(), 1u);
  const double meanMs = (events.back() - events.front()) / (events.size() - 1.0) / 1e6;
  EXPECT_NEAR(meanMs, 40.0, 0.2) << events.size() << " events";
}
