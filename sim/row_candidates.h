// One row of the fast sweep: the hamsters j > i that hamster i may push, in
// pool order, copied out with their positions (which stay as they are until
// their own turn in the row) and the no-change bounds of their pool distance.
// They are tested a block at a time, without a branch per candidate, which is
// much cheaper than guessing at each one.
#pragma once

#include <array>
#include <cstdint>

#include "scene/scene_state.h"
#include "sim/skip_bounds.h"
#include "sim/sweep_crowd.h"

namespace fast_relaxation {

class RowCandidates {
 public:
  static constexpr int kBlock = 8;

  // The candidates j >= from of row i: every neighbour up to the pool distance
  // `far`, and beyond it only the small neighbours, or every neighbour when i
  // is small itself.
  void collect(const SweepCrowd& crowd, int i, int from, int far);

  int size() const { return size_; }
  // The pool index of candidate k.
  int hamster(int k) const { return index_[k]; }

  // Bits for the candidates first .. first + kBlock - 1 that must be pushed
  // with hamster i standing at (px, py, pz): within the float box and not
  // provably unchanged (pushChangesNothing). The SSE2 form does the very same
  // float operations as the plain one.
  uint32_t testBlock(int first, float px, float py, float pz) const;

 private:
  void gather(const SweepCrowd& crowd, int i, int from, int far);
  void add(const SweepCrowd& crowd, int i, int j);
  // Adds the hamsters first .. last (pool indexes) whose bits are set.
  void addBits(const SweepCrowd& crowd, int i, const uint64_t* bits, int first, int last);

  const NoChangeBounds& bounds_ = noChangeBounds();
  int size_ = 0;
  std::array<int, kMaxHamsters> index_;
  // One block more than can be filled, so that a block never reads past the end.
  std::array<float, kMaxHamsters + kBlock> x_, y_, z_, across_, upward_;
};

}  // namespace fast_relaxation
