#include "platform/frame_pacer.h"

#include <algorithm>

#include "platform/clock.h"

FramePacer::FramePacer(int32_t framesPerSecond)
    : periodUs_(1'000'000 / std::max<int32_t>(framesPerSecond, 1)) {}

int32_t FramePacer::millisecondsToWait(int32_t nowMs) {
  if (!started_) {
    // Nothing to keep apart from yet: the next frame starts now.
    started_ = true;
    lastReadingMs_ = nowMs;
    return 0;
  }
  // Readings wrap; a clock that went back counts as no time passed.
  const int32_t elapsed = millisecondsBetween(lastReadingMs_, nowMs);
  lastReadingMs_ = nowMs;
  nowUs_ += int64_t{std::max(elapsed, 0)} * 1000;

  const int64_t nextStartUs = plannedStartUs_ + periodUs_;
  if (nowUs_ >= nextStartUs) {
    // Late by less than a period (a wake-up the system held back, a frame a
    // little over its share): the beat is kept, and the next wait is shorter.
    // Later than that, the plan starts again from now.
    plannedStartUs_ = nowUs_ - nextStartUs < periodUs_ ? nextStartUs : nowUs_;
    return 0;
  }
  plannedStartUs_ = nextStartUs;
  // Rounded up: never sooner than planned.
  return static_cast<int32_t>((nextStartUs - nowUs_ + 999) / 1000);
}

void FramePacer::waitForNextFrame(Clock& clock) {
  clock.sleep(millisecondsToWait(clock.milliseconds()));
}
