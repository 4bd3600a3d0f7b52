#include "platform/frame_pacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace {

struct PacedRun {
  int frames = 0;
  int32_t slept = 0;           // milliseconds
  std::vector<int32_t> waits;  // one per frame
};

// Runs frames of the given lengths (cycled) on a scripted clock for `spanMs`,
// pacing after each as the idle callback does.
PacedRun run(std::vector<int32_t> frameMs, int32_t spanMs, int32_t startMs = 0) {
  ScriptedClock clock(startMs);
  FramePacer pacer;
  PacedRun result;
  for (int64_t passed = 0; passed < spanMs; ++result.frames) {
    const int32_t frame = frameMs[result.frames % frameMs.size()];
    clock.advance(frame);
    const uint32_t frameEnd = static_cast<uint32_t>(clock.milliseconds());
    pacer.waitForNextFrame(clock);
    const int32_t wait =
        static_cast<int32_t>(static_cast<uint32_t>(clock.milliseconds()) - frameEnd);
    result.waits.push_back(wait);
    result.slept += wait;
    passed += frame + wait;
  }
  return result;
}

}  // namespace

TEST(FramePacer, QuickFramesAreHeldToSixtyASecondBySleeping) {
  // 2 ms frames would run at 500 a second unpaced.
  const PacedRun paced = run({2}, 10'000);
  EXPECT_GE(paced.frames, 599);
  EXPECT_LE(paced.frames, 601);
  EXPECT_GE(paced.slept, 10'000 - 2 * paced.frames);
  for (size_t i = 1; i < paced.waits.size(); ++i) {
    EXPECT_GE(paced.waits[i], 14) << "frame " << i;
    EXPECT_LE(paced.waits[i], 15) << "frame " << i;
  }
  // Across the clock's 32-bit wrap the pacing is the same.
  const PacedRun wrapped = run({2}, 10'000, INT32_MAX - 4'000);
  EXPECT_EQ(wrapped.frames, paced.frames);
  EXPECT_EQ(wrapped.waits, paced.waits);
  // Frames of uneven length still average sixty a second, also when some run
  // a little over their share (as on a busy machine) and the next must catch up.
  for (const PacedRun& uneven : {run({1, 9, 4, 15, 0}, 10'000), run({2, 2, 18}, 10'000)}) {
    EXPECT_GE(uneven.frames, 599);
    EXPECT_LE(uneven.frames, 601);
  }
}

TEST(FramePacer, SlowFramesAreNeverDelayed) {
  for (int32_t frameMs : {17, 18, 30, 250}) {
    const PacedRun slow = run({frameMs}, 5'000);
    EXPECT_EQ(slow.slept, 0) << frameMs << " ms frames";
  }
}

TEST(FramePacer, AfterASlowFrameTheNextStartsAtOnceAndTheOneAfterAPeriodLater) {
  FramePacer pacer;
  EXPECT_EQ(pacer.millisecondsToWait(1000), 0);   // first frame: next starts now
  EXPECT_EQ(pacer.millisecondsToWait(1002), 15);  // planned start 1016.7
  EXPECT_EQ(pacer.millisecondsToWait(1019), 15);  // planned start 1033.3
  EXPECT_EQ(pacer.millisecondsToWait(1100), 0);   // slow: 1050 had been planned
  // The plan starts again at 1100; no burst to catch up with 1066 and 1083.
  EXPECT_EQ(pacer.millisecondsToWait(1101), 16);  // next start 1116.7
  EXPECT_EQ(pacer.millisecondsToWait(1118), 16);  // next start 1133.3
  // Late by less than a period: the beat holds and the next wait is shorter.
  EXPECT_EQ(pacer.millisecondsToWait(1151), 0);   // 1150 had been planned
  EXPECT_EQ(pacer.millisecondsToWait(1152), 15);  // next start 1166.7, not 1167.7
}
