// The frame counter behind `quibbix --fps`: counts drawn frames and every five
// seconds gives a line in the form long-standing GL demos print,
// "300 frames in 5.0 seconds = 60.000 FPS".
#pragma once

#include <cstdint>
#include <string>

class FpsCounter {
 public:
  static constexpr int32_t kReportIntervalMs = 5000;

  // Called once a frame is drawn, with the clock's reading. Returns the
  // report line, newline included, when five seconds or more have passed
  // since the last report (or since the first frame), else an empty string.
  // The frames counted are those drawn after the interval's first frame.
  std::string frameDrawn(int32_t nowMs);

 private:
  bool started_ = false;
  int32_t intervalStartMs_ = 0;
  int32_t frames_ = 0;
};
