// The face is built from discs and ellipses in a unit square (s across, t
// down from the top): ears behind the head, fur darkening towards the rim, a
// cream muzzle and cheeks, eyes with a highlight, a pink nose, the mouth and
// whiskers as thin strokes. Each pixel is the mean of 4 x 4 samples, alpha
// included, so the outline is smooth against any background.
#include "tools/assets/icon.h"

#include <algorithm>

#include "tools/assets/canvas.h"
#include "tools/assets/det_math.h"

namespace assets {

namespace {

constexpr Colour kFur{222, 146, 62};
constexpr Colour kFurShade{150, 86, 32};
constexpr Colour kCream{252, 236, 208};
constexpr Colour kEarInside{236, 160, 160};
constexpr Colour kEye{24, 16, 12};
constexpr Colour kHighlight{255, 255, 255};
constexpr Colour kNose{226, 120, 132};
constexpr Colour kStroke{70, 40, 24};

// Squared distance from (s, t) to the ellipse's centre in units of its radii:
// below 1 inside.
double ellipse(double s, double t, double cs, double ct, double rs, double rt) {
  const double ds = (s - cs) / rs, dt = (t - ct) / rt;
  return ds * ds + dt * dt;
}

// Distance from (s, t) to the segment from (s0, t0) to (s1, t1).
double segmentDistance(double s, double t, double s0, double t0, double s1, double t1) {
  const double ds = s1 - s0, dt = t1 - t0;
  const double along = clamp01(((s - s0) * ds + (t - t0) * dt) / (ds * ds + dt * dt));
  const double es = s - (s0 + along * ds), et = t - (t0 + along * dt);
  return std::sqrt(es * es + et * et);
}

struct Sample {
  Colour colour;
  double alpha;
};

Sample faceAt(double s, double t) {
  Sample out{{0, 0, 0}, 0.0};
  // Ears, behind the head.
  for (double side : {-1.0, 1.0}) {
    const double cs = 0.5 + side * 0.29;
    if (ellipse(s, t, cs, 0.22, 0.13, 0.13) < 1.0) {
      out = {ellipse(s, t, cs, 0.23, 0.075, 0.075) < 1.0 ? kEarInside : kFur, 1.0};
    }
  }
  const double head = ellipse(s, t, 0.5, 0.56, 0.41, 0.37);
  if (head >= 1.0) return out;
  Colour c = mix(kFur, kFurShade, smoothstep(0.55, 1.0, head));
  // Muzzle and the two cheeks.
  const double muzzle = ellipse(s, t, 0.5, 0.70, 0.24, 0.17);
  const double cheeks =
      std::min(ellipse(s, t, 0.33, 0.70, 0.15, 0.13), ellipse(s, t, 0.67, 0.70, 0.15, 0.13));
  c = mix(c, kCream, 1.0 - smoothstep(0.7, 1.0, std::min(muzzle, cheeks)));
  for (double side : {-1.0, 1.0}) {
    const double cs = 0.5 + side * 0.14;
    if (ellipse(s, t, cs, 0.49, 0.048, 0.055) < 1.0) c = kEye;
    if (ellipse(s, t, cs + 0.014, 0.475, 0.015, 0.015) < 1.0) c = kHighlight;
    // Three whiskers a side, fanning out from the cheek.
    for (double rise : {-0.05, 0.0, 0.05}) {
      if (segmentDistance(s, t, 0.5 + side * 0.12, 0.68, 0.5 + side * 0.40, 0.66 + rise) < 0.004) {
        c = mix(c, kStroke, 0.6);
      }
    }
    // The mouth: a short arc under the nose on either side.
    const double arc = ellipse(s, t, 0.5 + side * 0.035, 0.655, 0.035, 0.035);
    if (t > 0.655 && arc > 0.62 && arc < 1.0) c = kStroke;
  }
  if (segmentDistance(s, t, 0.5, 0.6, 0.5, 0.69) < 0.005) c = kStroke;
  if (ellipse(s, t, 0.5, 0.6, 0.04, 0.028) < 1.0) c = kNose;
  return {c, 1.0};
}

}  // namespace

RgbaPicture paintIcon() {
  constexpr int kSamples = 4;
  RgbaPicture icon;
  icon.width = icon.height = kIconSize;
  icon.pixels.reserve(static_cast<size_t>(kIconSize) * kIconSize * 4);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      Colour sum{0, 0, 0};
      double alpha = 0.0;
      for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
          const Sample sample = faceAt((x + (i + 0.5) / kSamples) / kIconSize,
                                       (y + (j + 0.5) / kSamples) / kIconSize);
          // Colours weighted by coverage, so the rim does not darken.
          sum = {sum.r + sample.colour.r * sample.alpha, sum.g + sample.colour.g * sample.alpha,
                 sum.b + sample.colour.b * sample.alpha};
          alpha += sample.alpha;
        }
      }
      const Rgb8 c = toRgb8(alpha > 0.0 ? scale(sum, 1.0 / alpha) : Colour{0, 0, 0});
      icon.pixels.insert(icon.pixels.end(),
                         {c.r, c.g, c.b, toRgb8({alpha * 255.0 / (kSamples * kSamples), 0, 0}).r});
    }
  }
  return icon;
}

}  // namespace assets
