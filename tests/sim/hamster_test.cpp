#include "sim/hamster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/random.h"

namespace {

Hamster restingAt(float x, float y) {
  Hamster h;
  h.x = x;
  h.y = y;
  h.z = 0;
  h.vx = h.vy = h.vz = 0;
  h.heading = 0;
  return h;
}

// The float nearest 1.1 lies above the double 1.1.
const float kNearest1_1 = 1.1f;
const float kBelow1_1 = std::nextafter(1.1f, 0.0f);

}  // namespace

TEST(HamsterConstruction, DrawsXYVzHeadingInThatOrder) {
  platform::srand(7);
  const int rx = platform::rand() % 2000, ry = platform::rand() % 2000;
  const int rvz = platform::rand() % 40, rh = platform::rand() % 60;
  const int fifth = platform::rand();
  platform::srand(7);
  Hamster h;
  EXPECT_EQ(h.x, static_cast<float>((rx - 1000) * 0.001));
  EXPECT_EQ(h.y, static_cast<float>((ry - 1000) * 0.001));
  EXPECT_EQ(h.vz, static_cast<float>(rvz * 0.005 + 0.1));
  EXPECT_EQ(h.heading, static_cast<float>(rh * 0.1));
  EXPECT_EQ(platform::rand(), fifth) << "construction draws exactly four numbers";
  EXPECT_EQ(h.timeStep, 0.05f);
  EXPECT_EQ(h.z, 0.0f);
  EXPECT_EQ(h.restitution, 1.0f);
  EXPECT_EQ(h.walkSpeed, 0.01f);
  EXPECT_EQ(h.tumbleRate, 200.0f);
}

TEST(HamsterConstruction, ValuesStayInTheirRanges) {
  platform::srand(99);
  for (int i = 0; i < 3000; ++i) {
    Hamster h;
    ASSERT_GE(h.x, -1.0f);
    ASSERT_LE(h.x, 0.999f);
    ASSERT_GE(h.vz, 0.1f);
    ASSERT_LE(h.vz, 0.295f);
    ASSERT_GE(h.heading, 0.0f);
    ASSERT_LE(h.heading, 5.9f);
  }
}

TEST(HamsterMove, RestingHamsterBouncesOnlyAfterTheSecondMove) {
  Hamster h = restingAt(0, 0);
  h.timeStep = 0.05f;
  h.move();
  EXPECT_EQ(h.z, 0.0f);
  EXPECT_LT(h.vz, 0.0f);
  h.confine();
  EXPECT_EQ(h.restitution, 1.0f) << "z = 0 must not bounce";
  h.move();
  EXPECT_LT(h.z, 0.0f);
  h.confine();
  EXPECT_GT(h.z, 0.0f);
  EXPECT_FLOAT_EQ(h.restitution, 0.54f);
}

TEST(HamsterMove, WalksAFixedStepWhateverTheTimeStep) {
  for (float dt : {0.25f, 0.001f}) {
    Hamster h = restingAt(0, 0);
    h.timeStep = dt;
    h.move();
    EXPECT_EQ(h.y, static_cast<float>(0 + 0.01f * std::cos(0.0))) << dt;
    EXPECT_EQ(h.x, 0.0f) << dt;
  }
}

TEST(HamsterMove, AirborneHamsterDoesNotWalkAndTumbles) {
  Hamster h = restingAt(0.5f, 0.5f);
  h.z = 1.0f;
  h.vz = 1.0f;
  h.timeStep = 0.1f;
  h.move();
  EXPECT_EQ(h.x, 0.5f);
  EXPECT_EQ(h.y, 0.5f);
  EXPECT_EQ(h.z, static_cast<float>(1.0f + 1.0f * static_cast<double>(0.1f)));
  EXPECT_EQ(h.vz, static_cast<float>(1.0f + static_cast<double>(0.1f) * -3.0));
  EXPECT_EQ(h.tumbleAngle, static_cast<float>(200.0f * static_cast<double>(0.1f)));
}

