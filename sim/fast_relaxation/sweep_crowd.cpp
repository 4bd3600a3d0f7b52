#include "sim/fast_relaxation/sweep_crowd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "sim/hamster.h"

namespace fast_relaxation {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

// The next float towards minus or plus infinity from a finite one, as
// std::nextafter gives it (from a zero of either sign, the smallest
// subnormal of the direction's sign). The compiler's own bit cast: the
// browser toolchain's library has no std::bit_cast.
constexpr float nextBelow(float v) {
  if (v == 0) return -std::numeric_limits<float>::denorm_min();
  const uint32_t bits = __builtin_bit_cast(uint32_t, v);
  return __builtin_bit_cast(float, v > 0 ? bits - 1 : bits + 1);
}
constexpr float nextAbove(float v) {
  if (v == 0) return std::numeric_limits<float>::denorm_min();
  const uint32_t bits = __builtin_bit_cast(uint32_t, v);
  return __builtin_bit_cast(float, v > 0 ? bits + 1 : bits - 1);
}

// The floats of each grid column, lowest and highest (the first column reaches
// down to minus infinity, the last up to infinity): gridColumn rounds
// monotonically, so each column is one interval of floats, found by stepping
// from an estimate, once, by the compiler.
struct ColumnBounds {
  std::array<float, kGridSide> low, high;
};
constexpr ColumnBounds makeColumnBounds() {
  ColumnBounds b{};
  b.low[0] = -kInfinity;
  for (int c = 1; c < kGridSide; ++c) {
    float v = static_cast<float>(c - kGridSide / 2) / kCellsPerUnit;
    while (gridColumn(v) >= c) v = nextBelow(v);
    while (gridColumn(v) < c) v = nextAbove(v);
    b.low[c] = v;
    b.high[c - 1] = nextBelow(v);
  }
  b.high[kGridSide - 1] = kInfinity;
  return b;
}
constexpr ColumnBounds kColumnBounds = makeColumnBounds();

// The largest float below kSmallCoordinate.
constexpr float kBelowSmall = 0x1.fffffep-18f;
static_assert(kBelowSmall < kSmallCoordinate);

}  // namespace

void SweepCrowd::start(std::span<Hamster* const> crowd, int far) {
  const int newCount = static_cast<int>(crowd.size());
  const bool anew = newCount != count;
  if (anew) {
    count = newCount;
    wordCount = (count + 63) / 64;
    at.assign(count, Quad{});
    cell.assign(count, kNoCell);
    stay.resize(count);
    small.assign(count, 0);
    everyone.reset(wordCount);
    smallOnes.reset(wordCount);
    smallList.clear();
    pairs.forget();
    anchor.assign(count, Quad{});
  }
  far_ = far;
  // Otherwise the grids still hold every hamster as the last call left it, and
  // each is only moved where it has moved since.
  for (int j = 0; j < count; ++j) {
    at[j] = {crowd[j]->x, crowd[j]->y, crowd[j]->z, 0.0f};
    if (file(j, cellFor(at[j].v[0], at[j].v[1], at[j].v[2])) || anew) setStay(j);
  }
  // Every cell is up to date before anyone is relisted.
  drifted.clear();
  const bool listed = pairs.count() == count;
  if (listed) {
    for (int j = 0; j < count; ++j) {
      if (driftedFar(j)) drifted.push_back(j);
    }
  }
  if (!listed || static_cast<int>(drifted.size()) * kDriftedShare > count) {
    listPairs();
  } else {
    for (int j : drifted) relist(j);
  }
}

void SweepCrowd::finish(std::span<Hamster* const> crowd) const {
  for (int j = 0; j < count; ++j) {
    crowd[j]->x = at[j].v[0];
    crowd[j]->y = at[j].v[1];
    crowd[j]->z = at[j].v[2];
  }
}

void SweepCrowd::listPairs() {
  for (int h = 0; h < count; ++h) anchor[h] = at[h];
  pairs.make(*this, far_);
  ++listsMade;
}

void SweepCrowd::relist(int h) {
  anchor[h] = at[h];
  pairs.relist(*this, h);
  ++relisted;
}

bool SweepCrowd::refileLeft(int i, int iLeft, int j, int jLeft) {
  bool iChanged = (iLeft & kLeftBox) != 0 && refileAnew(i);
  if ((jLeft & kLeftBox) != 0) refileAnew(j);
  if ((jLeft & kLeftAnchor) != 0) relist(j);
  if ((iLeft & kLeftAnchor) != 0) {
    relist(i);
    iChanged = true;
  }
  return iChanged;
}

bool SweepCrowd::refileAnew(int h) {
  const bool changed = file(h, cellOfFinite(at[h].v[0], at[h].v[1]));
  setStay(h);
  return changed;
}

void SweepCrowd::setStay(int h) {
  Stay& box = stay[h];
  box = {{-kInfinity, -kInfinity, -kInfinity, 0.0f}, {kInfinity, kInfinity, kInfinity, 0.0f}};
  // Only finite hamsters are ever pushed; the others may keep any box.
  if (cell[h] == kNoCell) return;
  const auto narrow = [&box](int axis, float low, float high) {
    box.low.v[axis] = std::max(box.low.v[axis], low);
    box.high.v[axis] = std::min(box.high.v[axis], high);
  };
  const ColumnBounds& columns = kColumnBounds;
  const int column[2] = {cell[h] % kGridSide, cell[h] / kGridSide};
  for (int axis = 0; axis < 2; ++axis) {
    narrow(axis, columns.low[column[axis]], columns.high[column[axis]]);
  }
  // A small coordinate stays below the bound, and every coordinate of a
  // hamster that is not small stays on its side of it.
  const float* const position = at[h].v;
  if (small[h]) {
    for (int axis = 0; axis < 3; ++axis) {
      if (std::fabs(position[axis]) < kSmallCoordinate) {
        narrow(axis, -kBelowSmall, kBelowSmall);
        break;
      }
    }
  } else {
    for (int axis = 0; axis < 3; ++axis) {
      if (position[axis] > 0) {
        narrow(axis, kSmallCoordinate, kInfinity);
      } else {
        narrow(axis, -kInfinity, -kSmallCoordinate);
      }
    }
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
