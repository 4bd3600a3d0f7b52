// The contact relaxation of sim/relaxation.h, to the same bits, without
// visiting every pair. This is the one header of sim/fast_relaxation/; the
// other files there are its inside, and the design note heads
// fast_relaxation.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "scene/scene_state.h"

class Hamster;

namespace fast_relaxation {
struct SweepCrowd;
class RowCandidates;
}  // namespace fast_relaxation

// Crowds smaller than this are relaxed by the literal loop: they are done
// sooner than the grid is set up.
inline constexpr int kFewHamsters = 40;

// One form of the sweep, named for the instruction set of its candidate test
// (candidate_test.h): "scalar" tests one lane at a time, the others a vector
// at a time. All give the same bits. The push itself is the build's in every
// branch: SSE2 on x86-64 and in the browser, plain where
// QUIBBIX_PORTABLE_RELAXATION is defined (sim/simd_targets.h).
struct SweepBranch {
  const char* name;
  bool (*runsHere)();  // whether this build on this CPU can run it
  void (*sweep)(fast_relaxation::SweepCrowd& crowd, fast_relaxation::RowCandidates& row);
};

// Every branch this build has, the preferred first: the CPU's widest, except
// that AVX2 goes before AVX-512. With AVX-512 enabled for the whole sweep,
// GCC 12's code for it ran about a tenth slower on the AVX-512 CPU measured
// (bench/README.md), more than the wider test wins back. The browser build
// has SSE2 as WebAssembly SIMD and the scalar one; any other build off x86-64
// (or with QUIBBIX_PORTABLE_RELAXATION) only the scalar one.
std::span<const SweepBranch> sweepBranches();
// The first of them that runs here.
const SweepBranch& preferredSweepBranch();

// How the calls of FastRelaxation::relax went: by the fast sweep, or handed to
// the literal loop; how often the pair list was made whole, and how many
// hamsters had their pairs listed anew after moving.
struct FastRelaxationCounters {
  uint64_t literalSweeps = 0;
  uint64_t fastSweeps = 0;
  uint64_t pairListsMade = 0;
  uint64_t hamstersRelisted = 0;
};

// The fast relaxation with everything it keeps from one call to the next: the
// packed crowd and its grids, the pair list, a row's candidates, the branch it
// sweeps in and its counters. The caller owns it and keeps it for the crowd it
// relaxes (the scene record holds the program's, see fastRelaxationOf); a
// fresh one, or one last used on another crowd, gives the same bits, only
// sooner or later.
class FastRelaxation final : public RelaxationWorkspace {
 public:
  // Throws std::invalid_argument for a branch that does not run here.
  explicit FastRelaxation(const SweepBranch& branch = preferredSweepBranch());
  ~FastRelaxation() override;

  // Same result as relaxCrowdReference for every state. Crowds smaller than
  // kFewHamsters or larger than the pool go to the literal loop.
  void relax(std::span<Hamster* const> crowd);

  const SweepBranch& branch() const { return *branch_; }
  const FastRelaxationCounters& counters() const { return counters_; }

 private:
  struct Buffers;
  const SweepBranch* branch_;
  std::unique_ptr<Buffers> buffers_;
  FastRelaxationCounters counters_;
};

// The scene's fast relaxation, made in the preferred branch on first use.
FastRelaxation& fastRelaxationOf(SceneState& state);
