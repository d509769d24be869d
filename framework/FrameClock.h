// Frame deadlines, the one place both programs keep them: frames on absolute deadlines a fixed
// period apart, so that an animation keeps its pace however long each frame took, and the two
// ways to keep them, a loop that waits (the Linux hack) and a timer that the system wakes (the
// Windows timer). Portable; times are nanoseconds of a monotonic clock (Clock.h).
#pragma once

#include <cstdint>
#include <functional>

// The deadline after a frame that was due at `due`, drawn at `now`: the first of
// due + period, due + 2 * period, ... that lies after now. A late frame thus moves
// on to the next deadline instead of drawing the missed ones in a burst. With a period of 0
// the next frame is due at once.
std::int64_t NextFrameDeadline(std::int64_t due, std::int64_t now, std::int64_t periodNs);

// Milliseconds to wait from `now` until `deadline` for poll(): 0 when it has passed,
// rounded up so that the wait never ends before the deadline.
int MillisecondsUntil(std::int64_t deadline, std::int64_t now);

// What the frame loop drives: the program's clock, its frames, its events and its waiting.
// A host may draw on several surfaces (one per screen), each shown when its own compositor
// says so (a frame callback): they are one host on one set of deadlines. Each deadline makes a
// frame due on every surface; a surface draws it as soon as it can show it, and owes at most one
// however many deadlines pass meanwhile.
class FrameLoopHost {
public:
  // How drawing the due frames went.
  enum class Frames {
    Drawn,    // each surface that could show its due frame drew it (there may have been none)
    SetUp,    // nothing was shown: the scene's first frame only set it up
    Waiting,  // no surface can draw before an event: each owes a frame it cannot show yet
  };
  virtual ~FrameLoopHost() = default;
  virtual std::int64_t NowNs() = 0;
  // Whether the loop is to end before anything else (a stop signal came).
  virtual bool Stopped() = 0;
  // A deadline has come: a frame is due on every surface.
  virtual void FrameDue() = 0;
  // Draws the due frame on each surface that can show one now; the others keep theirs due.
  virtual Frames DrawDueFrames() = 0;
  // Handles what has happened since the last call; false when the loop is to end.
  virtual bool HandleEvents() = 0;
  // Returns at the deadline, or earlier when something happens.
  virtual void WaitUntil(std::int64_t deadlineNs) = 0;
  // Whether a frame drawn now could be seen on any surface (false: a window unmapped or covered).
  virtual bool Seen() = 0;
  // Returns when something happens, however long that takes.
  virtual void WaitForEvents() = 0;
};

// Frames on deadlines for a program that wakes early, late or on a coarse tick (the system's
// timer, a wait that an event ends): each wake-up asks whether a frame is due. One frame per
// deadline reached, the next deadline counted from the last one, never from when the wake-up
// came; after a stall one frame, then the deadlines go on. Stopped, no frame is due until it
// starts again.
class FrameCadence {
public:
  // Starts, or starts again: the first frame is due at `firstDue`, the others periodNs apart.
  void Start(std::int64_t firstDue, std::int64_t periodNs);
  void Stop() { running_ = false; }
  bool Running() const { return running_; }
  // At a wake-up at `now`: true when a frame is due, and the cadence moves on to the next
  // deadline.
  bool FrameDue(std::int64_t now);
  // When the next frame is due.
  std::int64_t Deadline() const { return due_; }

private:
  std::int64_t due_ = 0;
  std::int64_t periodNs_ = 0;
  bool running_ = false;
};

// Makes a frame due at once and then one at every deadline periodNs apart, until the host is
// stopped or its events end the loop. The events are handled before each frame, and it waits
// only when no frame can be drawn. A frame that shows nothing (the set-up) is followed at once
// by one that does, and the deadlines count from that one. A due frame that a surface cannot
// show yet waits for it without moving the deadlines, and when every surface waits so, the loop
// waits for events without a deadline; the next deadline is then the first after the frame.
// While nothing can be seen at all it draws none and waits for events without a deadline;
// once it can, a frame is drawn at once and the deadlines count from it, so that the frames go
// on from where they stopped, without a burst for the unseen time.
void RunFrameLoop(FrameLoopHost& host, std::int64_t periodNs);

// The system's timer as a program arms it (on Windows SetTimer and KillTimer for one window
// and id): armed, it fires elapseMs later and then every elapseMs, until it is armed again or
// killed. Arm throws when the system has no timer to give.
class SystemTimer {
public:
  virtual ~SystemTimer() = default;
  virtual void Arm(unsigned elapseMs) = 0;
  virtual void Kill() = 0;
};

// An event every interval, on deadlines counted from when it was enabled, for a program that
// the system's timer wakes however coarse the system's clock tick: each time the timer fires,
// it is armed again for the time left until the next deadline, and the event is raised when a
// deadline has come. A late firing raises one event and moves on to the next deadline, without
// making up the missed ones. The timer runs while enabled with an interval and a handler.
class FrameTimer {
public:
  // `clockNs` reads the monotonic clock the deadlines are kept on.
  FrameTimer(SystemTimer& system, std::function<std::int64_t()> clockNs);

  bool Enabled() const { return enabled_; }
  // Enabling a running timer keeps its deadlines; enabling a stopped one starts them again,
  // the first an interval on.
  void SetEnabled(bool enabled);
  // Each starts the deadlines again from now, whatever the value, the first an interval on.
  void SetInterval(unsigned intervalMs);
  void SetOnTimer(std::function<void()> handler);
  // The system's timer fired. It is armed again before the handler runs, so that a modal
  // loop inside the handler goes on getting the timer's events.
  void Fired();

private:
  void Restart();
  void ArmForNextDeadline();

  SystemTimer& system_;
  std::function<std::int64_t()> clockNs_;
  bool enabled_ = true;
  unsigned intervalMs_ = 1000;
  std::function<void()> onTimer_;
  FrameCadence cadence_;
};
