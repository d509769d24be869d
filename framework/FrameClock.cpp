// The frame cadence's arithmetic and the loop that keeps it.
#include "framework/FrameClock.h"

#include <climits>

std::int64_t NextFrameDeadline(std::int64_t due, std::int64_t now, std::int64_t periodNs) {
  if (periodNs <= 0) return now;
  if (now < due + periodNs) return due + periodNs;
  // Whole periods since the frame was due, then the one after now.
  const std::int64_t periodsLate = (now - due) / periodNs;
  return due + (periodsLate + 1) * periodNs;
}

int MillisecondsUntil(std::int64_t deadline, std::int64_t now) {
  if (deadline <= now) return 0;
  const std::int64_t ms = (deadline - now + 999'999) / 1'000'000;
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

void RunFrameLoop(FrameLoopHost& host, std::int64_t periodNs) {
  std::int64_t due = host.NowNs();
  while (!host.Stopped()) {
    if (host.NowNs() >= due) {
      host.DrawFrame();
      due = NextFrameDeadline(due, host.NowNs(), periodNs);
    }
    if (!host.HandleEvents()) return;
    host.WaitUntil(due);
  }
}

void FrameCadence::Start(std::int64_t now, std::int64_t periodNs) {
  periodNs_ = periodNs;
  due_ = now + periodNs;
  running_ = true;
}

bool FrameCadence::FrameDue(std::int64_t now) {
  if (!running_ || now < due_) return false;
  due_ = NextFrameDeadline(due_, now, periodNs_);
  return true;
}
