#include "sim/fast_relaxation/crowd_grid.h"

namespace fast_relaxation {

void CrowdGrid::reset(int wordCount) {
  for (BitSet& set : around_) {
    for (int w = 0; w < wordCount; ++w) set.words[w] = 0;
  }
  count_.fill(0);
}

void CrowdGrid::setAround(int hamster, int cell, bool present) {
  const int column = cell % kGridSide, row = cell / kGridSide;
  const uint64_t bit = uint64_t{1} << (hamster & 63);
  for (int r = std::max(row - kReach, 0); r <= std::min(row + kReach, kGridSide - 1); ++r) {
    for (int c = std::max(column - kReach, 0); c <= std::min(column + kReach, kGridSide - 1); ++c) {
      uint64_t& word = around_[r * kGridSide + c].words[hamster >> 6];
      word = present ? (word | bit) : (word & ~bit);
      count_[r * kGridSide + c] += present ? 1 : -1;
    }
  }
}

}  // namespace fast_relaxation
