#include "tools/assets/det_math.h"

namespace assets {

double detSin(double x) {
  // Into [-pi, pi], then fold into [-pi/2, pi/2] where the series converges fast.
  double turns = roundHalfAway(x / (2.0 * kPi));
  double r = x - turns * (2.0 * kPi);
  if (r > 0.5 * kPi) r = kPi - r;
  if (r < -0.5 * kPi) r = -kPi - r;
  double r2 = r * r;
  double term = r;
  double sum = r;
  for (int n = 1; n <= 11; ++n) {
    term = -term * r2 / double((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

double detExp(double x) {
  constexpr double kLn2 = 0.69314718055994530942;
  double k = roundHalfAway(x / kLn2);
  double r = x - k * kLn2;  // |r| <= ln2 / 2
  double term = 1.0;
  double sum = 1.0;
  for (int n = 1; n <= 20; ++n) {
    term = term * r / double(n);
    sum += term;
  }
  return std::ldexp(sum, int(k));
}

}  // namespace assets
