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
//   to the next, in the FastRelaxation the caller holds.
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
//   candidate_test.h), in the branch the workspace was made with
//   (sweep_branches.cpp; by default the one the CPU runs best, see
//   fast_relaxation.h). After a push moves hamster i, only the candidates of
//   its block that are not marked yet are tested again: a mark that has gone
//   stale calls the push on a pair the literal loop calls it on too, which is
//   exact. The marks seldom change, so the next push does not wait for that
//   test. Hamster i's position stays in registers
//   along its row, and it is refiled after every push whether or not it moved
//   (a branch on that was guessed wrong too often).
// - The time goes to the pushes themselves and to the instructions around
//   them (collecting, testing, refiling), not to waiting: the sweep is bound by
//   how many instructions it issues, so each shortcut here is judged by that.
#include "sim/fast_relaxation/fast_relaxation.h"

#include <stdexcept>
#include <string>

#include "sim/fast_relaxation/row_candidates.h"
#include "sim/fast_relaxation/skip_bounds.h"
#include "sim/fast_relaxation/sweep_crowd.h"
#include "sim/relaxation.h"

struct FastRelaxation::Buffers {
  fast_relaxation::SweepCrowd crowd;
  fast_relaxation::RowCandidates row;
};

FastRelaxation::FastRelaxation(const SweepBranch& branch)
    : branch_(&branch), buffers_(std::make_unique<Buffers>()) {
  if (!branch.runsHere()) {
    throw std::invalid_argument(std::string("the sweep branch ") + branch.name +
                                " does not run on this CPU");
  }
}

FastRelaxation::~FastRelaxation() = default;

void FastRelaxation::relax(std::span<Hamster* const> crowd) {
  const int far = fast_relaxation::farDistance();
  // (A strength chain that faded slower than the pair list's rows reach would
  // leave the literal loop to do it all.)
  if (crowd.size() < static_cast<size_t>(kFewHamsters) ||
      crowd.size() > static_cast<size_t>(kMaxHamsters) ||
      far > fast_relaxation::PairList::kLongestNear) {
    ++counters_.literalSweeps;
    relaxCrowdReference(crowd);
    return;
  }
  fast_relaxation::SweepCrowd& packed = buffers_->crowd;
  const uint64_t listsBefore = packed.listsMade, relistedBefore = packed.relisted;
  packed.start(crowd, far);
  ++counters_.fastSweeps;
  branch_->sweep(packed, buffers_->row);
  packed.finish(crowd);
  counters_.pairListsMade += packed.listsMade - listsBefore;
  counters_.hamstersRelisted += packed.relisted - relistedBefore;
}

FastRelaxation& fastRelaxationOf(SceneState& state) {
  if (!state.relaxationWorkspace) state.relaxationWorkspace = std::make_unique<FastRelaxation>();
  // Only sim/ makes the scene's workspace, and only this kind.
  return static_cast<FastRelaxation&>(*state.relaxationWorkspace);
}
