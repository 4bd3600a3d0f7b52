// The hamster's pelt. The model unfolds onto the picture like a skin laid flat:
// the spine runs up the middle (s = 0.5) from the head (t about 0.3) to the
// rump (t about 0.9), the flanks lie to either side and the cream lower flanks
// at the outer edges; the face is the patch kPeltFace, upright, with the
// hamster's left on the right; each ear is the small four-cornered patch
// kPeltRightEar or kPeltLeftEar beside the top of the head. The underside of the model
// shows the whole band squeezed across, so its edges come out cream.
//
// Painted as a function of (s, t), averaged over 4 x 4 samples per pixel.
#include <cmath>

#include "tools/assets/det_math.h"
#include "tools/assets/noise.h"
#include "tools/assets/pictures.h"

namespace assets {

namespace {

constexpr Colour kSpine{204, 132, 64};
constexpr Colour kBack{226, 158, 84};
constexpr Colour kFlank{238, 180, 108};
constexpr Colour kSide{246, 206, 150};
constexpr Colour kCream{252, 246, 234};
constexpr Colour kFace{236, 176, 102};
constexpr Colour kMuzzle{248, 242, 230};
constexpr Colour kEye{22, 16, 14};
constexpr Colour kGlint{255, 255, 255};
constexpr Colour kNose{222, 122, 136};
constexpr Colour kLine{92, 58, 42};
constexpr Colour kEarRim{168, 100, 62};
constexpr Colour kEarInside{236, 166, 164};

using Point = TexPoint;

// Inside an ellipse: > 0, growing to 1 at its centre; the edge is soft over
// about `feather` of the radius.
double ellipse(double s, double t, Point c, double rs, double rt, double feather) {
  double ds = (s - c.s) / rs;
  double dt = (t - c.t) / rt;
  double r = std::sqrt(ds * ds + dt * dt);
  return 1.0 - smoothstep(1.0 - feather, 1.0, r);
}

// How far (s, t) lies inside the convex quad, in texture units; negative outside.
double insideQuad(double s, double t, const Point (&q)[4]) {
  double area = 0.0;
  for (int i = 0; i < 4; ++i) {
    const Point& a = q[i];
    const Point& b = q[(i + 1) % 4];
    area += a.s * b.t - b.s * a.t;
  }
  double sign = area > 0.0 ? 1.0 : -1.0;
  double inside = 1e9;
  for (int i = 0; i < 4; ++i) {
    const Point& a = q[i];
    const Point& b = q[(i + 1) % 4];
    double es = b.s - a.s;
    double et = b.t - a.t;
    double len = std::sqrt(es * es + et * et);
    double d = sign * (es * (t - a.t) - et * (s - a.s)) / len;
    if (d < inside) inside = d;
  }
  return inside;
}

// Closeness to the segment a-b: 1 on it, 0 beyond `width`.
double stroke(double s, double t, Point a, Point b, double width) {
  double es = b.s - a.s;
  double et = b.t - a.t;
  double k = clamp01(((s - a.s) * es + (t - a.t) * et) / (es * es + et * et));
  double ds = s - (a.s + es * k);
  double dt = t - (a.t + et * k);
  return 1.0 - smoothstep(0.5 * width, width, std::sqrt(ds * ds + dt * dt));
}

Colour furBase(double s, double t) {
  double d = std::fabs(s - 0.5);
  Colour c = mix(kSpine, kBack, smoothstep(0.0, 0.1, d));
  c = mix(c, kFlank, smoothstep(0.1, 0.17, d));
  c = mix(c, kSide, smoothstep(0.17, 0.24, d));
  c = mix(c, kCream, smoothstep(0.25, 0.33, d));
  // The head is lighter than the back; the face blends in below the forehead.
  double head = 1.0 - smoothstep(0.24, 0.34, t);
  c = mix(c, kFace, head * (1.0 - smoothstep(0.13, 0.2, d)));
  // Cheeks beside the face are pale.
  c = mix(c, mix(kSide, kCream, 0.5),
          head * smoothstep(0.12, 0.2, d) * (1.0 - smoothstep(0.3, 0.36, d)));
  return c;
}

Colour skinAt(double s, double t) {
  Colour c = furBase(s, t);

  // Fur lies along the body: fine streaks stretched in t.
  double streak = valueNoise(s * 128.0, t * 24.0, 128, 24, 5);
  double tuft = valueNoise(s * 32.0, t * 12.0, 32, 12, 6);
  c = scale(c, 0.92 + 0.1 * streak + 0.04 * tuft);

  // Face.
  c = mix(c, kMuzzle, ellipse(s, t, {0.5, 0.135}, 0.09, 0.052, 0.45));
  for (double side : {-1.0, 1.0}) {
    Point eye{0.5 + side * 0.074, 0.205};
    c = mix(c, kEye, ellipse(s, t, eye, 0.033, 0.024, 0.18));
    c = mix(c, kGlint, ellipse(s, t, {eye.s - 0.01, eye.t + 0.008}, 0.009, 0.0065, 0.4));
    // Whiskers: two faint strokes fanning out from the muzzle.
    c = mix(c, kLine,
            0.45 * stroke(s, t, {0.5 + side * 0.05, 0.13}, {0.5 + side * 0.12, 0.145}, 0.003));
    c = mix(c, kLine,
            0.45 * stroke(s, t, {0.5 + side * 0.05, 0.122}, {0.5 + side * 0.12, 0.112}, 0.003));
    // The mouth: a small inverted Y under the nose.
    c = mix(c, kLine, 0.8 * stroke(s, t, {0.5, 0.124}, {0.5 + side * 0.018, 0.112}, 0.0045));
  }
  c = mix(c, kLine, 0.8 * stroke(s, t, {0.5, 0.142}, {0.5, 0.124}, 0.0045));
  c = mix(c, kNose, ellipse(s, t, {0.5, 0.148}, 0.017, 0.012, 0.3));

  // Ears: a brown rim round a pink inside.
  for (const auto* ear : {&kPeltRightEar, &kPeltLeftEar}) {
    double inside = insideQuad(s, t, *ear);
    c = mix(c, kEarRim, smoothstep(-0.012, -0.004, inside));
    c = mix(c, kEarInside, smoothstep(0.008, 0.014, inside));
  }

  // A stub of a tail at the bottom of the rump.
  c = mix(c, mix(kEarInside, kFlank, 0.5), ellipse(s, t, {0.5, 0.936}, 0.022, 0.011, 0.4));
  return c;
}

}  // namespace

Canvas paintHamsterSkin() {
  return paintSupersampled(kTextureSize, kTextureSize, 4,
                           [](double s, double t) { return skinAt(s, t); });
}

}  // namespace assets
