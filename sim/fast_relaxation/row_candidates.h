// One row of the fast sweep: the hamsters j > i that hamster i may push, in
// pool order, copied out with their positions (which stay as they are until
// their own turn in the row) and the no-change bounds of their pool distance.
// They are tested a block at a time (candidate_test.h), without a branch per
// candidate, which is much cheaper than guessing at each one. A row's listed
// partners change far less often than the row is visited (seven times a
// frame), so each row keeps them, with their bounds, until its list row
// changes; a visit then only copies the positions.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "scene/scene_state.h"
#include "sim/fast_relaxation/bit_walk.h"
#include "sim/fast_relaxation/skip_bounds.h"
#include "sim/fast_relaxation/sweep_crowd.h"

namespace fast_relaxation {

// Pool indexes are kept in 16 bits.
static_assert(kMaxHamsters <= 65536);

class RowCandidates {
 public:
  // The widest block a candidate test may take (candidate_test.h takes
  // kTestBlock): the room kept behind the last candidate.
  static constexpr int kBlock = 16;
  // Rows with at most this many listed partners keep them between visits.
  static constexpr int kKept = 32;

  // The candidates j >= from of row i: its listed partners up to the pool
  // distance `far`, and beyond it only the small neighbours, or every
  // neighbour when i is small itself.
  [[gnu::always_inline]] void collect(const SweepCrowd& crowd, int i, int from, int far) {
    const int last = crowd.count - 1;
    const int lastNear = std::min(i + far, last);
    const int cell = crowd.cell[i];
    const bool farPart =
        lastNear < last && (crowd.small[i] || crowd.smallOnes.countAround(cell) != 0);
    if (!farPart && keeps(crowd, i, lastNear)) {
      takeKept(crowd, i, from);
      return;
    }
    collectEach(crowd, i, from, lastNear);
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
  const float* across() const { return across_; }
  const float* upward() const { return upward_; }

 private:
  // The candidates copied one by one, with their bounds: for rows that keep
  // too many, or have far partners.
  [[gnu::noinline]] void collectEach(const SweepCrowd& crowd, int i, int from, int lastNear) {
    const int last = crowd.count - 1;
    const int cell = crowd.cell[i];
    size_ = 0;
    index_ = ownIndex_.data();
    across_ = ownAcross_.data();
    upward_ = ownUpward_.data();
    from_ = {crowd.at.data(), bounds_.across.data(), bounds_.upward.data(), i};
    if (from <= lastNear) addBits(crowd.pairs.row(i) - PairList::rowWord(i), from, lastNear);
    if (lastNear < last && crowd.small[i]) {
      addBits(crowd.everyone.around(cell), std::max(from, lastNear + 1), last);
    } else if (lastNear < last) {
      addFar(crowd, i, from, lastNear);
    }
  }

  // A row's listed partners, as of its list row's stamp.
  struct Kept {
    uint64_t stamp = 0;
    int count = 0;  // -1: more than kKept
    std::array<uint16_t, kKept> index{};
    std::array<float, kKept + kBlock> across{}, upward{};
  };

  // Whether row i keeps its listed partners (bringing them up to date).
  [[gnu::always_inline]] bool keeps(const SweepCrowd& crowd, int i, int lastNear) {
    if (kept_[i].stamp != crowd.pairs.stamp(i)) keepAnew(crowd, i, lastNear);
    return kept_[i].count >= 0;
  }
  [[gnu::noinline]] void keepAnew(const SweepCrowd& crowd, int i, int lastNear) {
    Kept& row = kept_[i];
    row.stamp = crowd.pairs.stamp(i);
    row.count = 0;
    if (i + 1 > lastNear) return;
    const uint64_t* const bits = crowd.pairs.row(i) - PairList::rowWord(i);
    const auto word = [bits, i, lastNear](int w) {
      uint64_t partners = bits[w];
      if (w == (i + 1) >> 6) partners &= bitsFrom(i + 1);
      if (w == lastNear >> 6) partners &= bitsUpTo(lastNear);
      return partners;
    };
    int partners = 0;
    for (int w = (i + 1) >> 6; w <= lastNear >> 6; ++w) partners += __builtin_popcountll(word(w));
    if (partners > kKept) {
      row.count = -1;
      return;
    }
    for (int w = (i + 1) >> 6; w <= lastNear >> 6; ++w) {
      forEachBit(word(w), w << 6, [&](int j) {
        row.index[row.count] = static_cast<uint16_t>(j);
        row.across[row.count] = bounds_.across[j - i];
        row.upward[row.count] = bounds_.upward[j - i];
        ++row.count;
      });
    }
  }

  // The kept partners j >= from of row i, with their present positions.
  [[gnu::always_inline]] void takeKept(const SweepCrowd& crowd, int i, int from) {
    const Kept& row = kept_[i];
    int start = 0;
    while (start < row.count && row.index[start] < from) ++start;
    size_ = row.count - start;
    index_ = row.index.data() + start;
    across_ = row.across.data() + start;
    upward_ = row.upward.data() + start;
    const SweepCrowd::Quad* const at = crowd.at.data();
    for (int k = 0; k < size_; ++k) {
      const float* const position = at[index_[k]].v;
      x_[k] = position[0];
      y_[k] = position[1];
      z_[k] = position[2];
    }
  }

  static uint64_t bitsFrom(int index) { return ~uint64_t{0} << (index & 63); }
  static uint64_t bitsUpTo(int index) { return ~uint64_t{0} >> (63 - (index & 63)); }

  // Where a candidate's entries are copied from: the crowd's positions and the
  // bounds by pool distance from row i.
  struct Sources {
    const SweepCrowd::Quad* at;
    const float *across, *upward;
    int row;
  };

  // Adds hamster j.
  [[gnu::always_inline]] void add(int j) { size_ = add(from_, size_, j); }
  [[gnu::always_inline]] int add(const Sources& from, int n, int j) {
    const int distance = j - from.row;
    ownIndex_[n] = static_cast<uint16_t>(j);
    x_[n] = from.at[j].v[0];
    y_[n] = from.at[j].v[1];
    z_[n] = from.at[j].v[2];
    ownAcross_[n] = from.across[distance];
    ownUpward_[n] = from.upward[distance];
    return n + 1;
  }

  // Adds the hamsters first .. last (pool indexes) whose bits are set, in
  // increasing order.
  [[gnu::always_inline]] void addBits(const uint64_t* bits, int first, int last) {
    const Sources from = from_;
    int n = size_;
    const int lastWord = last >> 6;
    int w = first >> 6;
    uint64_t word = bits[w] & bitsFrom(first);
    for (;; word = bits[++w]) {
      if (w == lastWord) word &= bitsUpTo(last);
      forEachBit(word, w << 6, [&](int j) { n = add(from, n, j); });
      if (w == lastWord) break;
    }
    size_ = n;
  }

  // The small neighbours j > lastNear (and j >= from).
  void addFar(const SweepCrowd& crowd, int i, int from, int lastNear) {
    if (crowd.smallOnes.countAround(crowd.cell[i]) == 0) return;
    const int farFrom = std::max(from, lastNear + 1);
    if (crowd.smallList.size() <= SweepCrowd::kFewSmall) {
      // Few of them are ever near, so the test is easy to guess.
      auto j = std::lower_bound(crowd.smallList.begin(), crowd.smallList.end(), farFrom);
      for (; j != crowd.smallList.end(); ++j) {
        if (cellsWithinReach(crowd.cell[i], crowd.cell[*j])) add(*j);
      }
    } else {
      addBits(crowd.smallOnes.around(crowd.cell[i]), farFrom, crowd.count - 1);
    }
  }

  const NoChangeBounds& bounds_ = noChangeBounds();
  Sources from_{};
  int size_ = 0;
  // The candidates of this visit: their indexes and bounds either kept by the
  // row or copied here, their positions always copied here.
  const uint16_t* index_ = nullptr;
  const float* across_ = nullptr;
  const float* upward_ = nullptr;
  std::array<uint16_t, kMaxHamsters> ownIndex_{};
  std::array<float, kMaxHamsters + kBlock> x_{}, y_{}, z_{}, ownAcross_{}, ownUpward_{};
  std::vector<Kept> kept_ = std::vector<Kept>(kMaxHamsters);
};

}  // namespace fast_relaxation
