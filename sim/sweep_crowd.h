// The crowd as the fast sweep sees it: positions packed into three float
// arrays (written back at the end), each hamster's cell, and which hamsters are
// small (see skip_bounds.h), all kept up to date after every push.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/crowd_grid.h"
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

  // Copies the positions in and files every hamster.
  void start(std::span<Hamster* const> crowd);
  // Copies the positions back.
  void finish(std::span<Hamster* const> crowd) const;

  // Files hamster h by a position that it took from a push; returns whether
  // its cell or its smallness changed.
  bool refile(int h) { return file(h, cellOfFinite(x[h], y[h])); }

 private:
  bool file(int h, int newCell) {
    const bool newSmall = isSmall(x[h], y[h], z[h]);
    if (newCell == cell[h] && newSmall == static_cast<bool>(small[h])) return false;
    move(h, newCell, newSmall);
    return true;
  }
  void move(int h, int newCell, bool newSmall);
};

}  // namespace fast_relaxation
