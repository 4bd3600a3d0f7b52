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

// The instruction sets the sweep's candidate test comes in, narrowest first.
// All give the same bits. The CPU's widest is taken, except that AVX2 goes
// before AVX-512: with AVX-512 enabled for the whole sweep, GCC 12's code for
// it ran about a tenth slower on the AVX-512 CPU measured (bench/README.md),
// more than the wider test wins back. Another branch can be asked for. Only the
// portable one exists off x86-64 (or in a build with
// QUIBBIX_PORTABLE_RELAXATION).
enum class SweepBranch { kPortable, kSse2, kAvx2, kAvx512 };
inline constexpr int kSweepBranches = 4;
const char* sweepBranchName(SweepBranch branch);
// Whether this build on this CPU can run it.
bool sweepBranchRuns(SweepBranch branch);
SweepBranch preferredSweepBranch();
// For tests and benchmarks; a branch that cannot run here is refused (false).
bool useSweepBranch(SweepBranch branch);
SweepBranch sweepBranch();

// How the calls of relaxCrowdFast went, since the start of the program: by the
// fast sweep in each branch, or handed to the literal loop; how often
// the pair list was made whole, and how many hamsters had their pairs listed
// anew after moving.
struct FastRelaxationCounters {
  uint64_t literalSweeps = 0;
  uint64_t sweepsByBranch[kSweepBranches] = {};
  uint64_t pairListsMade = 0;
  uint64_t hamstersRelisted = 0;
};
const FastRelaxationCounters& fastRelaxationCounters();
