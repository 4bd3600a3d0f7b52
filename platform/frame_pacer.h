// Frame pacing: holds the drawn frames to a steady rate by sleeping between
// them, for drivers whose buffer swap does not wait for the display.
//
// The pacer plans when each frame may start, one period after the planned
// start of the one before, so the rate stays right although sleeps come in
// whole milliseconds and wake-ups come late on a busy machine. A frame that
// ends at or after the next planned start has the next one begin at once: a
// slow frame is never delayed further. A frame late by less than a period
// keeps the beat (the wait after the next frame is shorter); one later than
// that starts the plan again from its end, so the frames after a stall do not
// hurry to make up the lost time. Where the swap already waits for a 60 Hz
// display, frames arrive about when planned and the pacer sleeps at most a
// millisecond now and then; on a faster display it holds the toy to 60.
#pragma once

#include <cstdint>

class Clock;

class FramePacer {
 public:
  static constexpr int32_t kDefaultRate = 60;  // frames per second

  explicit FramePacer(int32_t framesPerSecond = kDefaultRate);

  // Given the clock's reading once a frame is done, how many milliseconds to
  // wait before the next one starts (0: start it now).
  int32_t millisecondsToWait(int32_t nowMs);

  // Reads the clock and sleeps on it for millisecondsToWait.
  void waitForNextFrame(Clock& clock);

 private:
  int64_t periodUs_;  // microseconds per frame
  bool started_ = false;
  int32_t lastReadingMs_ = 0;
  // The pacer's own timeline in microseconds from its first reading, free of
  // the clock's 32-bit wrap.
  int64_t nowUs_ = 0;
  int64_t plannedStartUs_ = 0;  // of the frame that has just ended
};
