#include "sim/frame_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/input.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "sim/hamster.h"

namespace {

class CountingSound final : public Sound {
 public:
  void playAsync(const char* fileName) override {
    ++calls;
    lastFile = fileName;
  }
  int calls = 0;
  std::string lastFile;
};

Hamster restingAt(float x, float y, float z = 0) {
  Hamster h;
  h.x = x;
  h.y = y;
  h.z = z;
  h.vx = h.vy = h.vz = 0;
  h.heading = 0;
  h.restitution = 1.0f;
  return h;
}

bool sameBits(const Hamster& a, const Hamster& b) {
  return std::memcmp(static_cast<const void*>(&a), static_cast<const void*>(&b), sizeof a) == 0;
}

// A scene state as start-up leaves it, with hamsters placed by the test.
struct Scene : testing::Test {
  SceneState state;
  ScriptedClock clock{0};
  CountingSound sound;
  std::vector<std::unique_ptr<Hamster>> owned;

  void SetUp() override {
    state.frameTimes.fill(0.05f);
    state.spinAngle = -90;
    platform::srand(1);
  }
  Hamster& add(const Hamster& h) {
    owned.push_back(std::make_unique<Hamster>(h));
    state.hamsterPool[owned.size() - 1] = owned.back().get();
    state.hamsterCount = static_cast<int32_t>(owned.size());
    return *owned.back();
  }
  void frame(int32_t ms) {
    clock.advance(ms);
    stepFrame(state, clock, sound, Relaxation::kReference);
  }
  float frameDt(int32_t ms) {
    clock.advance(ms);
    return measureFrameTime(state, clock);
  }
};

using FrameTiming = Scene;
using Jump = Scene;
using FrameStep = Scene;

}  // namespace

TEST_F(FrameTiming, TenFramesOf40msGiveTheirLengthAndTurnTheScene) {
  Hamster& h = add(restingAt(0, 0));
  for (int i = 0; i < 10; ++i) frame(40);
  EXPECT_NEAR(h.timeStep, 0.04, 1e-7);
  const float spinBefore = state.spinAngle;
  frame(40);
  EXPECT_NEAR(state.spinAngle - spinBefore, 0.8, 1e-5);
  EXPECT_EQ(state.spinAngle, static_cast<float>(spinBefore + h.timeStep * 20.0));
}

TEST_F(FrameTiming, TheFirstFrameAveragesWithTheStartValues) {
  // Nine entries of 0.05 are still in the ring: 0.05 + 0.030 / 10 - 0.005.
  EXPECT_NEAR(frameDt(30), 0.048, 1e-7);
}

TEST_F(FrameTiming, TheMeanIsClampedAtBothEnds) {
  for (int i = 0; i < 9; ++i) frameDt(20);
  EXPECT_EQ(frameDt(5000), 0.25f) << "a mean of about 0.518";

  for (int i = 0; i < 8; ++i) frameDt(0);
  EXPECT_EQ(frameDt(0), 0.25f) << "the 5 s frame is still in the ring";
  EXPECT_EQ(frameDt(0), 0.001f) << "ten frames of 0 ms";
}

TEST_F(FrameTiming, TheRingOverwritesItsOldestEntry) {
  for (int k = 1; k <= 11; ++k) {
    frameDt(k);
    EXPECT_EQ(state.frameTimeIndex, k % 10);
    EXPECT_EQ(state.lastClockMs, k * (k + 1) / 2);
  }
  EXPECT_EQ(state.frameTimes[0], 11 * 0.001f) << "the eleventh frame replaces the first";
  EXPECT_EQ(state.frameTimes[1], 2 * 0.001f);
  EXPECT_EQ(state.frameTimes[9], 10 * 0.001f);
}

TEST_F(FrameTiming, TheClockWrapsAround) {
  clock.set(INT32_MAX - 5);
  state.lastClockMs = INT32_MAX - 5;
  clock.advance(16);  // now INT32_MIN + 10
  EXPECT_LT(clock.milliseconds(), 0);
  measureFrameTime(state, clock);
  EXPECT_EQ(state.frameTimes[0], 16 * 0.001f);
  EXPECT_EQ(state.lastClockMs, INT32_MIN + 10);
}

