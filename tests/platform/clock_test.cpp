#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

TEST(MonotonicClock, CountsWallTimeNotCpuTime) {
  MonotonicClock clock;
  const int32_t before = clock.milliseconds();
  EXPECT_GE(before, 0);
  // Sleeping uses no CPU, so a CPU-time clock would barely move.
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  const int32_t after = clock.milliseconds();
  EXPECT_GE(after - before, 100);
  EXPECT_LT(after - before, 5000);
}

TEST(ScriptedClock, ReadsWhatWasSetAndWrapsLikeA32BitCount) {
  ScriptedClock clock(16);
  EXPECT_EQ(clock.milliseconds(), 16);
  clock.advance(300);
  EXPECT_EQ(clock.milliseconds(), 316);
  clock.set(INT32_MAX);
  clock.advance(2);
  EXPECT_EQ(clock.milliseconds(), INT32_MIN + 1);
}
