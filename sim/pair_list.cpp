#include "sim/pair_list.h"

#include <algorithm>

#include "sim/sweep_crowd.h"

namespace fast_relaxation {

// Within 0.2 + kSkin the scaled coordinates differ by less than three cells.
static_assert((0.2f + kSkin) * kCellsPerUnit + 0.1f <= kReach + 1);

void PairList::make(const SweepCrowd& crowd, int far) {
  count_ = crowd.count;
  bits_.assign(static_cast<size_t>(crowd.count) * kRowWords, 0);
  const float* const x = crowd.x.data();
  const float* const y = crowd.y.data();
  const float* const z = crowd.z.data();
  for (int i = 0; i + 1 < crowd.count; ++i) {
    const int cell = crowd.cell[i];
    if (cell == kNoCell) continue;
    const int first = i + 1, last = std::min(i + far, crowd.count - 1);
    const int firstWord = rowWord(i), lastWord = last >> 6;
    const int column = cell % kGridSide, gridRow = cell / kGridSide;
    uint64_t* const out = &bits_[static_cast<size_t>(i) * kRowWords];
    for (int w = firstWord; w <= lastWord; ++w) {
      // The neighbourhoods of the cell and of the eight around it: reach 3.
      uint64_t word = 0;
      for (int r = std::max(gridRow - 1, 0); r <= std::min(gridRow + 1, kGridSide - 1); ++r) {
        for (int c = std::max(column - 1, 0); c <= std::min(column + 1, kGridSide - 1); ++c) {
          word |= crowd.everyone.around(r * kGridSide + c)[w];
        }
      }
      if (w == firstWord) word &= ~uint64_t{0} << (first & 63);
      if (w == lastWord && (last & 63) != 63) word &= (uint64_t{1} << ((last & 63) + 1)) - 1;
      uint64_t listed = 0;
      for (; word != 0; word &= word - 1) {
        const int bit = __builtin_ctzll(word);
        const int j = (w << 6) | bit;
        const float ex = x[j] - x[i], ey = y[j] - y[i], ez = z[j] - z[i];
        if (ex * ex + ey * ey + ez * ez < kListedSquared) listed |= uint64_t{1} << bit;
      }
      out[w - firstWord] = listed;
    }
  }
}

}  // namespace fast_relaxation
