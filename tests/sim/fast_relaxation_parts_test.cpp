// The parts of the fast relaxation whose promises its proofs rest on, tested
// alone on the stress crowds: the vector push gives pushApart's bits, and the
// pair list leaves out no pair within reach, also once every hamster has
// drifted as far from its anchor as the sweep lets it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "sim/fast_relaxation/pair_list.h"
#include "sim/fast_relaxation/push_points.h"
#include "sim/fast_relaxation/skip_bounds.h"
#include "sim/fast_relaxation/sweep_crowd.h"
#include "sim/hamster.h"
#include "sim/push_apart.h"
#include "sim/strength_chain.h"
#include "tests/sim/stress_crowds.h"

namespace {

using fast_relaxation::SweepCrowd;

bool finite(const Spot& s) {
  return std::isfinite(s.x) && std::isfinite(s.y) && std::isfinite(s.z);
}

// Whether the literal loop's push moves this pair.
bool withinReach(const float* a, const float* b) {
  float ax = a[0], ay = a[1], az = a[2], bx = b[0], by = b[1], bz = b[2];
  return pushApart(ax, ay, az, bx, by, bz, 1.0);
}

// Counts the pairs within reach in the near part of every row and expects
// each to be listed.
int expectNearPairsListed(const SweepCrowd& crowd, int far) {
  int pairs = 0;
  for (int i = 0; i < crowd.count; ++i) {
    const uint64_t* bits = crowd.pairs.row(i) - fast_relaxation::PairList::rowWord(i);
    for (int j = i + 1; j <= std::min(i + far, crowd.count - 1); ++j) {
      if (!withinReach(crowd.at[i].v, crowd.at[j].v)) continue;
      ++pairs;
      EXPECT_TRUE((bits[j >> 6] >> (j & 63)) & 1) << "pair " << i << ", " << j;
    }
  }
  return pairs;
}

}  // namespace

TEST(FastRelaxationParts, TheVectorPushGivesPushApartsBits) {
  const StrengthChain& chain = strengthChain();
  int pushed = 0;
  for (const auto& [name, layout] : stressCrowds()) {
    SCOPED_TRACE(name);
    for (size_t i = 0; i < layout.size(); ++i) {
      for (size_t j = i + 1; j < std::min(i + 6, layout.size()); ++j) {
        if (!finite(layout[i]) || !finite(layout[j])) continue;  // the sweep pushes no others
        for (int distance : {1, 7, 120, 900, kStrengthSteps - 1}) {
          Spot a = layout[i], b = layout[j];
          const double strength = chain.widened[distance];
          const bool literal = pushApart(a.x, a.y, a.z, b.x, b.y, b.z, strength);
          alignas(16) float va[4] = {layout[i].x, layout[i].y, layout[i].z, 0};
          alignas(16) float vb[4] = {layout[j].x, layout[j].y, layout[j].z, 0};
          fast_relaxation::Point pa = fast_relaxation::loadPoint(va),
                                 pb = fast_relaxation::loadPoint(vb);
          ASSERT_EQ(fast_relaxation::pushPoints(pa, pb, strength), literal) << i << ", " << j;
          fast_relaxation::storePoint(va, pa);
          fast_relaxation::storePoint(vb, pb);
          ASSERT_EQ(0, std::memcmp(va, &a, sizeof a)) << i << ", " << j << " at " << distance;
          ASSERT_EQ(0, std::memcmp(vb, &b, sizeof b)) << i << ", " << j << " at " << distance;
          pushed += literal;
        }
      }
    }
  }
  EXPECT_GT(pushed, 10000);
}

TEST(FastRelaxationParts, ThePairListLeavesNoPairWithinReachOut) {
  const int far = fast_relaxation::farDistance();
  // Every hamster moves this far from its anchor on each axis, by signs that
  // vary from one to the next, so that many pairs come closer: just less than
  // the drift the sweep lets pass without listing the hamster anew.
  const float drift = 0.999f * 0.45f * fast_relaxation::kSkin / std::sqrt(3.0f);
  for (const auto& [name, layout] : stressCrowds()) {
    SCOPED_TRACE(name);
    std::vector<Hamster> hamsters(layout.size());
    std::vector<Hamster*> crowd;
    for (size_t i = 0; i < layout.size(); ++i) {
      hamsters[i].x = layout[i].x;
      hamsters[i].y = layout[i].y;
      hamsters[i].z = layout[i].z;
      crowd.push_back(&hamsters[i]);
    }
    SweepCrowd sweep;
    sweep.start(crowd, far);
    expectNearPairsListed(sweep, far);
    for (int h = 0; h < sweep.count; ++h) {
      if (!finite(layout[h])) continue;  // never pushed, never listed
      for (int axis = 0; axis < 3; ++axis)
        sweep.at[h].v[axis] += ((h >> axis) & 1) ? drift : -drift;
      ASSERT_LE(SweepCrowd::squaredApart(sweep.at[h], sweep.anchors()[h]),
                fast_relaxation::kDriftSquared);
    }
    const int pairs = expectNearPairsListed(sweep, far);
    if (layout.size() > 300) {
      EXPECT_GT(pairs, 0);
    }
  }
}
