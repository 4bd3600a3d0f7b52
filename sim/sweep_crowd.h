// The crowd as the fast sweep sees it: positions packed into three float
// arrays (written back at the end), each hamster's cell, which hamsters are
// small (see skip_bounds.h) and which are loose (see pair_list.h), all kept up
// to date after every push, and the pair list itself.
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

  std::vector<float> x, y, z;
  std::vector<int> cell;       // cell in the grids, or kNoCell
  std::vector<uint8_t> small;  // has a coordinate below kSmallCoordinate
  CrowdGrid everyone;
  CrowdGrid smallOnes;         // the small hamsters only, in the same cells
  std::vector<int> smallList;  // the small hamsters in pool order
  int count = 0;
  int wordCount = 0;

  PairList pairs;
  std::vector<float> listedX, listedY, listedZ;  // where each stood when the list was made
  std::vector<uint8_t> loose;                    // has moved too far from there
  CrowdGrid looseOnes;                           // the loose hamsters only
  int looseCount = 0;

  // Copies the positions in and files every hamster, loose against the pair
  // list kept from the last call when it was made for this many hamsters; the
  // grids too are kept from the last call for a crowd of the same size.
  void start(std::span<Hamster* const> crowd);
  // Copies the positions back.
  void finish(std::span<Hamster* const> crowd) const;

  // Makes the pair list from the present positions: nobody is loose.
  void listPairs(int far);
  // Whether row i may take its near partners from the pair list.
  bool listed(int i) const { return pairs.count() == count && !loose[i]; }

  // Files hamster h by a position that it took from a push; returns whether
  // its cell, smallness or looseness changed. The cell and the smallness
  // change rarely: while h stays inside a box where neither can change, only
  // its looseness is worked out.
  [[gnu::always_inline]] bool refile(int h) {
    const Stay& box = stay[h];
    if (!((x[h] >= box.low[0]) & (x[h] <= box.high[0]) & (y[h] >= box.low[1]) &
          (y[h] <= box.high[1]) & (z[h] >= box.low[2]) & (z[h] <= box.high[2]))) {
      return refileAnew(h);
    }
    const bool newLoose = movedFar(h);
    if (newLoose == static_cast<bool>(loose[h])) return false;
    move(h, cell[h], small[h], newLoose);
    return true;
  }

 private:
  // A box of positions, each axis a closed float interval, within which the
  // hamster keeps its cell and smallness.
  struct Stay {
    float low[3], high[3];
  };
  std::vector<Stay> stay;

  bool refileAnew(int h);
  void setStay(int h);
  [[gnu::always_inline]] bool movedFar(int h) const {
    const float ex = x[h] - listedX[h], ey = y[h] - listedY[h], ez = z[h] - listedZ[h];
    return !(ex * ex + ey * ey + ez * ez <= kLooseSquared);
  }
  [[gnu::always_inline]] bool file(int h, int newCell) {
    const bool newSmall = isSmall(x[h], y[h], z[h]);
    const bool newLoose = newCell != kNoCell && movedFar(h);
    if (newCell == cell[h] && newSmall == static_cast<bool>(small[h]) &&
        newLoose == static_cast<bool>(loose[h])) {
      return false;
    }
    move(h, newCell, newSmall, newLoose);
    return true;
  }
  void move(int h, int newCell, bool newSmall, bool newLoose);
};

}  // namespace fast_relaxation