TEST_F(FrameTiming, ABackwardClockFeedsOneNegativeEntryThatLeavesTheRing) {
  EXPECT_EQ(frameDt(-1000), 0.001f);
  EXPECT_EQ(state.frameTimes[0], -1.0f);
  float dt = 0;
  for (int i = 0; i < 10; ++i) dt = frameDt(16);
  EXPECT_NEAR(dt, 0.016, 1e-7);
}

TEST_F(Jump, TheCentreHamsterIsLaunchedWithThreeDrawsInOrder) {
  Hamster& h = add(restingAt(0, 0));
  platform::srand(77);
  const int kick = platform::rand() % 10, bounce = platform::rand() % 40;
  const int tumble = platform::rand() % 400, next = platform::rand();
  platform::srand(77);
  state.explodeByKey = 1;
  handleJumpRequest(state, sound);

  const float s = (1.4f - 1.0f) * 0.33333334f + 1.0f;  // about 1.133
  EXPECT_NEAR(s, 1.0 + 0.4 / 3, 1e-6);
  EXPECT_EQ(h.vz, static_cast<float>((kick + 15) * static_cast<double>(s) * 0.1));
  EXPECT_EQ(h.restitution, static_cast<float>(1.0f + bounce * 0.0125 + 0.5));
  EXPECT_EQ(h.tumbleRate, static_cast<float>(tumble * static_cast<double>(s) + 200.0));
  EXPECT_EQ(h.vx, 0.0f) << "no drift at the centre";
  EXPECT_EQ(platform::rand(), next) << "exactly three draws";
  EXPECT_EQ(sound.calls, 1);
  EXPECT_EQ(sound.lastFile, "explode.wav");
  EXPECT_EQ(state.explodeByKey, 0);
}

TEST_F(Jump, TheKickAtTheCentreStaysBetween170And272) {
  Hamster& h = add(restingAt(0, 0));
  float lowest = 100, highest = 0;
  for (int i = 0; i < 200; ++i) {
    h.vz = 0;
    state.explodeByClick = 1;
    handleJumpRequest(state, sound);
    lowest = std::min(lowest, h.vz);
    highest = std::max(highest, h.vz);
  }
  EXPECT_NEAR(lowest, 1.70, 0.005);
  EXPECT_NEAR(highest, 2.72, 0.005);
}

TEST_F(Jump, HalfwayOutTheStrengthIs065AndTheDriftPointsOutwards) {
  Hamster& h = add(restingAt(0.5f, 0));
  h.vx = 0.25f;
  platform::srand(5);
  platform::rand();
  platform::rand();
  const int tumble = platform::rand() % 400;
  platform::srand(5);
  state.explodeByKey = 1;
  handleJumpRequest(state, sound);
  const double s = 0.65f;
  EXPECT_EQ(h.vx, static_cast<float>(0.25f + 0.5f * s * 0.1));
  EXPECT_EQ(h.vy, 0.0f);
  EXPECT_EQ(h.tumbleRate, static_cast<float>(tumble * s + 200.0));
}

TEST_F(Jump, HamstersNearTheFenceTurnBackWithoutDrawing) {
  Hamster& east = add(restingAt(1.0f, 0));
  Hamster& north = add(restingAt(0, 0.95f));
  Hamster& outside = add(restingAt(-1.0f, -1.0f, 0.5f));
  platform::srand(9);
  const int next = platform::rand();
  platform::srand(9);
  state.explodeByClick = 1;
  handleJumpRequest(state, sound);
  EXPECT_EQ(east.heading, 1.75f);
  EXPECT_NEAR(north.heading, 3.3207963, 1e-6);
  EXPECT_EQ(north.heading, static_cast<float>(std::atan2(0.95f, 0.0) + 1.75));
  EXPECT_NEAR(outside.heading, std::atan2(-1.0, -1.0) + 1.75, 1e-6);
  for (const Hamster* h : {&east, &north, &outside}) {
    EXPECT_EQ(h->vz, 0.0f);
    EXPECT_EQ(h->restitution, 1.0f);
  }
  EXPECT_EQ(platform::rand(), next) << "turning draws no random numbers";
  EXPECT_EQ(sound.calls, 1) << "the sound plays even when nobody jumps";
}

