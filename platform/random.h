// The program's random numbers: one small linear congruential generator with
// values 0 to 32767, pinned here so that a seed gives the same scene on every
// system. Every use in the program is platform::rand() % n, so the order of the
// draws is part of each algorithm.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr int kRandMax = 32767;

void srand(uint32_t seed);
int rand();

}  // namespace platform
