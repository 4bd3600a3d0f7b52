// The crowd as the fast sweep sees it: positions packed into three float
// arrays (written back at the end), each hamster's cell, which hamsters are
// small (see skip_bounds.h), and the pair list with each hamster's anchor (see
// pair_list.h), all kept up to date after every push.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/crowd_grid.h"
#include "sim/pair_list.h"
#include "sim/skip_bounds.h"

class Hamster;

namespace fast_relaxation {

struct SweepCrowd {
  // While few hamsters are small, the far candidates come from a plain list of
  // them rather than from their grid.
  static constexpr int kFewSmall = 32;
  // The list is made afresh at the start of a call when more than one in this
  // many hamsters have moved too far from their anchors.
  static constexpr int kDriftedShare = 8;

  std::vector<float> x, y, z;
  std::vector<int> cell;       // cell in the grids, or kNoCell
  std::vector<uint8_t> small;  // has a coordinate below kSmallCoordinate
  CrowdGrid everyone;
  CrowdGrid smallOnes;         // the small hamsters only, in the same cells
  std::vector<int> smallList;  // the small hamsters in pool order
  int count = 0;
  int wordCount = 0;

  PairList pairs;
  std::vector<float> anchorX, anchorY, anchorZ;  // where each stood when its pairs were listed
  uint64_t listsMade = 0;                        // whole lists made, ever
  uint64_t relisted = 0;                         // hamsters anchored anew, ever

  // Copies the positions in and files every hamster; the grids, and the pair
  // list when it was made for this many hamsters, are kept from the last call.
  // The list is made afresh when it is missing or when many hamsters have
  // moved too far from their anchors; otherwise those are relisted. `far` is
  // the near part's length (skip_bounds.h); above PairList::kLongestNear no
  // list is kept.
  void start(std::span<Hamster* const> crowd, int far);
  // Copies the positions back.
  void finish(std::span<Hamster* const> crowd) const;

  // Whether row i takes its near partners from the pair list.
  bool listed() const { return pairs.count() == count; }

  // Files the two hamsters of a push by the positions it gave them; returns
  // whether i's cell, smallness or anchor changed. Their cells and smallness
  // change rarely: while a hamster stays inside a box where neither can change,
  // only its distance from its anchor is worked out. Both are filed before
  // either is relisted, since a relist reads everyone's cell.
  [[gnu::always_inline]] bool refilePushed(int i, int j) {
    const bool iFiled = refile(i);
    refile(j);
    if (listed() && driftedFar(j)) relist(j);
    if (listed() && driftedFar(i)) {
      relist(i);
      return true;
    }
    return iFiled;
  }

 private:
  // A box of positions, each axis a closed float interval, within which the
  // hamster keeps its cell and smallness.
  struct Stay {
    float low[3], high[3];
  };
  std::vector<Stay> stay;
  int far_ = 0;
  std::vector<int> drifted;

  [[gnu::always_inline]] bool refile(int h) {
    const Stay& box = stay[h];
    if ((x[h] >= box.low[0]) & (x[h] <= box.high[0]) & (y[h] >= box.low[1]) &
        (y[h] <= box.high[1]) & (z[h] >= box.low[2]) & (z[h] <= box.high[2])) {
      return false;
    }
    return refileAnew(h);
  }
  bool refileAnew(int h);
  void setStay(int h);
  void listPairs();
  void relist(int h);
  [[gnu::always_inline]] bool driftedFar(int h) const {
    const float ex = x[h] - anchorX[h], ey = y[h] - anchorY[h], ez = z[h] - anchorZ[h];
    return !(ex * ex + ey * ey + ez * ez <= kDriftSquared);
  }
  [[gnu::always_inline]] bool file(int h, int newCell) {
    const bool newSmall = isSmall(x[h], y[h], z[h]);
    if (newCell == cell[h] && newSmall == static_cast<bool>(small[h])) return false;
    move(h, newCell, newSmall);
    return true;
  }
  void move(int h, int newCell, bool newSmall);
};

}  // namespace fast_relaxation
