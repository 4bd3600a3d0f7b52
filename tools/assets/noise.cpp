#include "tools/assets/noise.h"

#include <cmath>

namespace assets {

uint32_t hash3(uint32_t a, uint32_t b, uint32_t c) {
  uint32_t h = a * 0x85ebca6bu ^ (b + 0x6a09e667u) * 0xc2b2ae35u ^ (c + 0x3c6ef372u) * 0x27d4eb2fu;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return h;
}

double hashUnit(uint32_t a, uint32_t b, uint32_t c) {
  return double(hash3(a, b, c) >> 8) * (1.0 / 16777216.0);
}

namespace {

int wrap(int i, int period) {
  int m = i % period;
  return m < 0 ? m + period : m;
}

double fade(double t) {
  return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

}  // namespace

double valueNoise(double x, double y, int periodX, int periodY, uint32_t seed) {
  double fx = std::floor(x);
  double fy = std::floor(y);
  int ix = int(fx);
  int iy = int(fy);
  double tx = fade(x - fx);
  double ty = fade(y - fy);
  auto at = [&](int cx, int cy) {
    return hashUnit(uint32_t(wrap(cx, periodX)), uint32_t(wrap(cy, periodY)), seed);
  };
  double bottom = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
  double top = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
  return bottom + (top - bottom) * ty;
}

double fractalNoise(double u, double v, int periodX, int periodY, int octaves, uint32_t seed) {
  double sum = 0.0;
  double weight = 0.5;
  double total = 0.0;
  for (int octave = 0; octave < octaves; ++octave) {
    int px = periodX << octave;
    int py = periodY << octave;
    sum += weight * valueNoise(u * px, v * py, px, py, seed + uint32_t(octave) * 7919u);
    total += weight;
    weight *= 0.5;
  }
  return sum / total;
}

}  // namespace assets
