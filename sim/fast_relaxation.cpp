// Design note.
//
// The literal sweep calls separate for every pair i <= j, seven times over, in
// a fixed order where each push is seen by the next call. Only pairs whose
// coordinates all lie within 0.2 of each other can push, so this sweep visits
// just those, in the same order, and calls the very same push on them:
//
// - Positions are packed four floats to a hamster for the sweep and written back
//   at the end (SweepCrowd); the push itself is pushApart, shared with
//   Hamster::separate, and the strengths come from the same StrengthChain as
//   the literal loop's.
// - A grid of cells (CrowdGrid) keeps, for each cell, a bit set by pool index
//   of the hamsters that can be within reach of one in the cell. The pair
//   list is made from it, and the far partners of small hamsters come from it.
//   Taking a row's bits in increasing order gives its pairs in pool order.
// - A push moves hamster i and hamster j. Either may change cell, smallness or
//   anchor: the grids and the list are updated at once, and when i has changed
//   the rest of its row is collected anew, from the next pool index on, so a
//   pair that came into reach is not missed. Most pushes leave both inside a
//   box where their cells and smallness cannot change and near their anchors,
//   which is all that is checked then. Grids and list are kept from one call
//   to the next.
// - Hamsters with a non-finite coordinate never push nor get pushed, so they
//   are left out of the grid. The pair of a hamster with itself still runs,
//   since it turns -0.0 into +0.0.
// - Pairs whose push provably changes nothing are left out (skip_bounds.h):
//   far along the chain all but those with a small hamster, nearer in the pool
//   those whose push, bounded from their distance, is below every threshold.
//   A hamster's smallness is re-checked after every push, like its cell.
// - The near part of a row comes from a pair list with a skin (pair_list.h,
//   which proves that no pair is lost), made once and kept over the passes and
//   frames: a hamster that moves too far from where its pairs were listed has
//   them listed anew at once, wherever in the sweep that happens.
// - Each row's candidates are tested a block at a time (RowCandidates,
//   sweep_forms.h), in the form the CPU runs best (fast_relaxation.h). After a push moves hamster
//   i, only the candidates of its block that are not marked yet are tested
//   again: a mark that has gone stale calls the push on a pair the literal
//   loop calls it on too, which is exact. The marks seldom change, so the next
//   push does not wait for that test. Hamster i's position stays in registers
//   along its row, and it is refiled after every push whether or not it moved
//   (a branch on that was guessed wrong too often).
// - The time goes to the pushes themselves and to the instructions around
//   them (collecting, testing, refiling), not to waiting: the sweep is bound by
//   how many instructions it issues, so each shortcut here is judged by that.
#include "sim/fast_relaxation.h"

#include <cmath>

#include "scene/scene_state.h"
#include "sim/hamster.h"
#include "sim/push_apart.h"
#include "sim/push_points.h"
#include "sim/relaxation.h"
#include "sim/row_candidates.h"
#include "sim/strength_chain.h"
#include "sim/sweep_crowd.h"
#include "sim/sweep_forms.h"

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

// The sweep with the inner steps of `Form`. Everything here is inlined into
// one function per form, which is compiled for that form's instruction set.
template <class Form>
class Sweep {
 public:
  Sweep(SweepCrowd& crowd, RowCandidates& row, int far)
      : crowd_(crowd), row_(row), strength_(strengthChain().widened.data()), far_(far) {}

  // Row i: the pair with itself, then its candidates in pool order.
  [[gnu::always_inline]] void row(int i) {
    float* const own = crowd_.at[i].v;
    pairWithItself(own[0], own[1], own[2]);
    for (int from = i + 1; from < crowd_.count && crowd_.cell[i] != fast_relaxation::kNoCell;) {
      row_.collect(crowd_, i, from, far_);
      from = pushCandidates(i);
    }
  }

 private:
  // Pushes hamster i against the collected candidates. Returns the pool index
  // after the last candidate pushed when i changed cell, smallness or
  // anchor on the way (the rest of the row must be collected anew), or the
  // crowd's size when the row is done.
  [[gnu::always_inline]] int pushCandidates(int i) {
    using fast_relaxation::Point;
    SweepCrowd::Quad* const at = crowd_.at.data();
    Point own = fast_relaxation::loadPoint(at[i].v);
    for (int first = 0; first < row_.size(); first += Form::kBlock) {
      const uint32_t valid = lanesInBlock<Form::kBlock>(row_, first);
      uint32_t marks = test(first, own);
      // The lanes that are not marked and were tested before hamster i last
      // moved. Each is tested again before the pushes reach it: a lane the
      // new position marks is pushed in its turn. A mark that is kept
      // although it would no longer be set only calls the push on a pair the
      // literal loop calls it on too, so marks are never taken back. The marks
      // seldom change, and as a branch that is guessed right the test does
      // not hold up the next push, which goes on with the old marks.
      uint32_t untested = 0;
      for (;;) {
        const uint32_t beforeNextMark = marks != 0 ? (marks & (0 - marks)) - 1 : ~uint32_t{0};
        if ((untested & beforeNextMark) != 0) {
          const uint32_t added = test(first, own) & untested;
          untested = 0;
          if (added != 0) [[unlikely]]
            marks |= added;
        }
        if (marks == 0) break;
        const int lane = __builtin_ctz(marks);
        marks &= marks - 1;
        const int j = row_.hamster(first + lane);
        Point other = fast_relaxation::loadPoint(at[j].v);
        if (!fast_relaxation::pushPoints(own, other, strength_[j - i])) continue;

        fast_relaxation::storePoint(at[i].v, own);
        fast_relaxation::storePoint(at[j].v, other);
        if (crowd_.refilePushed(i, j)) return j + 1;
        untested = valid & ~marks & (~uint32_t{1} << lane);
      }
    }
    return crowd_.count;
  }

