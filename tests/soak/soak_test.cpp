// Long runs with random input: the state stays finite, the crowd stays in the
// pen, and a frame costs as much at the end as at the start. Labelled "soak".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/startup.h"
#include "tests/soak/soak_run.h"

namespace {

// The cheapest of a few blocks: other processes only ever add to a block.
double cheapest(const std::vector<double>& blocks, size_t first, size_t count) {
  return *std::min_element(blocks.begin() + first, blocks.begin() + first + count);
}

void soakAndCheck(const SoakOptions& options) {
  SceneState state;
  ScriptedClock clock;
  const SoakReport report = runSoak(options, state, clock);
  freeHamsters(state);

  EXPECT_EQ(report.frames, options.frames);
  EXPECT_EQ(report.firstNonFiniteFrame, 0);
  EXPECT_EQ(report.firstOutsidePenFrame, 0);
  EXPECT_EQ(report.firstBadSpinFrame, 0);
  EXPECT_GT(report.firstWrapFrame, 0);
  EXPECT_GT(report.jumps, options.frames / 20) << "the input should jump every few frames";
  // Walls set headings below 2 pi; a tumble is reset on landing and loses
  // whole turns past 36000 degrees.
  EXPECT_LT(report.largestHeading, 100);
  EXPECT_LT(report.largestTumble, 36000 + 360);

  const std::vector<double>& blocks = report.blockMsPerFrame;
  ASSERT_GE(blocks.size(), 10u);
  const double start = cheapest(blocks, 0, 5);
  const double end = cheapest(blocks, blocks.size() - 5, 5);
  std::printf(
      "soak: %d frames at %d hamsters, %d events, %d jumps; %.4f ms per frame at the start, "
      "%.4f at the end; subnormal floats in %d frames; largest heading %.2f rad, tumble %.0f "
      "degrees\n",
      report.frames, options.count, report.events, report.jumps, start, end, report.subnormalFrames,
      report.largestHeading, report.largestTumble);
  testing::Test::RecordProperty("ms_per_frame_start", std::to_string(start));
  testing::Test::RecordProperty("ms_per_frame_end", std::to_string(end));
  // Flat, not fast: denormal arithmetic would cost many times over.
  EXPECT_LT(end, 2 * start);
}

}  // namespace

TEST(Soak, TwoHundredThousandFramesAtAHundredHamsters) {
  soakAndCheck({.seed = 11, .count = 100, .frames = 200000, .framesPerBlock = 2000});
}

TEST(Soak, FiveThousandFramesAtFifteenHundredHamsters) {
  soakAndCheck({.seed = 12, .count = 1500, .frames = 5000, .framesPerBlock = 100});
}
