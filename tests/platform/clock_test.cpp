#include "platform/clock.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(MonotonicClock, CountsWallTimeNotCpuTimeAndSleepsOnIt) {
  MonotonicClock clock;
  const int32_t before = clock.milliseconds();
  EXPECT_GE(before, 0);
  // Sleeping uses no CPU, so a CPU-time clock would barely move.
  clock.sleep(120);
  const int32_t after = clock.milliseconds();
  EXPECT_GE(after - before, 120);
  EXPECT_LT(after - before, 5000);
  clock.sleep(-5);  // no wait, no error
}

TEST(ScriptedClock, ReadsWhatWasSetAndWrapsLikeA32BitCount) {
  ScriptedClock clock(16);
  EXPECT_EQ(clock.milliseconds(), 16);
  clock.advance(300);
  EXPECT_EQ(clock.milliseconds(), 316);
  clock.sleep(17);
  clock.sleep(0);
  clock.sleep(-3);
  EXPECT_EQ(clock.milliseconds(), 333);
  clock.set(INT32_MAX);
  clock.advance(2);
  EXPECT_EQ(clock.milliseconds(), INT32_MIN + 1);
}
