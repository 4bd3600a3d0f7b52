// The fast sweep's pair list: for each row i, the partners j in i + 1 ..
// i + far (the near part of the row, skip_bounds.h) that stood closer than
// 0.2 plus a skin when the list was made, as bits by pool index, so that a
// row reads them in the sweep's own order. It is made from the cell grid (a
// pair within 0.2 plus the skin lies at most three cells apart: scaled by 9.5,
// 0.25 is below 2.4, so the neighbourhoods of i's cell and of the eight around
// it hold every such partner) and then serves every pass of the frame, and
// later frames too, in place of the grid's wider neighbourhoods.
//
// Why a pair left out is never pushed. Each hamster keeps the place where it
// stood when the list was made; one that has since moved more than 0.45 of
// the skin is "loose" (SweepCrowd keeps this up to date after every push and
// at the start of every call). A pair is pushed only when its squared
// distance, a double within a few parts in 2^53 of the exact one, is below
// 0.04: when the two stand less than 0.2 (and a hair) apart.
// - Neither is loose: each has moved less than half the skin, so together they
//   came at most a skin nearer. A pair left out stood 0.2 plus the skin or more
//   apart (the float test keeps a thousandth to spare for its rounding), so it
//   still stands 0.2 or more apart: no push.
// - j is loose: row i also takes the grid of loose hamsters around i's cell,
//   which holds every loose hamster within the 0.2 box of i (crowd_grid.h).
//   The row takes the union of the two bit sets, so j comes once.
// - i is loose: its row is gathered from the whole grid, as without a list.
// The far part of a row (the small hamsters) never comes from the list. So
// every pair the literal loop pushes is among the row's candidates, which are
// then tested exactly as before.
//
// The list is made again at the start of a pass once more than a quarter of
// the crowd is loose (beyond that, the rows of loose hamsters, gathered from
// the whole grid, cost more than making the list anew), and whenever
// the crowd's size differs from the list's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fast_relaxation {

struct SweepCrowd;

// The skin: pairs up to 0.2 plus this apart are listed.
inline constexpr float kSkin = 0.05f;
// (0.2 + kSkin)^2 with a thousandth to spare for the float test's rounding.
inline constexpr float kListedSquared = (0.2f + kSkin) * (0.2f + kSkin) * 1.001f;
// Moved further than this (squared, in float) is loose: 0.45 of the skin, so a
// hamster that is not loose has moved less than half of it whatever the
// rounding.
inline constexpr float kLooseSquared = (0.45f * kSkin) * (0.45f * kSkin);

class PairList {
 public:
  // Words of bits per row: enough for the pool distances 1 .. kLongestNear
  // wherever in its word the row starts.
  static constexpr int kRowWords = 6;
  static constexpr int kLongestNear = 64 * kRowWords - 63;

  // Lists the pairs of every row from the crowd's present positions and
  // cells; `far` is the near part's length, at most kLongestNear.
  void make(const SweepCrowd& crowd, int far);
  // The crowd size it was made for, or -1.
  int count() const { return count_; }
  void forget() { count_ = -1; }

  // Row i's listed partners, by pool index, word rowWord(i) on.
  const uint64_t* row(int i) const { return &bits_[static_cast<size_t>(i) * kRowWords]; }
  static int rowWord(int i) { return (i + 1) >> 6; }

 private:
  std::vector<uint64_t> bits_;
  int count_ = -1;
};

}  // namespace fast_relaxation
