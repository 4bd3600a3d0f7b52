// The contact relaxation of sim/relaxation.h, to the same bits, without
// visiting every pair.
#pragma once

#include <cstdint>
#include <span>

class Hamster;

// Crowds smaller than this are relaxed by the literal loop: they are done
// sooner than the grid is set up.
inline constexpr int kFewHamsters = 40;

// Same result as relaxCrowdReference for every state. Crowds larger than the
// pool fall back to the literal loop.
void relaxCrowdFast(std::span<Hamster* const> crowd);

// How the calls of relaxCrowdFast went, since the start of the program: by the
// fast sweep, or handed to the literal loop.
struct FastRelaxationCounters {
  uint64_t fastSweeps = 0;
  uint64_t literalSweeps = 0;
};
const FastRelaxationCounters& fastRelaxationCounters();
