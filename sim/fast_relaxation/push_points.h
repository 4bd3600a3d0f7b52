// The push of the fast sweep, on positions held as four floats (x, y, z and a
// 0). With SSE2 the x and y arithmetic runs in pairs of doubles: every lane
// does exactly the operations of pushApart, in the same order and rounding,
// so the bits are the same; only fewer instructions are issued. The sweep
// only pushes finite positions, so a box test on the magnitude stops the same
// pairs as pushApart's two comparisons.
#pragma once

#include <cmath>

#include "sim/push_apart.h"

namespace fast_relaxation {

#ifdef QUIBBIX_RELAXATION_SSE2

using Point = __m128;
inline Point loadPoint(const float* v) {
  return _mm_load_ps(v);
}
inline void storePoint(float* v, Point p) {
  _mm_store_ps(v, p);
}
inline float xOf(Point p) {
  return _mm_cvtss_f32(p);
}
inline float yOf(Point p) {
  return _mm_cvtss_f32(_mm_shuffle_ps(p, p, _MM_SHUFFLE(1, 1, 1, 1)));
}
inline float zOf(Point p) {
  return _mm_cvtss_f32(_mm_movehl_ps(p, p));
}

// pushApart(a.x, a.y, a.z, b.x, b.y, b.z, strength) for finite a and b.
inline bool pushPoints(Point& a, Point& b, double strength) {
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
  const __m128d axy = _mm_cvtps_pd(a), bxy = _mm_cvtps_pd(b);
  const __m128d dxy = _mm_sub_pd(axy, bxy);
  if (_mm_movemask_pd(_mm_cmpgt_pd(_mm_and_pd(dxy, magnitude), _mm_set1_pd(0.2))) != 0) {
    return false;
  }
  const __m128d az = _mm_cvtps_pd(_mm_movehl_ps(a, a)), bz = _mm_cvtps_pd(_mm_movehl_ps(b, b));
  __m128d dz = _mm_sub_sd(az, bz);
  if (_mm_comigt_sd(_mm_and_pd(dz, magnitude), _mm_set_sd(0.2))) return false;

  const __m128d squares = _mm_mul_pd(dxy, dxy);
  __m128d d2 = _mm_add_sd(_mm_mul_sd(dz, dz), _mm_unpackhi_pd(squares, squares));
  d2 = _mm_add_sd(d2, squares);
  d2 = _mm_max_sd(_mm_set_sd(0.0001), d2);
  if (!_mm_comilt_sd(d2, _mm_set_sd(0.04))) return false;
  dz = _mm_mul_sd(dz, _mm_set_sd(threeIfBelow(_mm_cvtsd_f64(d2), 0.02)));

  const __m128d scale = _mm_set1_pd(0.04), push = _mm_set1_pd(strength);
  const __m128d pxy = _mm_mul_pd(_mm_mul_pd(_mm_div_pd(dxy, _mm_unpacklo_pd(d2, d2)), scale), push);
  const __m128d pz = _mm_mul_sd(_mm_mul_sd(_mm_div_sd(dz, d2), scale), push);
  const __m128 zero = _mm_setzero_ps();
  a = _mm_movelh_ps(_mm_cvtpd_ps(_mm_add_pd(axy, pxy)), _mm_cvtsd_ss(zero, _mm_add_sd(az, pz)));
  b = _mm_movelh_ps(_mm_cvtpd_ps(_mm_sub_pd(bxy, pxy)), _mm_cvtsd_ss(zero, _mm_sub_sd(bz, pz)));
  return true;
}

#else

struct Point {
  float x, y, z;
};
inline Point loadPoint(const float* v) {
  return {v[0], v[1], v[2]};
}
inline void storePoint(float* v, Point p) {
  v[0] = p.x;
  v[1] = p.y;
  v[2] = p.z;
}
inline float xOf(Point p) {
  return p.x;
}
inline float yOf(Point p) {
  return p.y;
}
inline float zOf(Point p) {
  return p.z;
}
inline bool pushPoints(Point& a, Point& b, double strength) {
  return pushApart(a.x, a.y, a.z, b.x, b.y, b.z, strength);
}

#endif

}  // namespace fast_relaxation
