#include "sim/fast_relaxation/skip_bounds.h"

namespace fast_relaxation {

namespace {

constexpr NoChangeBounds makeNoChangeBounds() {
  NoChangeBounds b{};
  for (int k = 0; k < kStrengthSteps; ++k) {
    b.across[k] = static_cast<float>(kAcrossFactor * kStrengthChain.widened[k] / kUnchangedRatio);
    b.upward[k] = static_cast<float>(kUpwardFactor * kStrengthChain.widened[k] / kUnchangedRatio);
  }
  return b;
}

constexpr int firstFarDistance() {
  const double unchangedBelow = static_cast<double>(kSmallCoordinate) * kUnchangedRatio;
  for (int k = 1; k < kStrengthSteps; ++k) {
    if (kFarPushBound * kStrengthChain.widened[k] < unchangedBelow) return k;
  }
  return kStrengthSteps;
}

// Both worked out by the compiler.
constexpr NoChangeBounds kNoChangeBounds = makeNoChangeBounds();
constexpr int kFarDistance = firstFarDistance();

}  // namespace

const NoChangeBounds& noChangeBounds() {
  return kNoChangeBounds;
}

int farDistance() {
  return kFarDistance;
}

}  // namespace fast_relaxation
