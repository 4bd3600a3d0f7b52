#include "sim/relaxation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "sim/hamster.h"
#include "sim/strength_chain.h"

namespace {

Hamster at(float x, float y, float z) {
  Hamster h;
  h.x = x;
  h.y = y;
  h.z = z;
  h.vx = h.vy = h.vz = 0;
  return h;
}

bool sameBits(const Hamster& a, const Hamster& b) {
  return std::memcmp(static_cast<const void*>(&a), static_cast<const void*>(&b), sizeof a) == 0;
}

// A crowd owned by the test; hamsters far from each other unless placed.
struct Crowd {
  std::vector<std::unique_ptr<Hamster>> owned;
  std::vector<Hamster*> pointers;

  explicit Crowd(int count) {
    for (int i = 0; i < count; ++i) {
      // 0.5 apart on a grid well above the floor: no pair is within reach.
      owned.push_back(std::make_unique<Hamster>(at(0.5f * (i % 40), 0.5f * (i / 40), 5.0f)));
      pointers.push_back(owned.back().get());
    }
  }
  Hamster& operator[](int i) { return *owned[i]; }
  std::span<Hamster* const> all() const { return pointers; }
};

}  // namespace

TEST(Separate, PairsOutOfReachAreLeftAlone) {
  struct Case {
    const char* what;
    float bx, by, bz;
  };
  const Case cases[] = {
      {"0.25 along x", 0.25f, 0, 0},
      {"exactly 0.2 along x: d2 = 0.04 is not below 0.04", 0.2f, 0, 0},
      {"0.21 along z", 0, 0, 0.21f},
      {"inside each box test, 0.21 on the diagonal", 0.15f, 0.15f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Hamster a = at(0, 0, 0), b = at(c.bx, c.by, c.bz);
    const Hamster a0 = a, b0 = b;
    a.separate(b, 1.0f);
    EXPECT_TRUE(sameBits(a, a0));
    EXPECT_TRUE(sameBits(b, b0));
  }
}

TEST(Separate, PushGrowsAsThePairClosesAndMovesOnlyPositions) {
  Hamster a = at(0, 0, 0), b = at(0.1f, 0, 0);
  a.vx = 0.5f;
  a.heading = 1.0f;
  a.separate(b, 1.0f);
  EXPECT_FLOAT_EQ(a.x, -0.4f);
  EXPECT_FLOAT_EQ(b.x, 0.1f + 0.4f);
  EXPECT_EQ(a.y, 0.0f);
  EXPECT_EQ(a.z, 0.0f) << "dz = 0 stays 0 when tripled";
  EXPECT_EQ(a.vx, 0.5f);
  EXPECT_EQ(a.heading, 1.0f);

  // 0.15 along y: d2 = 0.0225, no tripling; 0.04 / 0.15 each, times the strength.
  Hamster c = at(0, 0, 0), d = at(0, 0.15f, 0);
  c.separate(d, 0.5f);
  EXPECT_NEAR(c.y, -0.04 / 0.15 * 0.5, 1e-6);
  EXPECT_NEAR(d.y, 0.15 + 0.04 / 0.15 * 0.5, 1e-6);
}

TEST(Separate, ClosePairsArePushedThreeTimesHarderVertically) {
  Hamster a = at(0, 0, 0), b = at(0, 0, 0.1f);
  a.separate(b, 1.0f);
  EXPECT_NEAR(a.z, -1.2, 1e-6);
  EXPECT_NEAR(b.z, 0.1 + 1.2, 1e-6);
  EXPECT_EQ(a.x, 0.0f);
}

TEST(Separate, VeryClosePairsArePushedLessAndCoincidentOnesNotAtAll) {
  // d2 is raised to 0.0001: 0.005 / 0.0001 * 0.04 = 2 per unit strength.
  Hamster a = at(0, 0, 0), b = at(0.005f, 0, 0);
  a.separate(b, 1.0f);
  EXPECT_NEAR(a.x, -2.0, 1e-6);
  EXPECT_NEAR(b.x, 2.005, 1e-6);

  Hamster c = at(0.3f, 0.3f, 0.1f), d = at(0.3f, 0.3f, 0.1f);
  const Hamster c0 = c, d0 = d;
  c.separate(d, 1.0f);
  EXPECT_TRUE(sameBits(c, c0));
  EXPECT_TRUE(sameBits(d, d0));
}

TEST(Separate, WithItselfChangesNothing) {
  Hamster a = at(0.25f, -0.5f, 0.01f);
  const Hamster a0 = a;
  a.separate(a, 2.5f);
  EXPECT_TRUE(sameBits(a, a0));
}

TEST(Separate, TheCentreOfThePairStays) {
  Hamster a = at(0.013f, -0.021f, 0.002f), b = at(0.07f, 0.03f, 0.05f);
  const double cx = (static_cast<double>(a.x) + b.x) / 2, cz = (static_cast<double>(a.z) + b.z) / 2;
  a.separate(b, 0.3f);
  EXPECT_NEAR((static_cast<double>(a.x) + b.x) / 2, cx, 1e-7);
  EXPECT_NEAR((static_cast<double>(a.z) + b.z) / 2, cz, 1e-7);
  EXPECT_LT(a.x, 0.013f);
}

TEST(Relaxation, OneHamsterDoesNotMove) {
  Crowd crowd(1);
  crowd[0] = at(0.1f, 0.2f, 0);
  const Hamster before = crowd[0];
  relaxCrowdReference(crowd.all());
  EXPECT_TRUE(sameBits(crowd[0], before));
}

TEST(Relaxation, ThePairsStrengthFollowsItsDistanceInThePool) {
  // The self pair uses up the first step of each row's chain, so neighbours
  // in the pool get 2.5 * 0.9 / 7 and hamsters three apart 2.5 * 0.9^3 / 7.
  const float chain1 = static_cast<float>(2.5f * 0.9);
  const float chain3 = static_cast<float>(static_cast<float>(chain1 * 0.9) * 0.9);
  for (int gap : {1, 3}) {
    SCOPED_TRACE(gap);
    Crowd crowd(6);
    crowd[0] = at(0, 0, 0);
    crowd[gap] = at(0.1f, 0, 0);
    relaxCrowdReference(crowd.all());
    // One push drives them more than 0.2 apart, so the later passes do nothing.
    const float strength = (gap == 1 ? chain1 : chain3) * 0.14285715f;
    Hamster a = at(0, 0, 0), b = at(0.1f, 0, 0);
    a.separate(b, strength);
    EXPECT_EQ(crowd[0].x, a.x);
    EXPECT_EQ(crowd[gap].x, b.x);
    EXPECT_NEAR(crowd[0].x, -0.4 * 2.5 * std::pow(0.9, gap) / 7, 1e-6);
  }
}

TEST(Relaxation, PassesRepeatUntilThePairIsApart) {
  // A weak push at pool distance 40 (strength about 0.005) needs several passes.
  Crowd crowd(41);
  crowd[0] = at(0, 0, 0);
  crowd[40] = at(0.1f, 0, 0);
  relaxCrowdReference(crowd.all());
  Hamster a = at(0, 0, 0), b = at(0.1f, 0, 0);
  float chain = 2.5f;
  for (int k = 0; k < 40; ++k) chain = static_cast<float>(chain * 0.9);
  for (int pass = 0; pass < kRelaxationPasses; ++pass) a.separate(b, chain * 0.14285715f);
  EXPECT_EQ(crowd[0].x, a.x);
  EXPECT_EQ(crowd[40].x, b.x);
  EXPECT_LT(a.x, -0.01f);
}

TEST(Relaxation, FarApartInThePoolTheStrengthIsSubnormalButNotZero) {
  // 1499 steps down the chain the strength has sunk into the subnormal floats
  // and stays there; a hamster on the floor still picks up a subnormal push.
  Crowd crowd(1500);
  crowd[0] = at(-3, -3, 0);
  crowd[1499] = at(-3, -3, 0.1f);
  relaxCrowdReference(crowd.all());
  EXPECT_LT(crowd[0].z, 0.0f);
  EXPECT_EQ(std::fpclassify(crowd[0].z), FP_SUBNORMAL);
  EXPECT_EQ(crowd[1499].z, 0.1f);
}

TEST(Relaxation, OneStrengthChainForEveryPoolDistance) {
  // The table that both sweeps read, against the chain worked out step by step
  // well past the pool: it settles in the subnormals, so the last entry holds on.
  const StrengthChain& chain = strengthChain();
  float running = 2.5f;
  for (size_t k = 0; k < 5000; ++k) {
    ASSERT_EQ(chain.at(k), running * 0.14285715f) << k;
    if (k < kStrengthSteps) {
      ASSERT_EQ(chain.widened[k], static_cast<double>(chain.strength[k]));
    }
    running = static_cast<float>(running * 0.9);
  }
  EXPECT_EQ(std::fpclassify(chain.at(5000)), FP_SUBNORMAL);
}
