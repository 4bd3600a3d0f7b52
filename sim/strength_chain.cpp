#include "sim/strength_chain.h"

namespace {
constexpr float kRowStrength = 2.5f;
constexpr float kOneSeventh = 0.14285715f;  // the float nearest 1/7
constexpr double kChainFactor = 0.9;
}  // namespace

const StrengthChain& strengthChain() {
  static const StrengthChain table = [] {
    StrengthChain chain{};
    float running = kRowStrength;
    for (int k = 0; k < kStrengthSteps; ++k) {
      chain.strength[k] = running * kOneSeventh;
      chain.widened[k] = chain.strength[k];
      running = static_cast<float>(running * kChainFactor);
    }
    return chain;
  }();
  return table;
}
