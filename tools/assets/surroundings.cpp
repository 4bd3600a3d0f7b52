// The view beyond the pen: a meadow strewn with flowers, a line of round trees,
// blue hills and a sky with soft clouds. Each wall shows the picture three
// times across and once from bottom to top, so it wraps across (s) and not up
// (t). On screen a wall repeat is about twice as wide as it is high, so shapes
// meant to look round are drawn half as wide in s as in t.
#include <cmath>

#include "tools/assets/det_math.h"
#include "tools/assets/noise.h"
#include "tools/assets/pictures.h"

namespace assets {

namespace {

constexpr double kAcross = 2.0;  // on-screen width of one unit of s, in units of t

constexpr Colour kSkyLow{218, 232, 238};
constexpr Colour kSkyHigh{104, 156, 218};
constexpr Colour kCloud{252, 252, 250};
constexpr Colour kCloudShade{206, 214, 226};
constexpr Colour kHillFar{150, 178, 176};
constexpr Colour kHillNear{118, 152, 128};
constexpr Colour kMeadowNear{66, 122, 44};
constexpr Colour kMeadowFar{150, 178, 92};
constexpr Colour kLeaves{58, 104, 50};

// Distance from a to b across the wrap of s.
double wrapDelta(double a, double b) {
  double d = a - b;
  return d - std::floor(d + 0.5);
}

double ridge(double s, int cells, uint32_t seed) {
  double sum = 0.0;
  double weight = 0.5;
  for (int octave = 0; octave < 3; ++octave) {
    int n = cells << octave;
    sum += weight * valueNoise(s * n, 0.0, n, 1, seed + uint32_t(octave));
    weight *= 0.5;
  }
  return sum / 0.875;
}

struct Tree {
  double s, t;    // crown centre
  double radius;  // in t
  Colour colour;
};

constexpr int kTrees = 22;

struct Scene {
  Tree trees[kTrees];
};

Scene makeScene() {
  Scene scene;
  Dice dice(31);
  for (int i = 0; i < kTrees; ++i) {
    Tree& tree = scene.trees[i];
    tree.s = (i + dice.range(0.0, 0.8)) / kTrees;
    tree.radius = dice.range(0.035, 0.07);
    tree.t = 0.455 + dice.range(0.0, 0.03) + 0.3 * tree.radius;
    tree.colour = mix(kLeaves, Colour{92, 128, 56}, dice.unit());
  }
  return scene;
}

Colour skyAt(double s, double t) {
  Colour c = mix(kSkyLow, kSkyHigh, smoothstep(0.5, 1.0, t));
  double n = fractalNoise(s, t, 6, 3, 4, 41);
  double cloud = smoothstep(0.52, 0.72, n) * smoothstep(0.6, 0.72, t);
  double shade = smoothstep(0.5, 0.8, fractalNoise(s, t - 0.02, 6, 3, 4, 41));
  Colour cloudColour = mix(kCloudShade, kCloud, clamp01(1.2 * cloud - 0.2 * shade + 0.3));
  return mix(c, cloudColour, cloud);
}

Colour meadowAt(double s, double t) {
  double depth = clamp01(t / 0.47);  // 0 at the wall's foot, 1 at the trees
  Colour c = mix(kMeadowNear, kMeadowFar, depth * depth);
  // Blades are fine near the foot and blur into broad bands towards the trees.
  double blades = valueNoise(s * 256.0, t * 64.0, 256, 64, 51);
  double patches = fractalNoise(s, t, 8, 4, 3, 52);
  double stripes = 0.5 + 0.5 * detSin(2.0 * kPi * (t * 9.0 + 0.3 * patches));
  c = scale(c, 0.86 + 0.16 * blades * (1.0 - depth) + 0.16 * patches + 0.05 * stripes * depth);
  return c;
}

Colour treesAt(const Scene& scene, double s, double t, Colour behind) {
  Colour c = behind;
  for (const Tree& tree : scene.trees) {
    double ds = wrapDelta(s, tree.s) * kAcross / tree.radius;
    double dt = (t - tree.t) / tree.radius;
    // A crown of three lumps: a wide base and a rounded top.
    double lumps[3][3] = {{0.0, 0.0, 1.0}, {-0.55, -0.35, 0.7}, {0.55, -0.3, 0.72}};
    double cover = 0.0;
    for (auto& lump : lumps) {
      double ls = (ds - lump[0]) / lump[2];
      double lt = (dt - lump[1]) / lump[2];
      double r = std::sqrt(ls * ls + lt * lt);
      double inside = 1.0 - smoothstep(0.9, 1.0, r);
      if (inside > cover) cover = inside;
    }
    if (t < 0.47) cover = 0.0;  // the meadow in front hides the trunks
    if (cover <= 0.0) continue;
    double light = clamp01(0.5 + 0.35 * dt - 0.25 * ds);
    double leaves = valueNoise(s * 192.0, t * 96.0, 192, 96, 61);
    Colour crown = scale(tree.colour, 0.72 + 0.45 * light + 0.12 * leaves);
    c = mix(c, crown, cover);
  }
  return c;
}

Colour surroundingsAt(const Scene& scene, double s, double t) {
  double farRidge = 0.53 + 0.1 * ridge(s, 3, 71);
  double nearRidge = 0.49 + 0.06 * ridge(s + 0.37, 5, 72);
  Colour c = skyAt(s, t);
  c = mix(c, mix(kHillFar, kSkyLow, 0.25), 1.0 - smoothstep(farRidge - 0.002, farRidge + 0.002, t));
  c = mix(c, kHillNear, 1.0 - smoothstep(nearRidge - 0.002, nearRidge + 0.002, t));
  c = treesAt(scene, s, t, c);
  double meadowEdge = 0.47 + 0.006 * ridge(s, 16, 73);
  double meadow = 1.0 - smoothstep(meadowEdge - 0.003, meadowEdge + 0.003, t);
  return mix(c, meadowAt(s, t), meadow);
}

// Small flowers, bigger near the foot of the wall where the meadow is closer.
void scatterFlowers(Canvas& canvas) {
  static const Colour kPetals[] = {
      {250, 250, 244}, {250, 222, 80}, {232, 150, 196}, {176, 150, 236}};
  Dice dice(81);
  for (int i = 0; i < 420; ++i) {
    double t = 0.44 * dice.unit() * dice.unit();
    double s = dice.unit();
    double radius = 0.6 + 2.2 * (1.0 - t / 0.44);  // pixels, in t
    Colour petal = kPetals[dice.below(4)];
    double cx = s * kTextureSize;
    double cy = t * kTextureSize;
    int reach = int(radius) + 2;
    for (int y = int(cy) - reach; y <= int(cy) + reach; ++y) {
      if (y < 0 || y >= kTextureSize) continue;
      for (int x = int(cx) - reach; x <= int(cx) + reach; ++x) {
        double dx = (x + 0.5 - cx) * kAcross;
        double dy = y + 0.5 - cy;
        double r = std::sqrt(dx * dx + dy * dy);
        double cover = clamp01(radius + 0.5 - r);
        if (cover > 0.0) canvas.blendWrapped(x, y, petal, cover);
      }
    }
  }
}

}  // namespace

Canvas paintSurroundings() {
  const Scene scene = makeScene();
  Canvas canvas = paintSupersampled(kTextureSize, kTextureSize, 2, [&](double s, double t) {
    return surroundingsAt(scene, s, t);
  });
  scatterFlowers(canvas);
  return canvas;
}

}  // namespace assets
