// Hashed noise that tiles: every lattice wraps with a period, so a picture made
// from it repeats without a seam when its size is a whole number of cells.
#pragma once

#include <cstdint>

namespace assets {

// A well-mixed 32-bit hash of three integers.
uint32_t hash3(uint32_t a, uint32_t b, uint32_t c);
// The hash as a number in [0, 1).
double hashUnit(uint32_t a, uint32_t b, uint32_t c);

// A small counter-based stream of numbers for placing strokes, flakes and
// blades: the same seed gives the same sequence everywhere.
class Dice {
 public:
  explicit Dice(uint32_t seed) : seed_(seed) {}
  double unit() { return hashUnit(seed_, counter_++, 0x9e3779b9u); }
  double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
  int below(int n) { return int(unit() * n); }

 private:
  uint32_t seed_;
  uint32_t counter_ = 0;
};

// Smooth value noise in [0, 1] at (x, y) measured in lattice cells; the lattice
// repeats every periodX cells across and periodY cells up.
double valueNoise(double x, double y, int periodX, int periodY, uint32_t seed);

// Octaves of value noise, each with twice the cells and half the weight of the
// one before; result in [0, 1]. Cells of the first octave: periodX x periodY
// over the unit square, so (u, v) in [0, 1) covers exactly one tile.
double fractalNoise(double u, double v, int periodX, int periodY, int octaves, uint32_t seed);

}  // namespace assets
