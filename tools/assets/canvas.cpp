#include "tools/assets/canvas.h"

#include <cassert>

#include "tools/assets/det_math.h"

namespace assets {

namespace {

uint8_t toByte(double v) {
  double r = roundHalfAway(v);
  return uint8_t(r < 0.0 ? 0.0 : (r > 255.0 ? 255.0 : r));
}

int wrap(int i, int n) {
  int m = i % n;
  return m < 0 ? m + n : m;
}

}  // namespace

Rgb8 toRgb8(Colour c) {
  return {toByte(c.r), toByte(c.g), toByte(c.b)};
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height) * 3, 0) {}

Rgb8 Canvas::at(int x, int y) const {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  const uint8_t* p = &pixels_[(size_t(y) * size_t(width_) + size_t(x)) * 3];
  return {p[0], p[1], p[2]};
}

void Canvas::set(int x, int y, Rgb8 c) {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  uint8_t* p = &pixels_[(size_t(y) * size_t(width_) + size_t(x)) * 3];
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
}

void Canvas::set(int x, int y, Colour c) {
  set(x, y, toRgb8(c));
}

Colour Canvas::getWrapped(int x, int y) const {
  Rgb8 c = at(wrap(x, width_), wrap(y, height_));
  return {double(c.r), double(c.g), double(c.b)};
}

void Canvas::blendWrapped(int x, int y, Colour c, double alpha) {
  int wx = wrap(x, width_);
  int wy = wrap(y, height_);
  set(wx, wy, mix(getWrapped(wx, wy), c, clamp01(alpha)));
}

void Canvas::fill(Rgb8 c) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) set(x, y, c);
}

}  // namespace assets
