// The strength of the push between two hamsters of one row of the relaxation,
// by their distance in the pool. Each row starts its chain at 2.5; every pair
// hands on the chain times the float nearest 1/7 and then multiplies it by the
// double 0.9, rounding back to float. The chain is worked out once, here, for
// the literal loop and the fast sweep alike.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

// Well before this many steps the chain has sunk into the subnormal floats and
// settled at a value that 0.9 rounds back onto itself, so the last entry holds
// for every greater distance too.
inline constexpr int kStrengthSteps = 1500;

struct StrengthChain {
  std::array<float, kStrengthSteps> strength;  // handed to the push, by pool distance
  // The same values widened once: converting a subnormal float is slow, and
  // the fast sweep reads them for every push.
  std::array<double, kStrengthSteps> widened;

  float at(size_t distance) const {
    return strength[std::min(distance, static_cast<size_t>(kStrengthSteps - 1))];
  }
};

// Worked out by the compiler, in the float and double arithmetic the program
// would use: the chain is in the binary as constants.
constexpr StrengthChain makeStrengthChain() {
  constexpr float kRowStrength = 2.5f;
  constexpr float kOneSeventh = 0.14285715f;  // the float nearest 1/7
  constexpr double kChainFactor = 0.9;
  StrengthChain chain{};
  float running = kRowStrength;
  for (int k = 0; k < kStrengthSteps; ++k) {
    chain.strength[k] = running * kOneSeventh;
    chain.widened[k] = chain.strength[k];
    running = static_cast<float>(running * kChainFactor);
  }
  return chain;
}
inline constexpr StrengthChain kStrengthChain = makeStrengthChain();

inline const StrengthChain& strengthChain() {
  return kStrengthChain;
}
