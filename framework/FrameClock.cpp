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
  bool settingUp = true;
  while (!host.Stopped()) {
    // Events first: a window resized since the last frame is fitted before the next.
    if (!host.HandleEvents()) return;
    if (!host.Seen()) {
      host.WaitForEvents();
      // The deadlines start again from now, without a burst for the unseen time.
      due = host.NowNs();
      continue;
    }
    if (host.NowNs() >= due) {
      host.DrawFrame();
      // The set-up shows nothing: the first picture keeps its deadline, not one a period on.
      if (!settingUp) due = NextFrameDeadline(due, host.NowNs(), periodNs);
      settingUp = false;
    } else {
      host.WaitUntil(due);
    }
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
