// Design note.
//
// The literal sweep calls separate for every pair i <= j, seven times over, in
// a fixed order where each push is seen by the next call. Only pairs whose
// coordinates all lie within 0.2 of each other can push, so this sweep visits
// just those, in the same order, and calls the very same push on them:
//
// - Positions are packed into three float arrays for the sweep and written back
//   at the end (SweepCrowd); the push itself is pushApart, shared with
//   Hamster::separate, and the strengths come from the same StrengthChain as
//   the literal loop's.
// - A grid of cells (CrowdGrid) keeps, for each cell, a bit set by pool index
//   of the hamsters that can be within reach of one in the cell; taking row
//   i's bits in increasing order gives its pairs in pool order.
// - A push moves hamster i and hamster j. Either may change cell: the grid is
//   updated at once, and when i has moved cell the rest of its row is collected
//   anew, from the next pool index on, so a pair that came into reach is not
//   missed.
// - Hamsters with a non-finite coordinate never push nor get pushed, so they
//   are left out of the grid. The pair of a hamster with itself still runs,
//   since it turns -0.0 into +0.0.
// - Pairs whose push provably changes nothing are left out (skip_bounds.h):
//   far along the chain all but those with a small hamster, nearer in the pool
//   those whose push, bounded from their distance, is below every threshold.
//   A hamster's smallness is re-checked after every push, like its cell.
// - Each row's candidates are tested a block at a time (RowCandidates); after a
//   push moves hamster i only the rest of the block is tested again.
#include "sim/fast_relaxation.h"

#include <cmath>

#include "scene/scene_state.h"
#include "sim/hamster.h"
#include "sim/push_apart.h"
#include "sim/relaxation.h"
#include "sim/row_candidates.h"
#include "sim/strength_chain.h"
#include "sim/sweep_crowd.h"

namespace {

using fast_relaxation::RowCandidates;
using fast_relaxation::SweepCrowd;

static_assert(kStrengthSteps >= kMaxHamsters, "the sweep reads strengths by pool distance");

FastRelaxationCounters counters;

// What the push of a hamster with itself comes to: every difference is +0, so
// each coordinate gets +0 added and taken away again, which turns -0 into +0
// and changes nothing else (and a non-finite coordinate stops the push). The
// cell and the smallness stay as they were.
void pairWithItself(float& x, float& y, float& z) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return;
  x = x + 0.0f;
  y = y + 0.0f;
  z = z + 0.0f;
}

class Sweep {
 public:
  Sweep(SweepCrowd& crowd, RowCandidates& row)
      : crowd_(crowd),
        row_(row),
        strength_(strengthChain().widened.data()),
        far_(fast_relaxation::farDistance()) {}

  // Row i: the pair with itself, then its candidates in pool order.
  void row(int i) {
    float* const x = crowd_.x.data();
    float* const y = crowd_.y.data();
    float* const z = crowd_.z.data();
    pairWithItself(x[i], y[i], z[i]);
    for (int from = i + 1; from < crowd_.count && crowd_.cell[i] != fast_relaxation::kNoCell;) {
      row_.collect(crowd_, i, from, far_);
      from = pushCandidates(i);
    }
  }

 private:
  // Pushes hamster i against the collected candidates. Returns the pool index
  // after the last candidate pushed when i changed cell or smallness on the
  // way (the rest of the row must be collected anew), or the crowd's size when
  // the row is done.
  int pushCandidates(int i) {
    float* const x = crowd_.x.data();
    float* const y = crowd_.y.data();
    float* const z = crowd_.z.data();
    for (int first = 0; first < row_.size(); first += RowCandidates::kBlock) {
      uint32_t marks = row_.testBlock(first, x[i], y[i], z[i]);
      while (marks != 0) {
        const int lane = __builtin_ctz(marks);
        marks &= marks - 1;
        const int j = row_.hamster(first + lane);
        const float xi = x[i], yi = y[i], zi = z[i];
        if (!pushApart(x[i], y[i], z[i], x[j], y[j], z[j], strength_[j - i])) continue;

        crowd_.refile(j);
        if (x[i] == xi && y[i] == yi && z[i] == zi) continue;
        if (crowd_.refile(i)) return j + 1;
        marks = row_.testBlock(first, x[i], y[i], z[i]) & (~uint32_t{1} << lane);
      }
    }
    return crowd_.count;
  }

  SweepCrowd& crowd_;
  RowCandidates& row_;
  const double* strength_;
  int far_;
};

}  // namespace

void relaxCrowdFast(std::span<Hamster* const> crowd) {
  if (crowd.size() < static_cast<size_t>(kFewHamsters) ||
      crowd.size() > static_cast<size_t>(kMaxHamsters)) {
    ++counters.literalSweeps;
    relaxCrowdReference(crowd);
    return;
  }
  ++counters.fastSweeps;
  // The simulation runs on one thread; the buffers are kept between frames.
  static SweepCrowd sweepCrowd;
  static RowCandidates row;
  sweepCrowd.start(crowd);
  Sweep sweep(sweepCrowd, row);
  for (int pass = 0; pass < kRelaxationPasses; ++pass) {
    for (int i = 0; i < sweepCrowd.count; ++i) sweep.row(i);
  }
  sweepCrowd.finish(crowd);
}

const FastRelaxationCounters& fastRelaxationCounters() {
  return counters;
}
