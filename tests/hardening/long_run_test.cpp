// Fields that grow for as long as the program runs: the spin, the clock's
// 32-bit milliseconds, the headings and the tumble angles. Long spans are
// reached by setting the state directly, not by playing every frame; the
// spin's first wrap and every frame's turn are checked by the soak
// (tests/soak), which plays the frames.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/scenario.h"
#include "app/startup.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "scene/scene_state.h"
#include "sim/frame_step.h"
#include "sim/hamster.h"

namespace {

constexpr int32_t kWeekMs = 7 * 24 * 3600 * 1000;  // 604,800,000: fits the 32-bit count
constexpr double kDegreesPerSecond = 20;

// The angle a frame turned the scene by, across a wrap to [0, 360) as well.
double turnedBy(float before, float after) {
  double turn = static_cast<double>(after) - before;
  if (turn < 0) turn += 360;
  return turn;
}

struct LongRun : testing::Test {
  SceneState state;
  ScriptedClock clock{0};
  SilentSound sound;
  std::vector<std::unique_ptr<Hamster>> owned;

  void SetUp() override {
    platform::srand(3);
    state.frameTimes.fill(0.05f);
    state.spinAngle = -90;
  }
  Hamster& addHamster() {
    owned.push_back(std::make_unique<Hamster>());
    state.hamsterPool[owned.size() - 1] = owned.back().get();
    state.hamsterCount = static_cast<int32_t>(owned.size());
    return *owned.back();
  }
  // The ring as after many frames of `ms` each, the clock at `now`.
  void steadyFramesUntil(int32_t now, int32_t ms) {
    clock.set(now);
    state.lastClockMs = now;
    state.frameTimes.fill(static_cast<float>(ms) * 0.001f);
  }
};

}  // namespace

TEST_F(LongRun, AfterAWeekAFrameStillTurnsTheSceneByItsTimeStep) {
  steadyFramesUntil(kWeekMs, 16);
  // A week of turning in hour-long strides: what a week of frames adds up to.
  for (int hour = 0; hour < 7 * 24; ++hour) spinScene(state, 3600.0f);
  ASSERT_GE(state.spinAngle, 0);
  ASSERT_LT(state.spinAngle, 360);

  // Uneven frame lengths, so each frame has its own step.
  const int32_t lengths[] = {16, 17, 33, 8, 16, 250, 16};
  for (int frame = 0; frame < 200; ++frame) {
    clock.advance(lengths[frame % 7]);
    const float dt = measureFrameTime(state, clock);
    const float before = state.spinAngle;
    spinScene(state, dt);
    // Near 360 a float holds about 3e-5 of a degree; the step is 0.02 to 5.
    EXPECT_NEAR(turnedBy(before, state.spinAngle), dt * kDegreesPerSecond, 1e-4) << frame;
    EXPECT_GE(state.spinAngle, 0);
    EXPECT_LT(state.spinAngle, 360);
  }
}

TEST_F(LongRun, TheSceneTurnsEvenlyAcrossTheWrapOfTheClock) {
  // 24.8 days in: the count passes INT32_MAX and reads negative.
  steadyFramesUntil(INT32_MAX - 40, 16);
  state.spinAngle = 100;
  for (int frame = 0; frame < 6; ++frame) {
    clock.advance(16);
    const float dt = measureFrameTime(state, clock);
    EXPECT_FLOAT_EQ(dt, 0.016f) << frame;
    const float before = state.spinAngle;
    spinScene(state, dt);
    EXPECT_NEAR(turnedBy(before, state.spinAngle), 0.32, 1e-4);
  }
  EXPECT_LT(clock.milliseconds(), 0);
}

TEST_F(LongRun, AnOddReadingGivesClampedFramesAndNeverAStall) {
  // Readings a broken count could give: the far side of the wrap, then back.
  steadyFramesUntil(1000, 16);
  const int32_t readings[] = {INT32_MIN, INT32_MAX, 0, -5, 1000};
  for (int32_t reading : readings) {
    SCOPED_TRACE(reading);
    clock.set(reading);
    const float dt = measureFrameTime(state, clock);
    EXPECT_GE(dt, 0.001f);
    EXPECT_LE(dt, 0.25f);
    const float before = state.spinAngle;
    spinScene(state, dt);
    EXPECT_GT(turnedBy(before, state.spinAngle), 0);
  }
  // Ten ordinary frames later the odd entries have left the ring.
  for (int frame = 0; frame < 10; ++frame) {
    clock.advance(16);
    measureFrameTime(state, clock);
  }
  clock.advance(16);
  EXPECT_FLOAT_EQ(measureFrameTime(state, clock), 0.016f);
}

