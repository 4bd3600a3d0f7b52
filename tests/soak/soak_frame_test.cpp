// The soak takes the frame step apart to look between its stages; played
// through stepFrame, the same input must leave the same bits.
#include <gtest/gtest.h>

#include <cstring>

#include "app/scenario.h"
#include "app/startup.h"
#include "platform/sound.h"
#include "sim/hamster.h"
#include "tests/soak/soak_run.h"

TEST(SoakFrame, TheSoakLoopLeavesTheStateStepFrameLeaves) {
  const SoakOptions options{.seed = 5, .count = 60, .frames = 3000, .framesPerBlock = 100};
  SceneState soaked;
  ScriptedClock soakClock;
  Scenario input;
  const SoakReport report = runSoak(options, soaked, soakClock, &input);
  ASSERT_GT(report.jumps, 0);
  // The spin's checks as in the soak, here also in the sanitizer build.
  EXPECT_EQ(report.firstBadSpinFrame, 0);
  EXPECT_GT(report.firstWrapFrame, 0);
  ASSERT_EQ(input.frameMs.size(), 3000u);

  SceneState played;
  SilentSound silence;
  ScenarioRun run(input, played, silence);
  run.start();
  run.playFrames(settleTumbles);

  EXPECT_EQ(played.hamsterCount, soaked.hamsterCount);
  EXPECT_EQ(std::memcmp(&played.spinAngle, &soaked.spinAngle, sizeof(float)), 0);
  EXPECT_EQ(played.frameTimes, soaked.frameTimes);
  for (int i = 0; i < kMaxHamsters; ++i) {
    ASSERT_EQ(std::memcmp(static_cast<const void*>(played.hamsterPool[i]),
                          static_cast<const void*>(soaked.hamsterPool[i]), sizeof(Hamster)),
              0)
        << "hamster " << i;
  }
  freeHamsters(played);
  freeHamsters(soaked);
}
