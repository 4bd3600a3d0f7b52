// The program's sense of time: milliseconds since start from a monotonic wall
// clock, and waiting on it. The frame step and the frame pacing use time only
// through Clock, so tests script it.
#pragma once

#include <chrono>
#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since the clock started, as a 32-bit count that wraps after
  // about 24.8 days (callers subtract readings with millisecondsBetween).
  virtual int32_t milliseconds() = 0;
  // Gives up the processor for about that many milliseconds (none for 0 or less).
  virtual void sleep(int32_t ms) = 0;
};

// The milliseconds from reading `earlier` to reading `later`, taken modulo
// 2^32 so that a wrap of the count in between does not matter; a clock that
// went back gives a negative count.
inline int32_t millisecondsBetween(int32_t earlier, int32_t later) {
  return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

// Steady wall time since construction; never CPU time.
class MonotonicClock final : public Clock {
 public:
  MonotonicClock();
  int32_t milliseconds() override;
  // Never less than asked; the system may wake the thread a little later.
  void sleep(int32_t ms) override;

 private:
  std::chrono::steady_clock::time_point start_;
};

// A clock that reads whatever the test or tool last set.
class ScriptedClock final : public Clock {
 public:
  explicit ScriptedClock(int32_t startMs = 0) : now_(startMs) {}
  int32_t milliseconds() override { return now_; }
  // Sleeping takes exactly the time asked, at once.
  void sleep(int32_t ms) override {
    if (ms > 0) advance(ms);
  }
  void set(int32_t ms) { now_ = ms; }
  // Wraps like the real 32-bit count.
  void advance(int32_t ms) {
    now_ = static_cast<int32_t>(static_cast<uint32_t>(now_) + static_cast<uint32_t>(ms));
  }

 private:
  int32_t now_;
};