TEST_F(LongRun, AHeadingDriftedFarGetsASmallOneBackAtTheWall) {
  // The jitter is never wrapped; so far out that it rounds away, the hamster
  // walks straight, and the wall it reaches sets a heading below 2 pi again.
  Hamster& h = addHamster();
  h.x = h.y = 0;
  h.z = 0;
  h.vx = h.vy = h.vz = 0;
  h.heading = 1.0e7f;
  int frames = 0;
  while (std::fabs(h.heading) > 7 && frames < 1000) {
    clock.advance(16);
    stepFrame(state, clock, sound);
    ++frames;
  }
  EXPECT_LT(std::fabs(h.heading), 7) << "after " << frames << " frames";
  // 1.1 walked at 0.01 a frame, along a diagonal at worst.
  EXPECT_LE(frames, 160);
}

TEST_F(LongRun, AJuggledHamsterLandsWhenTheRequestsStopAndItsTumbleIsReset) {
  Hamster& h = addHamster();
  h.x = h.y = h.z = 0;
  h.vx = h.vy = h.vz = 0;
  // A request every frame for a minute juggles it near the middle.
  int frame = 0;
  for (; frame < 60 * 60; ++frame) {
    state.explodeByKey = 1;
    clock.advance(16);
    stepFrame(state, clock, sound);
    h.settleTumble();  // what drawing the frame does
  }
  EXPECT_GT(h.z, 0.3f) << "still in the air while the requests come";
  EXPECT_GE(h.tumbleAngle, 0);
  EXPECT_LT(h.tumbleAngle, 36000 + 360);
  for (int more = 0; more < 1000 && h.z > 0.3f; ++more) {
    clock.advance(16);
    stepFrame(state, clock, sound);
    h.settleTumble();
  }
  EXPECT_LE(h.z, 0.3f);
  EXPECT_EQ(h.tumbleAngle, 0);
}

TEST_F(LongRun, AfterAWeekOfJugglingAFrameStillTumblesByItsRate) {
  Hamster& h = addHamster();
  h.z = 5;
  h.vz = 0;
  h.tumbleRate = 652;  // the fastest a launch gives
  // A week's worth of tumble, added in hour-long steps.
  h.timeStep = 3600;
  for (int hour = 0; hour < 7 * 24; ++hour) {
    h.move();
    h.z = 5;
    h.vz = 0;
  }
  ASSERT_LT(h.tumbleAngle, 36000);
  h.timeStep = 0.016f;
  for (int frame = 0; frame < 10000; ++frame) {
    const float before = h.tumbleAngle;
    h.move();
    h.z = 5;
    double turned = static_cast<double>(h.tumbleAngle) - before;
    if (turned < 0) turned = std::fmod(turned + 36000, 360.0);
    // Below 36000 a float holds 0.004 of a degree; the step is 10.4.
    ASSERT_NEAR(turned, 652 * 0.016, 0.01) << frame;
  }
}

namespace {

class CountingSound final : public Sound {
 public:
  void playAsync(const char*) override { ++played; }
  int played = 0;
};

}  // namespace

// The replay and shot tools accept any frame count up to INT64_MAX; the last
// frames of such a run play with their own events and frame lengths, and the
// frame counter never steps past the top (a UBSan build would report it).
TEST(ScenarioFrames, TheLastFramesOfTheLongestRunPlayWithoutOverflow) {
  Scenario scenario;
  scenario.seed = 4;
  scenario.frames = INT64_MAX;
  scenario.frameMs = {16, 40};
  scenario.events = {{INT64_MAX, InputEvent::kSpace}, {INT64_MAX - 5, InputEvent::kSpace}};
  SceneState state;
  CountingSound sound;
  ScenarioRun run(scenario, state, sound);
  run.start();
  int frames = 0;
  run.playFrameRange(INT64_MAX - 2, INT64_MAX, [&](SceneState&) { ++frames; });
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(sound.played, 1) << "the event of the very last frame";
  // Frames INT64_MAX - 2, - 1 and INT64_MAX take lengths 16, 40 and 16.
  EXPECT_EQ(run.clock().milliseconds(), 72);
  freeHamsters(state);
}
