#include "sim/fast_relaxation/pair_list.h"

#include <algorithm>

#include "sim/fast_relaxation/bit_walk.h"
#include "sim/fast_relaxation/sweep_crowd.h"

namespace fast_relaxation {

// Anchors within 0.2 + kSkin stand at most two drifts further apart, which the
// scaled coordinates turn into less than three cells: the neighbourhoods of
// h's cell and of the eight around it hold every partner.
static_assert((0.2f + kSkin + 2 * kLongestDrift) * kCellsPerUnit + 0.1f <= kReach + 1);

template <class Take>
void PairList::forPartners(const SweepCrowd& crowd, int h, int first, int last, Take take) const {
  const int cell = crowd.cell[h];
  if (cell == kNoCell || first > last) return;
  const auto* const anchor = crowd.anchors();
  const SweepCrowd::Quad own = anchor[h];
  // The cell and the eight around it; at the grid's edge a cell comes twice,
  // which the union does not mind.
  const int column = cell % kGridSide, gridRow = cell / kGridSide;
  const int columns[3] = {std::max(column - 1, 0), column, std::min(column + 1, kGridSide - 1)};
  const uint64_t* around[9];
  for (int r = 0; r < 3; ++r) {
    const int row = std::clamp(gridRow - 1 + r, 0, kGridSide - 1);
    for (int c = 0; c < 3; ++c)
      around[3 * r + c] = crowd.everyone.around(row * kGridSide + columns[c]);
  }
  const int firstWord = first >> 6, lastWord = last >> 6;
  for (int w = firstWord; w <= lastWord; ++w) {
    uint64_t word = 0;
    for (const uint64_t* bits : around) word |= bits[w];
    if (w == firstWord) word &= ~uint64_t{0} << (first & 63);
    if (w == lastWord) word &= ~uint64_t{0} >> (63 - (last & 63));
    uint64_t partners = 0;
    forEachBit(word, w << 6, [&](int j) {
      if (SweepCrowd::squaredApart(anchor[j], own) < kListedSquared) {
        partners |= uint64_t{1} << (j & 63);
      }
    });
    take(w, partners);
  }
}

void PairList::make(const SweepCrowd& crowd, int far) {
  const uint64_t stamp = ++lastStamp_;
  // A row that comes out as it was keeps its stamp.
  const bool sameRows = count_ == crowd.count && far_ == far;
  count_ = crowd.count;
  far_ = far;
  bits_.resize(static_cast<size_t>(crowd.count) * kRowWords);
  stamp_.resize(crowd.count);
  for (int i = 0; i < crowd.count; ++i) {
    uint64_t row[kRowWords] = {};
    forPartners(crowd, i, i + 1, std::min(i + far, crowd.count - 1),
                [out = row - rowWord(i)](int w, uint64_t partners) { out[w] = partners; });
    uint64_t* const bits = rowBits(i);
    if (sameRows && std::equal(row, row + kRowWords, bits)) continue;
    std::copy(row, row + kRowWords, bits);
    stamp_[i] = stamp;
  }
}

void PairList::relist(const SweepCrowd& crowd, int h) {
  const uint64_t stamp = ++lastStamp_;
  uint64_t* const own = rowBits(h);
  uint64_t before[kRowWords];
  std::copy(own, own + kRowWords, before);
  std::fill(own, own + kRowWords, 0);
  forPartners(crowd, h, h + 1, std::min(h + far_, count_ - 1),
              [out = own - rowWord(h)](int w, uint64_t partners) { out[w] = partners; });
  if (!std::equal(own, own + kRowWords, before)) stamp_[h] = stamp;
  const int first = std::max(h - far_, 0);
  const int word = h >> 6;
  const uint64_t bit = uint64_t{1} << (h & 63);
  forPartners(crowd, h, first, h - 1, [this, word, bit, stamp](int w, uint64_t partners) {
    forEachBit(partners, w << 6, [&](int a) {
      uint64_t& bits = rowBits(a)[word - rowWord(a)];
      if ((bits & bit) != 0) return;
      bits |= bit;
      stamp_[a] = stamp;
    });
  });
}

}  // namespace fast_relaxation
