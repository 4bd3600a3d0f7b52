#include "platform/clock.h"

MonotonicClock::MonotonicClock() : start_(std::chrono::steady_clock::now()) {}

int32_t MonotonicClock::milliseconds() {
  auto elapsed = std::chrono::steady_clock::now() - start_;
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  // Keep the low 32 bits, as a millisecond counter of that width would.
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms)));
}
