// Contact relaxation: pushes overlapping hamsters apart, pair by pair, several
// times per frame. Positions only; nothing is confined afterwards.
#pragma once

#include <span>

class Hamster;

inline constexpr int kRelaxationPasses = 7;

// Which contact relaxation runs: the fast one, or the literal quadratic loop
// that defines the results and against which the fast one is checked.
enum class Relaxation { kFast, kReference };

// The literal loop: seven passes of Hamster::separate over every pair i <= j
// of `crowd`, in pool order, the pair (i, j) with the strength
// 2.5 * 0.9^(j - i) / 7 of the float chain; n (n + 1) / 2 calls per pass. The
// fast relaxation (sim/fast_relaxation/) gives the same bits.
void relaxCrowdReference(std::span<Hamster* const> crowd);
