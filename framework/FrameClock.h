// A frame cadence and its loop: frames on absolute deadlines a fixed period apart, so that
// an animation keeps its pace however long each frame took. Portable; times are nanoseconds
// of a monotonic clock.
#pragma once

#include <cstdint>

// The deadline after a frame that was due at `due` and has just been drawn at `now`: the
// first of due + period, due + 2 * period, ... that lies after now. A late frame thus moves
// on to the next deadline instead of drawing the missed ones in a burst. With a period of 0
// the next frame is due at once.
std::int64_t NextFrameDeadline(std::int64_t due, std::int64_t now, std::int64_t periodNs);

// Milliseconds to wait from `now` until `deadline` for poll(): 0 when it has passed,
// rounded up so that the wait never ends before the deadline.
int MillisecondsUntil(std::int64_t deadline, std::int64_t now);

// What the frame loop drives: the program's clock, its frame, its events and its waiting.
class FrameLoopHost {
public:
  virtual ~FrameLoopHost() = default;
  virtual std::int64_t NowNs() = 0;
  // Whether the loop is to end before anything else (a stop signal came).
  virtual bool Stopped() = 0;
  virtual void DrawFrame() = 0;
  // Handles what has happened since the last call; false when the loop is to end.
  virtual bool HandleEvents() = 0;
  // Returns at the deadline, or earlier when something happens.
  virtual void WaitUntil(std::int64_t deadlineNs) = 0;
  // Whether a frame drawn now could be seen.
  virtual bool Seen() = 0;
  // Returns when something happens, however long that takes.
  virtual void WaitForEvents() = 0;
};

// Draws a frame at once and then at every deadline periodNs apart, until the host is stopped
// or its events end the loop. The events are handled before each frame, and it waits only
// when no frame is due. While the frames cannot be seen it draws none and waits for events
// without a deadline; once they can, the deadlines start again from then, so that the frames
// go on from where they stopped, without a burst for the unseen time. The first frame is the
// scene's set-up, which shows nothing: the second shares its deadline and follows it as soon
// as the events are handled.
void RunFrameLoop(FrameLoopHost& host, std::int64_t periodNs);

// Frames on deadlines for a program that a timer of its own wakes up, early, late or on a
// coarse tick: each wake-up asks whether a frame is due. One frame per deadline reached, the
// next deadline counted from the last one, never from when the wake-up came; after a stall
// one frame, then the deadlines go on. Stopped, no frame is due until it starts again.
class FrameCadence {
public:
  // Starts, or starts again, at `now`: the first frame is due one period later.
  void Start(std::int64_t now, std::int64_t periodNs);
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
