// The push between two hamsters, on bare coordinates so that the hamster and
// the packed fast relaxation share one definition of it, to the bit.
#pragma once

#include "sim/simd_targets.h"

// Two selections of the push, without branches where the instruction set has
// them: the outcomes are close to random, so a branch would be guessed wrong
// often. Both give exactly what the plain comparisons give.

// `value` < `floor` ? `floor` : `value` (NaN stays NaN).
inline double atLeast(double floor, double value) {
#ifdef QUIBBIX_RELAXATION_SSE2
  return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(floor), _mm_set_sd(value)));
#else
  return value < floor ? floor : value;
#endif
}

// `value` < `limit` ? 3 : 1.
inline double threeIfBelow(double value, double limit) {
#ifdef QUIBBIX_RELAXATION_SSE2
  const __m128d below = _mm_cmplt_sd(_mm_set_sd(value), _mm_set_sd(limit));
  return _mm_cvtsd_f64(
      _mm_or_pd(_mm_and_pd(below, _mm_set_sd(3.0)), _mm_andnot_pd(below, _mm_set_sd(1.0))));
#else
  return value < limit ? 3.0 : 1.0;
#endif
}

// Pushes the points a and b apart when they are closer than 0.2; positions
// only. Differences and the push are doubles, positions are stored back as
// floats. a and b may be the same point: then nothing moves, except that a
// coordinate of -0.0 becomes +0.0. Returns whether a push was applied.
// `strength` is a float widened to double: widening it once up front spares the
// slow conversion of the subnormal strengths far along the chain.
inline bool pushApart(float& ax, float& ay, float& az, float& bx, float& by, float& bz,
                      double strength) {
  double dx = static_cast<double>(ax) - bx;
  if (dx > 0.2 || dx < -0.2) return false;
  double dy = static_cast<double>(ay) - by;
  if (dy > 0.2 || dy < -0.2) return false;
  double dz = static_cast<double>(az) - bz;
  if (dz > 0.2 || dz < -0.2) return false;

  double d2 = dz * dz + dy * dy + dx * dx;
  d2 = atLeast(0.0001, d2);
  if (!(d2 < 0.04)) return false;
  // Close pairs are pushed harder vertically, so one climbs over the other.
  // (Times 1 changes nothing.)
  dz = dz * threeIfBelow(d2, 0.02);

  const double px = dx / d2 * 0.04 * strength;
  const double py = dy / d2 * 0.04 * strength;
  const double pz = dz / d2 * 0.04 * strength;
  ax = static_cast<float>(ax + px);
  bx = static_cast<float>(bx - px);
  ay = static_cast<float>(ay + py);
  by = static_cast<float>(by - py);
  az = static_cast<float>(az + pz);
  bz = static_cast<float>(bz - pz);
  return true;
}
