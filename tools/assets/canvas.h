// A picture being painted: 8-bit red, green, blue per pixel, row 0 at the
// bottom as in the BMP file and in texture space (t = 0 is row 0).
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

struct Colour {
  double r, g, b;  // 0 to 255
};

inline Colour mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour scale(Colour c, double k) {
  return {c.r * k, c.g * k, c.b * k};
}

struct Rgb8 {
  uint8_t r, g, b;
  bool operator==(const Rgb8&) const = default;
};

class Canvas {
 public:
  Canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  Rgb8 at(int x, int y) const;
  void set(int x, int y, Rgb8 c);
  // Rounds and clamps each channel to 0..255.
  void set(int x, int y, Colour c);
  // Coordinates wrap around both edges, for pictures that tile.
  Colour getWrapped(int x, int y) const;
  void blendWrapped(int x, int y, Colour c, double alpha);

  void fill(Rgb8 c);

  // Rows bottom first, 3 bytes per pixel, no padding.
  const std::vector<uint8_t>& pixels() const { return pixels_; }

 private:
  int width_;
  int height_;
  std::vector<uint8_t> pixels_;
};

Rgb8 toRgb8(Colour c);

// A width x height picture of colourAt(s, t), s and t from 0 to 1 across the
// picture, each pixel the mean of samples x samples points spread inside it.
template <typename ColourAt>
Canvas paintSupersampled(int width, int height, int samples, ColourAt colourAt) {
  Canvas canvas(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Colour sum{0, 0, 0};
      for (int j = 0; j < samples; ++j) {
        for (int i = 0; i < samples; ++i) {
          const Colour c =
              colourAt((x + (i + 0.5) / samples) / width, (y + (j + 0.5) / samples) / height);
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
        }
      }
      canvas.set(x, y, scale(sum, 1.0 / (samples * samples)));
    }
  }
  return canvas;
}

}  // namespace assets
