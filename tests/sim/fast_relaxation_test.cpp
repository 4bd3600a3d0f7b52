// The fast relaxation against the literal loop, bit for bit, on states chosen
// to break the shortcuts it takes: crowds stacked on one point, spread far
// outside its grid, on the box and cell boundaries, with zeros of both signs,
// subnormal and non-finite coordinates. (Whole runs with jumps are compared
// through the replay tool, tests/replay.) Every
// comparison also checks that the crowd went through the fast sweep whenever
// its size calls for it, so the literal loop is never compared with itself.
#include "sim/fast_relaxation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "platform/random.h"
#include "sim/hamster.h"
#include "sim/relaxation.h"

namespace {

// Crowds of 40 up to the whole pool go through the fast sweep, smaller and
// larger ones through the literal loop.
bool bySweep(int count) {
  return count >= 40 && count <= 1500;
}

// Two copies of one crowd, relaxed one way each.
class Twins {
 public:
  explicit Twins(int count) {
    for (int i = 0; i < count; ++i) {
      literal_.push_back(std::make_unique<Hamster>());
      fast_.push_back(std::make_unique<Hamster>(*literal_.back()));
    }
  }

  void place(int i, float x, float y, float z) {
    for (auto* crowd : {&literal_, &fast_}) {
      Hamster& h = *(*crowd)[i];
      h.x = x;
      h.y = y;
      h.z = z;
    }
  }

  // Relaxes both and reports the first hamster whose position bits differ.
  void relaxAndCompare(int rounds = 1) {
    std::vector<Hamster*> literal, fast;
    for (auto& h : literal_) literal.push_back(h.get());
    for (auto& h : fast_) fast.push_back(h.get());
    for (int round = 0; round < rounds; ++round) {
      relaxCrowdReference(literal);
      const FastRelaxationCounters before = fastRelaxationCounters();
      relaxCrowdFast(fast);
      EXPECT_EQ(fastRelaxationCounters().fastSweeps - before.fastSweeps, bySweep(size()) ? 1u : 0u);
      EXPECT_EQ(fastRelaxationCounters().literalSweeps - before.literalSweeps,
                bySweep(size()) ? 0u : 1u);
      for (size_t i = 0; i < literal.size(); ++i) {
        ASSERT_EQ(0, std::memcmp(&literal[i]->x, &fast[i]->x, 3 * sizeof(float)))
            << "round " << round << ", hamster " << i << ": literal (" << literal[i]->x << ", "
            << literal[i]->y << ", " << literal[i]->z << "), fast (" << fast[i]->x << ", "
            << fast[i]->y << ", " << fast[i]->z << ")";
      }
    }
  }

  int size() const { return static_cast<int>(literal_.size()); }

 private:
  std::vector<std::unique_ptr<Hamster>> literal_, fast_;
};

float uniform(float low, float high) {
  return low + (high - low) * static_cast<float>(platform::rand()) / platform::kRandMax;
}

}  // namespace

TEST(FastRelaxation, RandomCrowdsOfEverySize) {
  platform::srand(11);
  for (int count : {1, 2, 3, 39, 40, 63, 64, 65, 129, 400, 1500, 1501}) {
    SCOPED_TRACE(count);
    Twins twins(count);
    for (int i = 0; i < count; ++i)
      twins.place(i, uniform(-1.2f, 1.2f), uniform(-1.2f, 1.2f), uniform(0, 0.3f));
    twins.relaxAndCompare(2);
  }
}

TEST(FastRelaxation, CrowdsStackedOnOnePoint) {
  for (float centre : {0.0f, -0.0f, 0.3f, 1.1f}) {
    SCOPED_TRACE(centre);
    Twins twins(300);
    for (int i = 0; i < twins.size(); ++i) twins.place(i, centre, -centre, i % 3 ? 0.0f : -0.0f);
    twins.relaxAndCompare(3);
  }
}

TEST(FastRelaxation, ATightClusterPushingItselfAround) {
  Twins twins(60);
  for (int i = 0; i < 60; ++i) twins.place(i, 0.01f * (i % 7), 0.013f * (i % 5), 0.002f * (i % 3));
  twins.relaxAndCompare();
}

TEST(FastRelaxation, NearlyStackedWithZerosAndSubnormals) {
  const float tiny = std::numeric_limits<float>::denorm_min();
  const float values[] = {0.0f, -0.0f, tiny, -tiny, 1e-40f, -3e-39f, 1e-30f, 7e-6f, -1e-5f, 0.001f};
  Twins twins(500);
  platform::srand(3);
  for (int i = 0; i < twins.size(); ++i) {
    twins.place(i, values[platform::rand() % 10], values[platform::rand() % 10],
                values[platform::rand() % 10]);
  }
  twins.relaxAndCompare(2);
}

TEST(FastRelaxation, SpreadFarOutsideTheGridAndNonFinite) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Twins twins(600);
  platform::srand(5);
  for (int i = 0; i < twins.size(); ++i) {
    switch (i % 6) {
      case 0:
        twins.place(i, uniform(-40, 40), uniform(-40, 40), uniform(-1, 1));
        break;
      case 1:
        twins.place(i, uniform(1.9f, 2.1f), uniform(-2.1f, -1.9f), 0);
        break;  // grid edge
      case 2:
        twins.place(i, 3e38f, -3e38f + uniform(0, 1e32f), 0);
        break;
      case 3:
        twins.place(i, i % 4 ? nan : 0.0f, 0, i % 5 ? 0.0f : inf);
        break;
      case 4:
        twins.place(i, -inf, inf, 0);
        break;
      default:
        twins.place(i, uniform(-0.1f, 0.1f), uniform(-0.1f, 0.1f), uniform(0, 0.1f));
    }
  }
  twins.relaxAndCompare(2);
}

TEST(FastRelaxation, PairsOnTheBoxAndCellBoundaries) {
  // Differences of exactly the float 0.2 (just outside the double 0.2) and of
  // the float below it (just inside), on a lattice whose points also sit on the
  // edges of the grid's cells.
  const float inside = std::nextafter(0.2f, 0.0f);
  Twins twins(900);
  int i = 0;
  for (int row = 0; row < 30; ++row) {
    for (int column = 0; column < 30; ++column, ++i) {
      const float step = (row + column) % 2 ? 0.2f : inside;
      twins.place(i, -1.5f + column * step, -1.5f + row * 0.125f, (column % 3) * inside);
    }
  }
  twins.relaxAndCompare(2);
}

TEST(FastRelaxation, AHamsterAtZeroIsPushedFromAnyDistanceInThePool) {
  // Far along the strength chain only coordinates at or near zero still move:
  // pair a hamster with x = 0, or with z = 0, with a neighbour at every pool
  // distance around the point where the fast sweep stops looking at ordinary
  // pairs.
  for (int distance = 260; distance < 340; ++distance) {
    for (bool zeroHeight : {false, true}) {
      SCOPED_TRACE(testing::Message() << distance << (zeroHeight ? " z" : " x"));
      Twins twins(distance + 2);
      for (int i = 0; i < twins.size(); ++i) twins.place(i, 40.0f + i, -40.0f, 0.5f);
      twins.place(1, 0.05f, 0.5f, 0.1f);
      twins.place(1 + distance, zeroHeight ? 0.1f : 0.0f, 0.45f, zeroHeight ? 0.0f : 0.1f);
      twins.relaxAndCompare();
    }
  }
}
