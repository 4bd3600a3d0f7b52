// Arithmetic that gives the same bits on every machine: only +, -, *, / and
// sqrt (all correctly rounded) and exact power-of-two scaling. The sine and the
// exponential are our own series rather than the C library's, whose last bits
// differ between libraries. The generated files must not change from build to
// build, so nothing here may depend on the platform's maths library.
#pragma once

#include <cmath>
#include <cstdint>

namespace assets {

inline constexpr double kPi = 3.14159265358979323846;

inline double clamp01(double x) {
  return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x);
}
inline double lerp(double a, double b, double t) {
  return a + (b - a) * t;
}
inline double smoothstep(double edge0, double edge1, double x) {
  double t = clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0 - 2.0 * t);
}

// Nearest integer, halves away from zero; exact for |x| < 2^52.
inline double roundHalfAway(double x) {
  return x < 0.0 ? -std::floor(-x + 0.5) : std::floor(x + 0.5);
}

// Sine to about 1e-15 for any argument a program here passes (|x| < 1e6).
double detSin(double x);
inline double detCos(double x) {
  return detSin(x + 0.5 * kPi);
}
// e^x to about 1e-15 relative, for |x| < 700.
double detExp(double x);

}  // namespace assets
