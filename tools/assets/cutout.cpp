// The see-through picture: a strip of wooden picket fence along the bottom, a
// grass tuft in the top right corner and three wooden sign boards lettered
// "HELLO", "QUIBBIX" and "HAMSTERS!". Everything else is the key colour.
//
// Edges against the key are hard: a pixel is either the key exactly or an
// opaque colour, never a blend of the two, because a blend would be drawn as a
// green seam. Inside a shape, colours may be smoothed freely.
#include <cmath>
#include <string>

#include "tools/assets/det_math.h"
#include "tools/assets/font.h"
#include "tools/assets/noise.h"
#include "tools/assets/pictures.h"

namespace assets {

namespace {

constexpr Colour kWood{150, 94, 52};
constexpr Colour kWoodLight{196, 138, 84};
constexpr Colour kWoodDark{92, 56, 30};
constexpr Colour kBoard{238, 212, 158};
constexpr Colour kBoardGrain{214, 182, 126};
constexpr Colour kFrame{118, 74, 40};
constexpr Colour kLetter{70, 40, 24};
constexpr Colour kTitle{182, 44, 36};
constexpr Colour kScrew{150, 150, 146};

struct PixelRect {
  double x0, x1, y0, y1;
};

PixelRect toPixels(TexRect r) {
  return {r.s0 * kTextureSize, r.s1 * kTextureSize, r.t0 * kTextureSize, r.t1 * kTextureSize};
}

// The picket fence: 8 pickets to a repeat, two rails behind them.
void paintFence(Canvas& canvas) {
  PixelRect strip = toPixels(kCutoutFence);
  const int top = int(strip.y1);  // last row whose centre lies in the strip
  constexpr int kPitch = 32;
  constexpr double kHalfWidth = 9.0;
  for (int y = 0; y <= top; ++y) {
    for (int x = 0; x < kTextureSize; ++x) {
      double px = x + 0.5;
      double py = y + 0.5;
      double local = px - (std::floor(px / kPitch) * kPitch + kPitch * 0.5);  // -16..16
      // Pointed top: the picket narrows over its last six rows.
      double shoulder = top - 6.0;
      double halfWidth =
          py < shoulder ? kHalfWidth : kHalfWidth * (top + 1.0 - py) / (top + 1.0 - shoulder);
      bool picket = std::fabs(local) < halfWidth;
      bool rail = (py > 4.0 && py < 8.0) || (py > 14.0 && py < 18.0);
      double grain = 0.93 + 0.1 * valueNoise(px / 2.0, py / 9.0, kTextureSize / 2, 4, 91);
      if (picket) {
        // Lit from the left; a dark line where the picket meets its neighbours.
        double across = local / halfWidth;  // -1..1
        Colour c = mix(kWoodLight, kWood, smoothstep(-0.8, 0.2, across));
        c = mix(c, kWoodDark, smoothstep(0.6, 1.0, std::fabs(across)));
        canvas.set(x, y, scale(c, grain));
      } else if (rail) {
        double edge = std::fmod(py, 10.0);  // 4..8 lower rail, 14..18 upper
        Colour c = mix(kWood, kWoodDark, smoothstep(1.0, 2.0, std::fabs(edge - 6.0)) * 0.6);
        // The pickets cast a short shadow on the rail to their right.
        if (local > kHalfWidth && local < kHalfWidth + 3.0) c = mix(c, kWoodDark, 0.6);
        canvas.set(x, y, scale(c, grain));
      }
    }
  }
}

// Tapered, curving blades from a common root, drawn back to front.
void paintTuft(Canvas& canvas) {
  PixelRect r = toPixels(kCutoutTuft);
  const int left = int(std::ceil(r.x0)) + 1;
  const int right = kTextureSize - 2;
  const int bottom = int(std::ceil(r.y0 - 0.5));
  const int top = kTextureSize - 3;
  const double mid = 0.5 * (left + right);
  constexpr int kSamples = 40;
  Dice dice(101);
  constexpr int kBlades = 17;
  for (int i = 0; i < kBlades; ++i) {
    double spread = (i + 0.5) / kBlades * 2.0 - 1.0;  // -1 left to 1 right
    double baseX = mid + spread * 11.0 + dice.range(-2.0, 2.0);
    double tipX = mid + spread * 23.0 + dice.range(-3.0, 3.0);
    double tipY = top - dice.range(0.0, 14.0) - std::fabs(spread) * 6.0;
    double bendX = baseX + (tipX - baseX) * 0.2;
    double bendY = bottom + (tipY - bottom) * 0.7;
    double baseWidth = dice.range(2.2, 3.4);
    Colour root = mix(Colour{40, 88, 30}, Colour{62, 110, 40}, dice.unit());
    Colour tip = mix(Colour{120, 176, 64}, Colour{170, 196, 86}, dice.unit());
    // Blades further back are darker.
    double depth = dice.unit();
    for (int y = bottom; y <= top; ++y) {
      for (int x = left; x <= right; ++x) {
        double px = x + 0.5;
        double py = y + 0.5;
        for (int k = 0; k <= kSamples; ++k) {
          double u = double(k) / kSamples;
          double a = (1 - u) * (1 - u);
          double b = 2 * (1 - u) * u;
          double c = u * u;
          double cx = a * baseX + b * bendX + c * tipX;
          double cy = a * bottom + b * bendY + c * tipY;
          double half = 0.5 * baseWidth * (1.0 - u) + 0.25;
          double dx = px - cx;
          double dy = py - cy;
          if (dx * dx + dy * dy <= half * half) {
            Colour col = mix(root, tip, u);
            double side = clamp01(0.5 + 0.5 * dx / (half + 0.01));
            canvas.set(x, y, scale(col, (0.8 + 0.2 * depth) * (1.08 - 0.16 * side)));
            break;
          }
        }
      }
    }
  }
}

// Signed distance to a rounded rectangle's edge, positive inside.
double insideRoundedRect(double x, double y, PixelRect r, double radius) {
  double cx = 0.5 * (r.x0 + r.x1);
  double cy = 0.5 * (r.y0 + r.y1);
  double qx = std::fabs(x - cx) - (0.5 * (r.x1 - r.x0) - radius);
  double qy = std::fabs(y - cy) - (0.5 * (r.y1 - r.y0) - radius);
  double ox = qx > 0.0 ? qx : 0.0;
  double oy = qy > 0.0 ? qy : 0.0;
  double outside = std::sqrt(ox * ox + oy * oy) +
                   (qx > qy ? (qx < 0.0 ? qx : 0.0) : (qy < 0.0 ? qy : 0.0)) - radius;
  return -outside;
}

void paintSign(Canvas& canvas, TexRect region, const std::string& text, Colour ink, uint32_t seed) {
  constexpr double kMargin = 2.5;
  constexpr double kFrameWidth = 5.0;
  PixelRect area = toPixels(region);
  PixelRect board{area.x0 + kMargin, area.x1 - kMargin, area.y0 + kMargin, area.y1 - kMargin};

  // Lettering layout: 4 x 4 pixel dots, a one-dot gap between letters.
  constexpr int kDot = 4;
  const int textWidth = int(text.size()) * (kGlyphWidth + 1) * kDot - kDot;
  const int textHeight = kGlyphHeight * kDot;
  const double textLeft = std::floor(0.5 * (board.x0 + board.x1) - 0.5 * textWidth);
  const double textBottom = std::floor(0.5 * (board.y0 + board.y1) - 0.5 * textHeight);
  auto inked = [&](double px, double py) {
    double lx = px - textLeft;
    double ly = textBottom + textHeight - py;  // down from the top of the text
    if (lx < 0 || ly < 0) return false;
    int cell = int(lx) / ((kGlyphWidth + 1) * kDot);
    if (cell >= int(text.size())) return false;
    int col = (int(lx) % ((kGlyphWidth + 1) * kDot)) / kDot;
    int row = int(ly) / kDot;
    return glyphDot(text[size_t(cell)], col, row);
  };

  const int y0 = int(std::floor(area.y0));
  const int y1 = int(std::ceil(area.y1));
  for (int y = y0; y < y1 && y < kTextureSize; ++y) {
    for (int x = int(std::floor(area.x0)); x < int(std::ceil(area.x1)) && x < kTextureSize; ++x) {
      double px = x + 0.5;
      double py = y + 0.5;
      double inside = insideRoundedRect(px, py, board, 7.0);
      if (inside < 0.0) continue;  // stays the key colour
      double grain = valueNoise(px / 24.0, py / 1.5, kTextureSize / 24 + 1, 200, seed);
      double rings =
          0.5 + 0.5 * detSin(py * 0.9 + 3.0 * valueNoise(px / 16.0, py / 8.0, 17, 40, seed + 1));
      Colour c = mix(kBoard, kBoardGrain, 0.45 * grain + 0.25 * rings);
      // The frame, with a bevel where it meets the face.
      double frame = 1.0 - smoothstep(kFrameWidth - 0.8, kFrameWidth + 0.8, inside);
      Colour frameColour = mix(kFrame, kWoodLight, 0.35 * smoothstep(1.0, kFrameWidth, inside));
      c = mix(c, frameColour, frame);
      // A screw in each corner of the frame.
      for (double sx : {board.x0 + 9.0, board.x1 - 9.0}) {
        for (double sy : {board.y0 + 9.0, board.y1 - 9.0}) {
          double d = std::sqrt((px - sx) * (px - sx) + (py - sy) * (py - sy));
          c = mix(c, kScrew, 1.0 - smoothstep(1.6, 2.4, d));
        }
      }
      // Letters with a soft shadow below and to the right.
      if (inked(px - 1.5, py + 1.5)) c = scale(c, 0.78);
      if (inked(px, py)) c = ink;
      canvas.set(x, y, c);
    }
  }
}

// Makes sure no opaque pixel comes close to the key, where it would read as a
// faint see-through green edge after filtering.
void keepClearOfKey(Canvas& canvas) {
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      Rgb8 c = canvas.at(x, y);
      if (c == kKeyColour) continue;
      bool nearKey = c.r <= 24 && c.b <= 24 && c.g >= 104 && c.g <= 152;
      if (nearKey) canvas.set(x, y, Rgb8{32, c.g, 32});
    }
  }
}

}  // namespace

Canvas paintCutout() {
  Canvas canvas(kTextureSize, kTextureSize);
  canvas.fill(kKeyColour);
  paintFence(canvas);
  paintTuft(canvas);
  paintSign(canvas, kCutoutSignLeft, "HELLO", kLetter, 111);
  paintSign(canvas, kCutoutSignMiddle, "QUIBBIX", kTitle, 112);
  paintSign(canvas, kCutoutSignRight, "HAMSTERS!", kLetter, 113);
  keepClearOfKey(canvas);
  return canvas;
}

}  // namespace assets
