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
  everyone.reset(wordCount);
  smallOnes.reset(wordCount);
  smallList.clear();
  for (int j = 0; j < count; ++j) {
    x[j] = crowd[j]->x;
    y[j] = crowd[j]->y;
    z[j] = crowd[j]->z;
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

void SweepCrowd::move(int h, int newCell, bool newSmall) {
  const bool wasSmall = small[h];
  everyone.move(h, cell[h], newCell);
  smallOnes.move(h, wasSmall ? cell[h] : kNoCell, newSmall ? newCell : kNoCell);
  if (newSmall != wasSmall) {
    const auto place = std::lower_bound(smallList.begin(), smallList.end(), h);
    if (newSmall) {
      smallList.insert(place, h);
    } else {
      smallList.erase(place);
    }
  }
  cell[h] = newCell;
  small[h] = newSmall;
}

}  // namespace fast_relaxation
