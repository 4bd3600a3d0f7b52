// One row of the fast sweep: the hamsters j > i that hamster i may push, in
// pool order, copied out with their positions (which stay as they are until
// their own turn in the row) and the no-change bounds of their pool distance.
// They are tested a block at a time (sweep_forms.h), without a branch per
// candidate, which is much cheaper than guessing at each one. Collecting them
// takes a form too, for turning bit sets into pool indexes.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "scene/scene_state.h"
#include "sim/skip_bounds.h"
#include "sim/sweep_crowd.h"

namespace fast_relaxation {

class RowCandidates {
 public:
  // The widest block a test takes (sweep_forms.h).
  static constexpr int kBlock = 16;

  // The candidates j >= from of row i: every neighbour up to the pool distance
  // `far` (from the pair list and the loose hamsters when row i may use the
  // list, from the grid otherwise), and beyond it only the small neighbours,
  // or every neighbour when i is small itself. `Form::packWord` writes the
  // pool indexes of a word's bits in increasing order.
  template <class Form>
  [[gnu::always_inline]] void collect(const SweepCrowd& crowd, int i, int from, int far) {
    size_ = 0;
    const int last = crowd.count - 1;
    const int lastNear = std::min(i + far, last);
    const int cell = crowd.cell[i];
    if (crowd.listed(i)) {
      if (from <= lastNear) {
        // The listed partners and the loose hamsters in reach; a hamster that
        // is both is one bit, taken once.
        const uint64_t* const listed = crowd.pairs.row(i) - PairList::rowWord(i);
        const uint64_t* const looseInReach = crowd.looseOnes.around(cell);
        const int firstWord = from >> 6, lastWord = lastNear >> 6;
        for (int w = firstWord; w <= lastWord; ++w) {
          uint64_t word = listed[w] | looseInReach[w];
          if (w == firstWord) word &= bitsFrom(from);
          if (w == lastWord) word &= bitsUpTo(lastNear);
          size_ += Form::packWord(&index_[size_], w << 6, word);
        }
      }
      if (lastNear < last && crowd.small[i]) {
        addBits<Form>(crowd.everyone.around(cell), std::max(from, lastNear + 1), last);
      } else if (lastNear < last) {
        addFar<Form>(crowd, i, from, lastNear);
      }
    } else if (crowd.small[i] || lastNear >= last) {
      addBits<Form>(crowd.everyone.around(cell), from, last);
    } else {
      if (lastNear >= from) addBits<Form>(crowd.everyone.around(cell), from, lastNear);
      addFar<Form>(crowd, i, from, lastNear);
    }
    for (int k = 0; k < size_; ++k) {
      const int j = index_[k];
      x_[k] = crowd.x[j];
      y_[k] = crowd.y[j];
      z_[k] = crowd.z[j];
      across_[k] = bounds_.across[j - i];
      upward_[k] = bounds_.upward[j - i];
    }
  }

  int size() const { return size_; }
  // The pool index of candidate k.
  int hamster(int k) const { return index_[k]; }

  // The candidates' positions and no-change bounds. A block may read up to
  // kBlock - 1 entries behind the last candidate: finite values left from
  // earlier rows (or zeros), which the tests mask out.
  const float* x() const { return x_.data(); }
  const float* y() const { return y_.data(); }
  const float* z() const { return z_.data(); }
  const float* across() const { return across_.data(); }
  const float* upward() const { return upward_.data(); }

 private:
  static uint64_t bitsFrom(int index) { return ~uint64_t{0} << (index & 63); }
  static uint64_t bitsUpTo(int index) {
    const int bit = index & 63;
    return bit == 63 ? ~uint64_t{0} : (uint64_t{1} << (bit + 1)) - 1;
  }

  // Adds the hamsters first .. last (pool indexes) whose bits are set.
  template <class Form>
  [[gnu::always_inline]] void addBits(const uint64_t* bits, int first, int last) {
    const int firstWord = first >> 6, lastWord = last >> 6;
    for (int w = firstWord; w <= lastWord; ++w) {
      uint64_t word = bits[w];
      if (w == firstWord) word &= bitsFrom(first);
      if (w == lastWord) word &= bitsUpTo(last);
      size_ += Form::packWord(&index_[size_], w << 6, word);
    }
  }

  // The small neighbours j > lastNear (and j >= from).
  template <class Form>
  void addFar(const SweepCrowd& crowd, int i, int from, int lastNear) {
    if (crowd.smallList.empty()) return;
    const int farFrom = std::max(from, lastNear + 1);
    if (crowd.smallList.size() <= SweepCrowd::kFewSmall) {
      // Few of them are ever near, so the test is easy to guess.
      auto j = std::lower_bound(crowd.smallList.begin(), crowd.smallList.end(), farFrom);
      for (; j != crowd.smallList.end(); ++j) {
        if (cellsWithinReach(crowd.cell[i], crowd.cell[*j])) index_[size_++] = *j;
      }
    } else {
      addBits<Form>(crowd.smallOnes.around(crowd.cell[i]), farFrom, crowd.count - 1);
    }
  }

  const NoChangeBounds& bounds_ = noChangeBounds();
  int size_ = 0;
  // Room for a whole word's worth of indexes behind the last candidate.
  std::array<int, kMaxHamsters + 64> index_{};
  std::array<float, kMaxHamsters + kBlock> x_{}, y_{}, z_{}, across_{}, upward_{};
};

}  // namespace fast_relaxation
