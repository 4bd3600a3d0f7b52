#include "app/startup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/clock.h"
#include "platform/random.h"
#include "sim/hamster.h"

namespace {

struct HeadlessScene : testing::Test {
  SceneState state;
  ScriptedClock clock{1234};
  void start(uint32_t seed) { initScene(state, clock, {seed}); }
  void TearDown() override { freeHamsters(state); }
};

bool isMultipleOfHundredth(float v) {
  const double hundredths = std::round(v * 100.0);
  return static_cast<float>(hundredths * 0.01) == v;
}

}  // namespace

TEST_F(HeadlessScene, GrassLiesOutsideThePenOnTheHundredthsGrid) {
  for (uint32_t seed : {1u, 2u, 42u, 1700000000u}) {
    freeHamsters(state);
    start(seed);
    for (const GrassTuft& tuft : state.grassTufts) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << " tuft " << tuft.x << ", " << tuft.y);
      EXPECT_FALSE(std::fabs(tuft.x) < 1.405f && std::fabs(tuft.y) < 1.405f);
      EXPECT_GE(tuft.x, -3.0f);
      EXPECT_LE(tuft.x, 2.99f);
      EXPECT_GE(tuft.y, -3.0f);
      EXPECT_LE(tuft.y, 2.99f);
      EXPECT_TRUE(isMultipleOfHundredth(tuft.x));
      EXPECT_TRUE(isMultipleOfHundredth(tuft.y));
    }
  }
}

TEST_F(HeadlessScene, StartsTurnedWithAFullPoolAndAFreshRing) {
  start(5);
  EXPECT_EQ(state.spinAngle, -90.0f);
  EXPECT_EQ(state.hamsterCount, 10);
  for (Hamster* h : state.hamsterPool) ASSERT_NE(h, nullptr);
  for (float t : state.frameTimes) EXPECT_EQ(t, 0.05f);
  EXPECT_EQ(state.frameTimeIndex, 0);
  EXPECT_EQ(state.lastClockMs, 1234);
  EXPECT_EQ(state.lightingEnabled, 1);
  EXPECT_EQ(state.listsBuilt, 0);
}

TEST_F(HeadlessScene, GrassIsDrawnBeforeTheHamstersFromTheSeed) {
  start(77);
  // Replaying the draws: grass candidates first (two per try), then four per hamster.
  platform::srand(77);
  for (int tuft = 0; tuft < kGrassTufts; ++tuft) {
    float x, y;
    do {
      x = static_cast<float>((platform::rand() % 600 - 300) * 0.01);
      y = static_cast<float>((platform::rand() % 600 - 300) * 0.01);
    } while (!(x >= 1.4 || x <= -1.4 || y >= 1.4 || y <= -1.4));
    ASSERT_EQ(state.grassTufts[tuft].x, x);
    ASSERT_EQ(state.grassTufts[tuft].y, y);
  }
  Hamster first;
  EXPECT_EQ(state.hamsterPool[0]->x, first.x);
  EXPECT_EQ(state.hamsterPool[0]->heading, first.heading);
}

TEST_F(HeadlessScene, SameSeedSameScene) {
  start(31337);
  SceneState other;
  ScriptedClock otherClock;
  initScene(other, otherClock, {31337});
  for (int i = 0; i < kMaxHamsters; ++i) {
    ASSERT_EQ(state.hamsterPool[i]->x, other.hamsterPool[i]->x);
    ASSERT_EQ(state.hamsterPool[i]->vz, other.hamsterPool[i]->vz);
  }
  freeHamsters(other);
}

namespace {

// Each graphics step notes what it found of the scene being started.
constexpr uint32_t kGraphicsSeed = 4242;
const SceneState* startingScene = nullptr;
std::string graphicsSteps;

void textureStep(SceneState& state) {
  graphicsSteps += "textures";
  // Right after the seed: the next draw is the seed's first. Seeding again
  // puts the generator back where start-up left it.
  const int draw = platform::rand();
  platform::srand(kGraphicsSeed);
  if (draw != platform::rand()) graphicsSteps += " not-after-seed";
  platform::srand(kGraphicsSeed);
  if (state.spinAngle != -90.0f) graphicsSteps += " before-spin";
  if (state.grassTufts[0].x != 0 || state.hamsterPool[0]) graphicsSteps += " after-grass";
}

void renderStateStep() {
  graphicsSteps += ",render-state";
  if (!startingScene->hamsterPool[kMaxHamsters - 1]) graphicsSteps += " before-pool";
  if (startingScene->lightingEnabled != 0) graphicsSteps += " after-light";
}

}  // namespace

TEST_F(HeadlessScene, GraphicsStepsComeAtTheirPlacesAndDrawNoNumber) {
  SceneState windowed;
  ScriptedClock windowClock{1234};
  startingScene = &windowed;
  graphicsSteps.clear();
  const GraphicsStartup graphics = {textureStep, renderStateStep};
  initScene(windowed, windowClock, {kGraphicsSeed, &graphics});
  EXPECT_EQ(graphicsSteps, "textures,render-state");

  start(kGraphicsSeed);
  for (int i = 0; i < kGrassTufts; ++i) ASSERT_EQ(windowed.grassTufts[i].x, state.grassTufts[i].x);
  for (int i = 0; i < kMaxHamsters; ++i) {
    ASSERT_EQ(windowed.hamsterPool[i]->heading, state.hamsterPool[i]->heading);
  }
  freeHamsters(windowed);
}
