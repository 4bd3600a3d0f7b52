// The sweep of the fast relaxation in each of its branches: one function per
// branch, each compiled for its instruction set, and the table of them.
#include <cmath>
#include <stdexcept>

#include "sim/fast_relaxation/candidate_test.h"
#include "sim/fast_relaxation/fast_relaxation.h"
#include "sim/fast_relaxation/push_points.h"
#include "sim/fast_relaxation/row_candidates.h"
#include "sim/fast_relaxation/sweep_crowd.h"
#include "sim/relaxation.h"
#include "sim/strength_chain.h"

namespace fast_relaxation {
namespace {

static_assert(kStrengthSteps >= kMaxHamsters, "the sweep reads strengths by pool distance");

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

// The sweep with the candidate test `Test` (candidate_test.h). Everything here
// is inlined into one function per branch, which is compiled for that
// branch's instruction set.
template <class Test>
class Sweep {
 public:
  Sweep(SweepCrowd& crowd, RowCandidates& row, int far)
      : crowd_(crowd), row_(row), strength_(strengthChain().widened.data()), far_(far) {}

  // Row i: the pair with itself, then its candidates in pool order.
  [[gnu::always_inline]] void row(int i) {
    float* const own = crowd_.at[i].v;
    pairWithItself(own[0], own[1], own[2]);
    for (int from = i + 1; from < crowd_.count && crowd_.cell[i] != kNoCell;) {
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
    SweepCrowd::Quad* const at = crowd_.at.data();
    Point own = loadPoint(at[i].v);
    for (int first = 0; first < row_.size(); first += kTestBlock) {
      const uint32_t valid = lanesInBlock(row_, first);
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
        Point other = loadPoint(at[j].v);
        if (!pushPoints(own, other, strength_[j - i])) continue;

        storePoint(at[i].v, own);
        storePoint(at[j].v, other);
        if (crowd_.refilePushed(i, j)) return j + 1;
        untested = valid & ~marks & (~uint32_t{1} << lane);
      }
    }
    return crowd_.count;
  }

  [[gnu::always_inline]] uint32_t test(int first, Point own) const {
    return Test::marks(row_, first, xOf(own), yOf(own), zOf(own));
  }

  SweepCrowd& crowd_;
  RowCandidates& row_;
  const double* strength_;
  int far_;
};

template <class Test>
[[gnu::always_inline]] inline void sweepPasses(SweepCrowd& crowd, RowCandidates& row) {
  Sweep<Test> sweep(crowd, row, farDistance());
  for (int pass = 0; pass < kRelaxationPasses; ++pass) {
    for (int i = 0; i < crowd.count; ++i) sweep.row(i);
  }
}

bool always() {
  return true;
}

void sweepScalar(SweepCrowd& crowd, RowCandidates& row) {
  sweepPasses<scalar::CandidateTest>(crowd, row);
}

#ifdef QUIBBIX_RELAXATION_SSE2
void sweepSse2(SweepCrowd& crowd, RowCandidates& row) {
  sweepPasses<sse2::CandidateTest>(crowd, row);
}
#endif

#ifdef QUIBBIX_RELAXATION_WIDE
__attribute__((target(QUIBBIX_AVX2_TARGET))) void sweepAvx2(SweepCrowd& crowd, RowCandidates& row) {
  sweepPasses<avx2::CandidateTest>(crowd, row);
}
__attribute__((target(QUIBBIX_AVX512_TARGET))) void sweepAvx512(SweepCrowd& crowd,
                                                                RowCandidates& row) {
  sweepPasses<avx512::CandidateTest>(crowd, row);
}
bool cpuHasAvx2() {
  return __builtin_cpu_supports("avx2");
}
bool cpuHasAvx512() {
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
}
#endif

// The preferred first (fast_relaxation.h).
constexpr SweepBranch kBranches[] = {
#ifdef QUIBBIX_RELAXATION_WIDE
    {"avx2", cpuHasAvx2, sweepAvx2},
    {"avx512", cpuHasAvx512, sweepAvx512},
#endif
#ifdef QUIBBIX_RELAXATION_SSE2
    {"sse2", always, sweepSse2},
#endif
    {"scalar", always, sweepScalar},
};

}  // namespace
}  // namespace fast_relaxation

std::span<const SweepBranch> sweepBranches() {
  return fast_relaxation::kBranches;
}

const SweepBranch& preferredSweepBranch() {
  for (const SweepBranch& branch : sweepBranches()) {
    if (branch.runsHere()) return branch;
  }
  // The scalar branch runs everywhere.
  return sweepBranches().back();
}