TEST(HamsterConfine, RestitutionChainAndSpeedCap) {
  Hamster h = restingAt(0, 0);
  h.z = -0.1f;
  h.vz = -1.0f;
  h.confine();
  EXPECT_EQ(h.restitution, static_cast<float>(0.9f * 0.6));
  EXPECT_FLOAT_EQ(h.restitution, 0.54f);
  EXPECT_EQ(h.z, static_cast<float>(-0.1f * -0.5));
  EXPECT_EQ(h.vz, static_cast<float>(h.restitution * 1.0));
  h.z = -0.01f;
  h.vz = -1.0f;
  h.confine();
  EXPECT_FLOAT_EQ(h.restitution, 0.324f);

  Hamster fast = restingAt(0, 0);
  fast.z = -0.01f;
  fast.vz = -4.0f;  // 4 * 0.54 > 2
  fast.confine();
  EXPECT_EQ(fast.vz, 2.0f);
}

TEST(HamsterConfine, NegativeZeroDoesNotBounce) {
  Hamster a = restingAt(0, 0);
  a.z = -0.0f;
  a.vz = -1.0f;
  a.confine();
  EXPECT_EQ(a.restitution, 1.0f);
  Hamster b = restingAt(0, 0);
  b.z = -0.5f;
  b.vz = -0.0f;
  b.confine();
  EXPECT_EQ(b.restitution, 1.0f);
  EXPECT_EQ(b.z, -0.5f);
}

TEST(HamsterConfine, WallsCompareTheFloatWithTheDouble) {
  struct Case {
    float x, y;
    float wantX, wantY, wantHeading;
    bool moved;
  };
  const Case cases[] = {
      {kBelow1_1, 0, kBelow1_1, 0, 0, false},
      {kNearest1_1, 0, 0.98f, 0, 2.07f, true},
      {-kBelow1_1, 0, -kBelow1_1, 0, 0, false},
      {-kNearest1_1, 0, -0.98f, 0, 5.21f, true},
      {0, kBelow1_1, 0, kBelow1_1, 0, false},
      {0, kNearest1_1, 0, 0.98f, 3.64f, true},
      {0, -kNearest1_1, 0, -0.98f, 0.5f, true},
      {1.2f, -1.2f, 0.98f, -0.98f, 0.5f, true},  // corner: the y wall's heading wins
      {-1.5f, 1.5f, -0.98f, 0.98f, 3.64f, true},
  };
  for (const Case& c : cases) {
    Hamster h = restingAt(c.x, c.y);
    h.vx = 0.3f;
    h.vy = -0.2f;
    h.vz = 0.7f;
    h.confine();
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    EXPECT_EQ(h.x, c.wantX);
    EXPECT_EQ(h.y, c.wantY);
    EXPECT_EQ(h.heading, c.wantHeading);
    EXPECT_EQ(h.vx, c.moved ? 0.0f : 0.3f);
    EXPECT_EQ(h.vy, c.moved ? 0.0f : -0.2f);
    EXPECT_EQ(h.vz, 0.7f);
  }
}

TEST(HamsterDraw, WithoutAPainterOnlyTheTumbleSettlesWithOneThePainterDraws) {
  Hamster h = restingAt(0, 0);
  h.tumbleAngle = 50;
  h.z = 0.3f;  // the float nearest 0.3 is above the double 0.3
  h.draw(nullptr);
  EXPECT_EQ(h.tumbleAngle, 50.0f);
  h.z = std::nextafter(0.3f, 0.0f);
  struct Counting final : HamsterPainter {
    void paint(Hamster& painted) override { seen.push_back(&painted); }
    std::vector<Hamster*> seen;
  } painter;
  h.draw(&painter);
  EXPECT_EQ(painter.seen, std::vector<Hamster*>{&h});
  EXPECT_EQ(h.tumbleAngle, 50.0f);  // settling is the painter's part
  h.draw(nullptr);
  EXPECT_EQ(h.tumbleAngle, 0.0f);
}
