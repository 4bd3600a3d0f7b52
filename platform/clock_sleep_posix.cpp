#include <thread>

#include "platform/clock.h"

void MonotonicClock::sleep(int32_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
