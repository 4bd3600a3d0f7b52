// The fast sweep's pair list: for each row i, the partners j in i + 1 ..
// i + far (the near part of the row, skip_bounds.h) whose anchors lay closer
// than 0.2 plus a skin, as bits by pool index, so that a row reads them in the
// sweep's own order. A hamster's anchor is where it stood when its pairs were
// last listed. The list is made from the cell grid once and then kept over the
// passes and frames: a hamster that moves too far from its anchor is anchored
// anew where it stands, and only its own pairs are listed again (relist).
//
// Why a pair left out is never pushed. Every hamster stays within 0.45 of the
// skin of its anchor: SweepCrowd checks this after every push and at the start
// of every call, and relists any hamster that has gone further before the next
// pair is looked at. A pair is pushed only when its squared distance, a double
// within a few parts in 2^53 of the exact one, is below 0.04: when the two
// stand less than 0.2 (and a hair) apart. Then their anchors lie less than
// 0.2 plus 0.9 of the skin apart, below 0.2 plus the skin (the float test
// keeps a thousandth to spare for its rounding), so the pair is listed: at the
// last listing of either of the two, both anchors were the ones they have now.
// The far part of a row (the small hamsters) never comes from the list. So
// every pair the literal loop pushes is among the row's candidates, which are
// then tested exactly as before. A relist rewrites the hamster's own row but
// only adds its bit to the rows before it: a pair that has drifted apart may
// stay listed until the next whole list, which costs a candidate and nothing
// else.
//
// The list is made afresh at the start of a call when more than an eighth of
// the crowd has moved too far since the last (as after a jump: then relisting
// them one by one costs more), and whenever the crowd's size differs from the
// list's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fast_relaxation {

struct SweepCrowd;

// The skin: pairs whose anchors are up to 0.2 plus this apart are listed.
inline constexpr float kSkin = 0.05f;
// (0.2 + kSkin)^2 with a thousandth to spare for the float test's rounding.
inline constexpr float kListedSquared = (0.2f + kSkin) * (0.2f + kSkin) * 1.001f;
// Moved further than this from its anchor (squared, in float): 0.45 of the
// skin, so a hamster that has not has moved less than half of it whatever the
// rounding.
inline constexpr float kDriftSquared = (0.45f * kSkin) * (0.45f * kSkin);
// How far a hamster may stand from its anchor.
inline constexpr float kLongestDrift = 0.5f * kSkin;

class PairList {
 public:
  // Words of bits per row: enough for the pool distances 1 .. kLongestNear
  // wherever in its word the row starts.
  static constexpr int kRowWords = 6;
  static constexpr int kLongestNear = 64 * kRowWords - 63;

  // Lists the pairs of every row from the crowd's anchors and cells; `far` is
  // the near part's length, at most kLongestNear.
  void make(const SweepCrowd& crowd, int far);
  // Lists hamster h's pairs anew after its anchor has moved: its own row
  // afresh, and its bit added to the rows before it where it is near.
  void relist(const SweepCrowd& crowd, int h);
  // The crowd size it was made for, or -1.
  int count() const { return count_; }
  // Changes whenever row i's bits change, and never comes back to an
  // earlier value.
  uint64_t stamp(int i) const { return stamp_[i]; }
  void forget() { count_ = -1; }

  // Row i's listed partners, by pool index, word rowWord(i) on.
  const uint64_t* row(int i) const { return &bits_[static_cast<size_t>(i) * kRowWords]; }
  static int rowWord(int i) { return (i + 1) >> 6; }

 private:
  uint64_t* rowBits(int i) { return &bits_[static_cast<size_t>(i) * kRowWords]; }
  // Calls take(w, bits) for each word w of pool indexes from first to last,
  // with the bits of the hamsters whose anchors lie within 0.2 plus the skin
  // of h's.
  template <class Take>
  void forPartners(const SweepCrowd& crowd, int h, int first, int last, Take take) const;

  std::vector<uint64_t> bits_;
  std::vector<uint64_t> stamp_;
  uint64_t lastStamp_ = 0;
  int count_ = -1;
  int far_ = 0;
};

}  // namespace fast_relaxation