TEST_F(Jump, AKeyAndAClickBeforeOneTurnGiveOneJumpAndOneSound) {
  Hamster& h = add(restingAt(0, 0));
  handleKey(state, ' ');
  handleMouseButton(state, 0, 0);
  handleKey(state, ' ');
  frame(16);
  EXPECT_EQ(sound.calls, 1);
  EXPECT_EQ(state.explodeByKey, 0);
  EXPECT_EQ(state.explodeByClick, 0);
  // The launch comes before this frame's motion: the hamster is already up.
  EXPECT_GT(h.z, 0.05f);
  const float vz = h.vz;
  frame(16);
  EXPECT_EQ(sound.calls, 1);
  EXPECT_LT(h.vz, vz) << "only gravity acts on the second frame";
}

TEST_F(Jump, WithoutARequestNothingLaunchesAndNothingSounds) {
  add(restingAt(0, 0));
  for (int i = 0; i < 5; ++i) frame(16);
  EXPECT_EQ(sound.calls, 0);
  EXPECT_LT(owned[0]->z, 0.05f);
}

TEST_F(FrameStep, InactiveHamstersKeepTheirState) {
  for (int i = 0; i < 5; ++i) add(restingAt(0.05f * i, 0, 0.2f));
  state.hamsterCount = 3;
  const Hamster fourth = *owned[3], fifth = *owned[4];
  const Hamster first = *owned[0];
  state.explodeByKey = 1;
  for (int i = 0; i < 20; ++i) frame(16);
  EXPECT_TRUE(sameBits(*owned[3], fourth));
  EXPECT_TRUE(sameBits(*owned[4], fifth));
  EXPECT_FALSE(sameBits(*owned[0], first));
}

TEST_F(FrameStep, MotionRoundsEachStepToFloat) {
  // Walking hamsters with a drift: the walk starts from the position already
  // rounded to float. An optimiser that kept the double sum would differ here
  // in the last bit for about half of them.
  struct Start {
    float x, y, vx, vy, heading;
  };
  std::vector<Start> starts;
  for (int i = 0; i < 400; ++i) {
    const float x = (i % 20 - 10) * 0.0937f, y = (i / 20 - 10) * 0.0911f;
    starts.push_back({x, y, 0.731f - 0.0037f * i, 0.0041f * i - 0.8f, 0.0151f * i});
  }
  for (const Start& s : starts) {
    Hamster h = restingAt(s.x, s.y);
    h.vx = s.vx;
    h.vy = s.vy;
    h.heading = s.heading;
    add(h);
  }
  const float dt = 0.0163f;
  moveHamsters(state, dt);
  for (int i = 0; i < 400; ++i) {
    const Start& s = starts[i];
    volatile float x = static_cast<float>(s.x + s.vx * static_cast<double>(dt));
    volatile float y = static_cast<float>(s.y + s.vy * static_cast<double>(dt));
    x = static_cast<float>(x - 0.01f * std::sin(static_cast<double>(s.heading)));
    y = static_cast<float>(y + 0.01f * std::cos(static_cast<double>(s.heading)));
    ASSERT_EQ(owned[i]->x, x) << i;
    ASSERT_EQ(owned[i]->y, y) << i;
    ASSERT_EQ(owned[i]->timeStep, dt);
  }
}

TEST_F(FrameStep, HeadingsJitterPerFrameWithOneDrawEach) {
  for (int i = 0; i < 300; ++i) add(restingAt(0, 0));
  platform::srand(3);
  std::vector<int> draws;
  for (int i = 0; i < 301; ++i) draws.push_back(platform::rand());
  platform::srand(3);
  jitterHeadings(state);
  for (int i = 0; i < 300; ++i) {
    const float heading = owned[i]->heading;
    ASSERT_EQ(heading, static_cast<float>(draws[i] % 160 * 0.0025 - 0.2)) << i;
    ASSERT_GE(heading, -0.2f);
    ASSERT_LE(heading, 0.1975f);
  }
  EXPECT_EQ(platform::rand(), draws[300]);
}
