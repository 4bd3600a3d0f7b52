// The fast sweep's cell grid. Two hamsters whose x (or y) difference passes the
// 0.2 box test lie at most kReach cells apart, so the hamsters that can push
// one are those listed in the kReach neighbourhood of its cell. Cells are a
// little wider than 0.2 / 2: scaled by 9.5, two coordinates within 0.2 differ
// by at most 1.9 plus rounding, so their cells (floors of the scaled values,
// rounded monotonically) are at most two apart. Positions outside the grid are
// clamped to its border cells, which keeps neighbours neighbours.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "scene/scene_state.h"

namespace fast_relaxation {

inline constexpr float kCellsPerUnit = 9.5f;
inline constexpr int kGridSide = 38;  // cells across, covering -2 to 2
inline constexpr int kReach = 2;      // cells on each side that can hold a partner
inline constexpr int kNoCell = -1;
static_assert(kGridSide == 4 * kCellsPerUnit);
// Scaled coordinates within 0.2 differ by less than kReach (a tenth of a cell
// spare for rounding), so their floors by at most kReach.
static_assert(0.2f * kCellsPerUnit + 0.1f <= kReach);

inline constexpr int kWords = (kMaxHamsters + 63) / 64;

// Hamsters by pool index, one bit each.
struct BitSet {
  uint64_t words[kWords];
};

// For a finite coordinate; without branches, since pushes call it often.
[[gnu::always_inline]] constexpr int gridColumn(float coordinate) {
  constexpr float kLowest = -kGridSide / 2, kHighest = kGridSide / 2 - 0.5f;
  const float scaled = std::min(std::max(coordinate * kCellsPerUnit, kLowest), kHighest);
  // Rounds toward minus infinity without a library call.
  const int truncated = static_cast<int>(scaled);
  return truncated - (static_cast<float>(truncated) > scaled) + kGridSide / 2;
}

// The cell of a finite position. Pushes keep finite positions finite.
[[gnu::always_inline]] inline int cellOfFinite(float x, float y) {
  return gridColumn(y) * kGridSide + gridColumn(x);
}

// Hamsters with a non-finite coordinate never push nor get pushed (every
// difference with them is infinite or NaN, which stops the push): no cell.
inline int cellFor(float x, float y, float z) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return kNoCell;
  return cellOfFinite(x, y);
}

inline bool cellsWithinReach(int a, int b) {
  const int columns = a % kGridSide - b % kGridSide, rows = a / kGridSide - b / kGridSide;
  return (columns >= -kReach) & (columns <= kReach) & (rows >= -kReach) & (rows <= kReach);
}

// For each cell, the hamsters within kReach cells of it. Hamsters move between
// cells rarely and rows are read all the time: so a move updates the sets of
// all the cells around, and a read is one set.
class CrowdGrid {
 public:
  void reset(int wordCount);

  // Moves a hamster between cells; kNoCell stands for "not in this grid".
  void move(int hamster, int from, int to) {
    if (from == to) return;
    if (from != kNoCell) setAround(hamster, from, false);
    if (to != kNoCell) setAround(hamster, to, true);
  }

  // The hamsters within kReach cells of `cell`, as bits by pool index.
  const uint64_t* around(int cell) const { return around_[cell].words; }
  // How many there are.
  int countAround(int cell) const { return count_[cell]; }

 private:
  void setAround(int hamster, int cell, bool present);

  std::array<BitSet, kGridSide * kGridSide> around_;
  std::array<int, kGridSide * kGridSide> count_{};
};

}  // namespace fast_relaxation
