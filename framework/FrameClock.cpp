// The frame deadlines' arithmetic, the loop that keeps them and the timer that the system wakes.
#include "framework/FrameClock.h"

#include <climits>
#include <utility>

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

void FrameCadence::Start(std::int64_t firstDue, std::int64_t periodNs) {
  periodNs_ = periodNs;
  due_ = firstDue;
  running_ = true;
}

bool FrameCadence::FrameDue(std::int64_t now) {
  if (!running_ || now < due_) return false;
  due_ = NextFrameDeadline(due_, now, periodNs_);
  return true;
}

void RunFrameLoop(FrameLoopHost& host, std::int64_t periodNs) {
  FrameCadence cadence;
  cadence.Start(host.NowNs(), periodNs);
  while (!host.Stopped()) {
    // Events first: a window resized since the last frame is fitted before the next.
    if (!host.HandleEvents()) return;
    if (!host.Seen()) {
      host.WaitForEvents();
      cadence.Start(host.NowNs(), periodNs);
      continue;
    }
    if (cadence.FrameDue(host.NowNs())) host.FrameDue();
    switch (host.DrawDueFrames()) {
      case FrameLoopHost::Frames::SetUp:
        // The first picture follows the set-up at once.
        cadence.Start(host.NowNs(), periodNs);
        break;
      case FrameLoopHost::Frames::Waiting:
        host.WaitForEvents();
        break;
      case FrameLoopHost::Frames::Drawn:
        host.WaitUntil(cadence.Deadline());
        break;
    }
  }
}

FrameTimer::FrameTimer(SystemTimer& system, std::function<std::int64_t()> clockNs)
    : system_(system), clockNs_(std::move(clockNs)) {}

void FrameTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void FrameTimer::SetInterval(unsigned intervalMs) {
  intervalMs_ = intervalMs;
  Restart();
}

void FrameTimer::SetOnTimer(std::function<void()> handler) {
  onTimer_ = std::move(handler);
  Restart();
}

void FrameTimer::Restart() {
  system_.Kill();
  cadence_.Stop();
  if (!enabled_ || intervalMs_ == 0 || !onTimer_) return;
  const std::int64_t periodNs = static_cast<std::int64_t>(intervalMs_) * 1'000'000;
  cadence_.Start(clockNs_() + periodNs, periodNs);
  ArmForNextDeadline();
}

void FrameTimer::ArmForNextDeadline() {
  // The system raises a short elapse to its minimum and fires on its own tick; the wait is
  // rounded up, so that the timer never fires before the deadline.
  const int waitMs = MillisecondsUntil(cadence_.Deadline(), clockNs_());
  system_.Arm(static_cast<unsigned>(waitMs > 0 ? waitMs : 1));
}

void FrameTimer::Fired() {
  // A firing already waiting when the timer stopped.
  if (!cadence_.Running()) return;
  const bool due = cadence_.FrameDue(clockNs_());
  ArmForNextDeadline();
  if (due) onTimer_();
}
