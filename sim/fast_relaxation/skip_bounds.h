// When the fast sweep may leave out a pair of the literal loop: only where the
// push provably changes no coordinate. Two facts carry every bound here:
//
// - Each axis of a push is at most kLargestPushPerStrength times the strength:
//   |d| / d2 <= 100 with d2 clamped at 0.0001, times the scale 0.04, times 3
//   for the z of a close pair.
// - A float c != 0 keeps its bits under any change smaller than
//   |c| * kUnchangedRatio: half its spacing, however the sum is rounded.
//
// So far along the chain (from farDistance() on) a pair changes nothing unless
// one of the two has a coordinate below kSmallCoordinate in magnitude ("small":
// zero and subnormals included), and nearer in the pool a pair is still left
// out when the push bounded from its actual distance is below every one of its
// coordinates' thresholds (the candidate test, candidate_marks.h). Positions
// are compared in float, within a few parts in 2^24 of the double arithmetic of
// the push; the bounds keep a factor of two to spare for that.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "sim/strength_chain.h"

namespace fast_relaxation {

// A pair is pushed only while its squared distance (a double) is below 0.04,
// which also keeps every coordinate difference within the push's box of 0.2;
// the same sum in float is below this bound whenever that holds.
inline constexpr float kReachSquared = 0.0401f;
// The push clamps the squared distance from below at this.
inline constexpr float kSmallestSquared = 0.0001f;
// See the two facts above.
inline constexpr double kLargestPushPerStrength = 12;
inline constexpr double kUnchangedRatio = 0x1p-26;
// Hamsters with a coordinate below this in magnitude are pushed by far pairs too.
inline constexpr float kSmallCoordinate = 0x1p-17f;

// A pair is far when even kFarPushBound (the largest push, with a third to
// spare) times its strength cannot change a coordinate of kSmallCoordinate.
inline constexpr double kFarPushBound = 16;
static_assert(kFarPushBound > kLargestPushPerStrength);

// The candidate test compares kAcrossFactor s / kUnchangedRatio |e| with
// |c| d2 on x and y, and three times that on z: the push scale 0.04 with the
// factor of two to spare.
inline constexpr double kAcrossFactor = 0.08;
inline constexpr double kUpwardFactor = 0.24;

// Per pool distance k, the no-change bounds of the candidate test, in float.
struct NoChangeBounds {
  std::array<float, kStrengthSteps> across;  // for x and y
  std::array<float, kStrengthSteps> upward;  // for z
};
const NoChangeBounds& noChangeBounds();

// The first pool distance from which on a push cannot change a coordinate of
// magnitude kSmallCoordinate or more (the strengths never grow along the chain).
int farDistance();

[[gnu::always_inline]] inline bool isSmall(float x, float y, float z) {
  return !(std::fabs(x) >= kSmallCoordinate && std::fabs(y) >= kSmallCoordinate &&
           std::fabs(z) >= kSmallCoordinate);
}

}  // namespace fast_relaxation
