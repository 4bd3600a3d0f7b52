// Bedding of pale wood shavings. A soft tone that wanders over the tile, then
// some thousand curled flakes, each with a faint shadow, laid over one another.
// Every stroke wraps around the edges, so the tile repeats without a seam.
#include <cmath>

#include "tools/assets/det_math.h"
#include "tools/assets/noise.h"
#include "tools/assets/pictures.h"

namespace assets {

namespace {

constexpr Colour kBedding{212, 192, 152};
constexpr Colour kFlakeLight{240, 226, 192};
constexpr Colour kFlakeTan{206, 172, 122};
constexpr Colour kFlakeDark{168, 128, 84};
constexpr Colour kShade{120, 96, 64};

struct Flake {
  double cx, cy;      // centre, pixels
  double cosA, sinA;  // direction of the long axis
  double halfLength, halfWidth;
  double bend;  // sideways offset per pixel squared along the axis
  Colour colour;
};

// Fraction of pixel (x, y) covered by the flake, with a one-pixel soft edge.
double coverage(const Flake& f, double x, double y, double& across) {
  double dx = x - f.cx;
  double dy = y - f.cy;
  double u = dx * f.cosA + dy * f.sinA;
  double v = -dx * f.sinA + dy * f.cosA - f.bend * u * u;
  double along = u / f.halfLength;
  if (along <= -1.0 || along >= 1.0) return 0.0;
  double width = f.halfWidth * std::sqrt(1.0 - along * along);
  across = v / (f.halfWidth > 0.0 ? f.halfWidth : 1.0);
  double insideLength = (1.0 - std::fabs(along)) * f.halfLength;
  double inside = width - std::fabs(v);
  if (insideLength < inside) inside = insideLength;
  return clamp01(inside + 0.5);
}

void drawFlake(Canvas& canvas, const Flake& f, double shadowAlpha) {
  int reach = int(f.halfLength + f.halfWidth + 3.0);
  int x0 = int(std::floor(f.cx)) - reach;
  int y0 = int(std::floor(f.cy)) - reach;
  for (int y = y0; y <= y0 + 2 * reach; ++y) {
    for (int x = x0; x <= x0 + 2 * reach; ++x) {
      double across = 0.0;
      // The shadow falls down and to the right of the flake.
      double shadow = coverage(f, x + 0.5 - 1.2, y + 0.5 + 1.2, across);
      if (shadow > 0.0) canvas.blendWrapped(x, y, kShade, shadow * shadowAlpha);
      double cover = coverage(f, x + 0.5, y + 0.5, across);
      if (cover <= 0.0) continue;
      // Curled flakes catch the light on one edge and turn dark on the other;
      // fine grain runs along the flake.
      double light = 1.06 - 0.14 * clamp01(0.5 + 0.5 * across);
      double grain = 0.97 + 0.05 * hashUnit(uint32_t(x & 255), uint32_t(y & 255), 77);
      canvas.blendWrapped(x, y, scale(f.colour, light * grain), cover);
    }
  }
}

}  // namespace

Canvas paintFloor() {
  Canvas canvas(kTextureSize, kTextureSize);
  for (int y = 0; y < kTextureSize; ++y) {
    for (int x = 0; x < kTextureSize; ++x) {
      double u = x / double(kTextureSize);
      double v = y / double(kTextureSize);
      double tone = fractalNoise(u, v, 4, 4, 4, 11);
      double speck = hashUnit(uint32_t(x), uint32_t(y), 12);
      Colour c = scale(kBedding, 0.86 + 0.22 * tone + 0.06 * (speck - 0.5));
      canvas.set(x, y, c);
    }
  }

  Dice dice(2024);
  constexpr int kFlakes = 1100;
  for (int i = 0; i < kFlakes; ++i) {
    Flake f;
    f.cx = dice.range(0.0, kTextureSize);
    f.cy = dice.range(0.0, kTextureSize);
    double angle = dice.range(0.0, kPi);
    f.cosA = detCos(angle);
    f.sinA = detSin(angle);
    f.halfLength = dice.range(4.0, 11.0);
    f.halfWidth = dice.range(1.2, 3.0);
    f.bend = dice.range(-0.05, 0.05);
    double pick = dice.unit();
    if (pick < 0.55)
      f.colour = mix(kFlakeLight, kFlakeTan, dice.unit() * 0.6);
    else if (pick < 0.92)
      f.colour = mix(kFlakeTan, kFlakeLight, dice.unit() * 0.5);
    else
      f.colour = mix(kFlakeDark, kFlakeTan, dice.unit() * 0.5);
    drawFlake(canvas, f, 0.28);
  }
  return canvas;
}

}  // namespace assets
