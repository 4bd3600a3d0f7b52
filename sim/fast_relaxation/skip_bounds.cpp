#include "sim/fast_relaxation/skip_bounds.h"

namespace fast_relaxation {

const NoChangeBounds& noChangeBounds() {
  static const NoChangeBounds bounds = [] {
    NoChangeBounds b{};
    const StrengthChain& chain = strengthChain();
    for (int k = 0; k < kStrengthSteps; ++k) {
      b.across[k] = static_cast<float>(kAcrossFactor * chain.widened[k] / kUnchangedRatio);
      b.upward[k] = static_cast<float>(kUpwardFactor * chain.widened[k] / kUnchangedRatio);
    }
    return b;
  }();
  return bounds;
}

int farDistance() {
  static const int distance = [] {
    const StrengthChain& chain = strengthChain();
    const double unchangedBelow = static_cast<double>(kSmallCoordinate) * kUnchangedRatio;
    for (int k = 1; k < kStrengthSteps; ++k) {
      if (kFarPushBound * chain.widened[k] < unchangedBelow) return k;
    }
    return kStrengthSteps;
  }();
  return distance;
}

}  // namespace fast_relaxation
