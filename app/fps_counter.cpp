#include "app/fps_counter.h"

#include <cstdio>

#include "platform/clock.h"

std::string FpsCounter::frameDrawn(int32_t nowMs) {
  if (!started_) {
    started_ = true;
    intervalStartMs_ = nowMs;
    return {};
  }
  ++frames_;
  const int32_t elapsedMs = millisecondsBetween(intervalStartMs_, nowMs);
  if (elapsedMs < kReportIntervalMs) return {};

  const double seconds = elapsedMs / 1000.0;
  char line[96];
  std::snprintf(line, sizeof line, "%d frames in %.1f seconds = %.3f FPS\n", frames_, seconds,
                frames_ / seconds);
  intervalStartMs_ = nowMs;
  frames_ = 0;
  return line;
}
