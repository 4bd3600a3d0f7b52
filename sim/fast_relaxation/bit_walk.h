// Walking the set bits of a word of a bit set by pool index.
#pragma once

#include <cstdint>

namespace fast_relaxation {

// Calls visit(index) for each set bit of `word`, lowest first, where bit b
// stands for the index base + b (base a multiple of 64).
template <class Visit>
[[gnu::always_inline]] inline void forEachBit(uint64_t word, int base, Visit&& visit) {
  for (; word != 0; word &= word - 1) visit(base | __builtin_ctzll(word));
}

}  // namespace fast_relaxation
