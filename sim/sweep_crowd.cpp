#include "sim/sweep_crowd.h"

#include <algorithm>

#include "sim/hamster.h"

namespace fast_relaxation {

void SweepCrowd::start(std::span<Hamster* const> crowd) {
  count = static_cast<int>(crowd.size());
  wordCount = (count + 63) / 64;
  x.resize(count);
  y.resize(count);
  z.resize(count);
  cell.assign(count, kNoCell);
  small.assign(count, 0);
  loose.assign(count, 0);
  everyone.reset(wordCount);
  smallOnes.reset(wordCount);
  looseOnes.reset(wordCount);
  looseCount = 0;
  smallList.clear();
  if (pairs.count() != count) {
    // No list to measure against: every hamster counts as where it stands.
    pairs.forget();
    listedX.resize(count);
    listedY.resize(count);
    listedZ.resize(count);
  }
  for (int j = 0; j < count; ++j) {
    x[j] = crowd[j]->x;
    y[j] = crowd[j]->y;
    z[j] = crowd[j]->z;
    if (pairs.count() != count) {
      listedX[j] = x[j];
      listedY[j] = y[j];
      listedZ[j] = z[j];
    }
    file(j, cellFor(x[j], y[j], z[j]));
  }
}

void SweepCrowd::finish(std::span<Hamster* const> crowd) const {
  for (int j = 0; j < count; ++j) {
    crowd[j]->x = x[j];
    crowd[j]->y = y[j];
    crowd[j]->z = z[j];
  }
}

void SweepCrowd::listPairs(int far) {
  for (int h = 0; h < count; ++h) {
    listedX[h] = x[h];
    listedY[h] = y[h];
    listedZ[h] = z[h];
    if (loose[h]) move(h, cell[h], small[h], false);
  }
  pairs.make(*this, far);
}

void SweepCrowd::move(int h, int newCell, bool newSmall, bool newLoose) {
  const bool wasSmall = small[h], wasLoose = loose[h];
  everyone.move(h, cell[h], newCell);
  smallOnes.move(h, wasSmall ? cell[h] : kNoCell, newSmall ? newCell : kNoCell);
  looseOnes.move(h, wasLoose ? cell[h] : kNoCell, newLoose ? newCell : kNoCell);
  if (newSmall != wasSmall) {
    const auto place = std::lower_bound(smallList.begin(), smallList.end(), h);
    if (newSmall) {
      smallList.insert(place, h);
    } else {
      smallList.erase(place);
    }
  }
  if (newLoose != wasLoose) looseCount += newLoose ? 1 : -1;
  cell[h] = newCell;
  small[h] = newSmall;
  loose[h] = newLoose;
}

}  // namespace fast_relaxation
