// Design note.
//
// The relaxation is a sequential sweep, not a force sum: every call of
// separate moves both hamsters at once, and the very next call sees the moved
// positions. The result therefore depends on the exact order of the calls, on
// every row starting with the hamster paired with itself (a no-op that still
// uses up the first step of the strength chain), and on the chain being a float
// that is multiplied by the double 0.9 and rounded back after every call. After
// about a thousand steps the chain runs into subnormal floats and settles at a
// tiny non-zero value, so pairs far apart in the pool are still pushed, by
// amounts that only show on positions at or near zero. Flushing subnormals to
// zero would change results.
//
// relaxCrowdReference is that sweep written out literally: 7 n (n + 1) / 2
// calls, about 7.9 million at 1500 hamsters, most of them ending at the first
// box test of separate. A faster sweep may skip calls only where it can prove
// separate would change nothing, must use the same chain (sim/strength_chain.h), and is
// checked bit for bit against this one.
#include "sim/relaxation.h"

#include "sim/hamster.h"
#include "sim/strength_chain.h"

void relaxCrowdReference(std::span<Hamster* const> crowd) {
  const size_t count = crowd.size();
  const StrengthChain& chain = strengthChain();
  for (int pass = 0; pass < kRelaxationPasses; ++pass) {
    for (size_t i = 0; i < count; ++i) {
      Hamster& first = *crowd[i];
      for (size_t j = i; j < count; ++j) first.separate(*crowd[j], chain.at(j - i));
    }
  }
}