  [[gnu::always_inline]] uint32_t test(int first, fast_relaxation::Point own) const {
    return Form::test(row_, first, fast_relaxation::xOf(own), fast_relaxation::yOf(own),
                      fast_relaxation::zOf(own));
  }

  SweepCrowd& crowd_;
  RowCandidates& row_;
  const double* strength_;
  int far_;
};

template <class Form>
[[gnu::always_inline]] inline void sweepPasses(SweepCrowd& crowd, RowCandidates& row) {
  Sweep<Form> sweep(crowd, row, fast_relaxation::farDistance());
  for (int pass = 0; pass < kRelaxationPasses; ++pass) {
    for (int i = 0; i < crowd.count; ++i) sweep.row(i);
  }
}

void sweepPortable(SweepCrowd& crowd, RowCandidates& row) {
  sweepPasses<fast_relaxation::PortableForm>(crowd, row);
}

#ifdef QUIBBIX_RELAXATION_WIDE
void sweepSse2(SweepCrowd& crowd, RowCandidates& row) {
  sweepPasses<fast_relaxation::Sse2Form>(crowd, row);
}
__attribute__((target("avx2"))) void sweepAvx2(SweepCrowd& crowd, RowCandidates& row) {
  sweepPasses<fast_relaxation::Avx2Form>(crowd, row);
}
__attribute__((target(QUIBBIX_AVX512_TARGET))) void sweepAvx512(SweepCrowd& crowd,
                                                                RowCandidates& row) {
  sweepPasses<fast_relaxation::Avx512Form>(crowd, row);
}
#endif

SweepBranch& chosenBranch() {
  static SweepBranch branch = preferredSweepBranch();
  return branch;
}

}  // namespace

const char* sweepBranchName(SweepBranch branch) {
  switch (branch) {
    case SweepBranch::kPortable:
      return "portable";
    case SweepBranch::kSse2:
      return "sse2";
    case SweepBranch::kAvx2:
      return "avx2";
    case SweepBranch::kAvx512:
      return "avx512";
  }
  return "?";
}

bool sweepBranchRuns(SweepBranch branch) {
  switch (branch) {
    case SweepBranch::kPortable:
      return true;
#ifdef QUIBBIX_RELAXATION_WIDE
    case SweepBranch::kSse2:
      return true;
    case SweepBranch::kAvx2:
      return __builtin_cpu_supports("avx2");
    case SweepBranch::kAvx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
#endif
    default:
      return false;
  }
}

SweepBranch preferredSweepBranch() {
  for (SweepBranch branch : {SweepBranch::kAvx2, SweepBranch::kAvx512, SweepBranch::kSse2}) {
    if (sweepBranchRuns(branch)) return branch;
  }
  return SweepBranch::kPortable;
}

bool useSweepBranch(SweepBranch branch) {
  if (!sweepBranchRuns(branch)) return false;
  chosenBranch() = branch;
  return true;
}

SweepBranch sweepBranch() {
  return chosenBranch();
}

void relaxCrowdFast(std::span<Hamster* const> crowd) {
  // (A strength chain that faded slower than the pair list's rows reach would
  // leave the literal loop to do it all.)
  if (crowd.size() < static_cast<size_t>(kFewHamsters) ||
      crowd.size() > static_cast<size_t>(kMaxHamsters) ||
      fast_relaxation::farDistance() > fast_relaxation::PairList::kLongestNear) {
    ++counters.literalSweeps;
    relaxCrowdReference(crowd);
    return;
  }
  // The simulation runs on one thread; the buffers (and the pair list) are
  // kept between frames.
  static SweepCrowd sweepCrowd;
  static RowCandidates row;
  const uint64_t listsBefore = sweepCrowd.listsMade, relistedBefore = sweepCrowd.relisted;
  sweepCrowd.start(crowd, fast_relaxation::farDistance());
  const SweepBranch branch = chosenBranch();
  ++counters.sweepsByBranch[static_cast<int>(branch)];
  switch (branch) {
#ifdef QUIBBIX_RELAXATION_WIDE
    case SweepBranch::kAvx512:
      sweepAvx512(sweepCrowd, row);
      break;
    case SweepBranch::kAvx2:
      sweepAvx2(sweepCrowd, row);
      break;
    case SweepBranch::kSse2:
      sweepSse2(sweepCrowd, row);
      break;
#endif
    default:
      sweepPortable(sweepCrowd, row);
      break;
  }
  sweepCrowd.finish(crowd);
  counters.pairListsMade += sweepCrowd.listsMade - listsBefore;
  counters.hamstersRelisted += sweepCrowd.relisted - relistedBefore;
}

const FastRelaxationCounters& fastRelaxationCounters() {
  return counters;
}
