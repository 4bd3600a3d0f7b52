// The program's clock in a browser: the page's monotonic time
// (performance.now(), through emscripten_get_now).
#pragma once

#include "platform/clock.h"

class BrowserClock final : public Clock {
 public:
  BrowserClock();
  int32_t milliseconds() override;
  // Never waits: a page must not block, and the browser's animation frames
  // pace the program instead.
  void sleep(int32_t) override {}

 private:
  double startMs_;
};
