#include "render/scene_draw.h"

#include <algorithm>

#include "render/graphics.h"
#include "render/hamster_draw.h"
#include "render/hamster_model.h"
#include "scene/scene_files.h"
#include "sim/hamster.h"

namespace {

using Quad = gfx::TexturedQuad;

// A texture coordinate of the pictures' regions, as GL takes it.
constexpr float st(double coordinate) {
  return static_cast<float>(coordinate);
}

// Sloping walls from the floor's edge out to ±4 at height 1, wound to face the
// inside; their lower edge lies 0.02 below the floor so the seam never gapes.
// Texture repeats three times along each wall.
constexpr Quad kWalls[] = {
    {{-3, 3, -0.07f, 0, 0}, {3, 3, -0.07f, 3, 0}, {4, 4, 1, 3, 1}, {-4, 4, 1, 0, 1}},
    {{3, -3, -0.07f, 0, 0}, {-3, -3, -0.07f, 3, 0}, {-4, -4, 1, 3, 1}, {4, -4, 1, 0, 1}},
    {{3, 3, -0.07f, 0, 0}, {3, -3, -0.07f, 3, 0}, {4, -4, 1, 3, 1}, {4, 4, 1, 0, 1}},
    {{-3, -3, -0.07f, 0, 0}, {-3, 3, -0.07f, 3, 0}, {-4, 4, 1, 3, 1}, {-4, -4, 1, 0, 1}},
};

// 6 x 6, texture repeated ten times each way.
constexpr Quad kFloor = {
    {3, 3, -0.05f, 0, 10}, {-3, 3, -0.05f, 0, 0}, {-3, -3, -0.05f, 10, 0}, {3, -3, -0.05f, 10, 10}};

// The pen's low fence, the cut-out strip shown twice along each side.
constexpr Quad kFence[] = {
    {{-1.2f, 1.2f, -0.05f, 0, 0},
     {1.2f, 1.2f, -0.05f, 2, 0},
     {1.2f, 1.2f, 0.02f, 2, st(kCutoutFence.t1)},
     {-1.2f, 1.2f, 0.02f, 0, st(kCutoutFence.t1)}},
    {{1.2f, -1.2f, -0.05f, 0, 0},
     {-1.2f, -1.2f, -0.05f, 2, 0},
     {-1.2f, -1.2f, 0.02f, 2, st(kCutoutFence.t1)},
     {1.2f, -1.2f, 0.02f, 0, st(kCutoutFence.t1)}},
    {{1.2f, 1.2f, -0.05f, 0, 0},
     {1.2f, -1.2f, -0.05f, 2, 0},
     {1.2f, -1.2f, 0.02f, 2, st(kCutoutFence.t1)},
     {1.2f, 1.2f, 0.02f, 0, st(kCutoutFence.t1)}},
    {{-1.2f, -1.2f, -0.05f, 0, 0},
     {-1.2f, 1.2f, -0.05f, 2, 0},
     {-1.2f, 1.2f, 0.02f, 2, st(kCutoutFence.t1)},
     {-1.2f, -1.2f, 0.02f, 0, st(kCutoutFence.t1)}},
};

// One tuft in its own coordinates: two upright cards crossing at the origin.
constexpr TexRect kTuft = kCutoutTuft;
constexpr Quad kGrassTuft[] = {
    {{-0.15f, 0, -0.05f, st(kTuft.s0), st(kTuft.t0)},
     {0.15f, 0, -0.05f, st(kTuft.s1), st(kTuft.t0)},
     {0.15f, 0, 0.2f, st(kTuft.s1), st(kTuft.t1)},
     {-0.15f, 0, 0.2f, st(kTuft.s0), st(kTuft.t1)}},
    {{0, -0.15f, -0.05f, st(kTuft.s0), st(kTuft.t0)},
     {0, 0.15f, -0.05f, st(kTuft.s1), st(kTuft.t0)},
     {0, 0.15f, 0.2f, st(kTuft.s1), st(kTuft.t1)},
     {0, -0.15f, 0.2f, st(kTuft.s0), st(kTuft.t1)}},
};

// Three panels in a shallow arc above the pen's +y side: left, middle, right
// as seen from the centre, each reading the right way round from there.
constexpr TexRect kLeft = kCutoutSignLeft, kMiddle = kCutoutSignMiddle, kRight = kCutoutSignRight;
constexpr Quad kSign[] = {
    {{-1.3f, 1, 1, st(kLeft.s0), st(kLeft.t1)},
     {-0.5f, 1.4f, 1, st(kLeft.s1), st(kLeft.t1)},
     {-0.5f, 1.4f, 0.7f, st(kLeft.s1), st(kLeft.t0)},
     {-1.3f, 1, 0.7f, st(kLeft.s0), st(kLeft.t0)}},
    {{-0.4f, 1.5f, 1, st(kMiddle.s0), st(kMiddle.t1)},
     {0.4f, 1.5f, 1, st(kMiddle.s1), st(kMiddle.t1)},
     {0.4f, 1.5f, 0.7f, st(kMiddle.s1), st(kMiddle.t0)},
     {-0.4f, 1.5f, 0.7f, st(kMiddle.s0), st(kMiddle.t0)}},
    {{0.5f, 1.4f, 1, st(kRight.s0), st(kRight.t1)},
     {1.3f, 1, 1, st(kRight.s1), st(kRight.t1)},
     {1.3f, 1, 0.7f, st(kRight.s1), st(kRight.t0)},
     {0.5f, 1.4f, 0.7f, st(kRight.s0), st(kRight.t0)}},
};

template <size_t N>
void drawQuads(const Quad (&quads)[N]) {
  gfx::drawQuads(quads, static_cast<int>(N));
}

void drawQuad(const Quad& quad) {
  gfx::drawQuads(&quad, 1);
}

// Above the pen's -y side, looking down at its centre.
constexpr double kEye[3] = {0, -1.8, 1.2};
constexpr double kLookedAt[3] = {0, 0, 0};
constexpr double kUp[3] = {0, 0, 1};

void setCamera(float spinAngle) {
  gfx::loadLookAt(kEye, kLookedAt, kUp);
  gfx::rotate(spinAngle, 0, 0, 1);
}

// The first frame draws them with culling on, as start-up leaves it; every
// later frame with it off. Both show the same, since the walls face the camera.
void drawWalls(const SceneState& state) {
  gfx::setTexturing(true);
  gfx::bindTexture(state.textures.environmentTexture);
  drawQuads(kWalls);
}

void drawFloor(const SceneState& state) {
  gfx::setCulling(false);
  gfx::bindTexture(state.textures.floorTexture);
  drawQuad(kFloor);
}

// Transparent texels are blended away but still write depth: there is no
// alpha test, so they hide hamsters behind them.
void drawFence(const SceneState& state) {
  gfx::setBlending(true);
  gfx::bindTexture(state.textures.cutoutTexture);
  drawQuads(kFence);
}

void drawGrass(const SceneState& state) {
  for (const GrassTuft& tuft : state.grassTufts) {
    gfx::pushMatrix();
    gfx::translate(tuft.x, tuft.y, 0);
    drawQuads(kGrassTuft);
    gfx::popMatrix();
  }
}

// The body list switches texturing on for itself, so the texture bound here
// is the one every hamster shows.
void drawHamsters(SceneState& state) {
  gfx::setCulling(true);
  gfx::setTexturing(false);
  gfx::setBlending(false);
  gfx::setColour(1, 1, 1);
  gfx::bindTexture(state.textures.hamsterTexture);
  ListPainter painter({state.hamsterList, state.shadowList});
  // The count is kept within the pool by the input handlers; the bound here
  // only makes sure a bad count can never read past it.
  const int32_t count = std::min<int32_t>(state.hamsterCount, kMaxHamsters);
  for (int32_t i = 0; i < count; ++i) {
    if (Hamster* hamster = state.hamsterPool[i]) hamster->draw(&painter);
  }
}

// Drawn last, so it hides nothing.
void drawSign(const SceneState& state) {
  gfx::setTexturing(true);
  gfx::setCulling(false);
  gfx::setBlending(true);
  gfx::bindTexture(state.textures.cutoutTexture);
  drawQuads(kSign);
}

}  // namespace

void drawFrame(SceneState& state) {
  if (state.listsBuilt == 0) {
    initModel(state);
    state.listsBuilt = 1;
  }
  gfx::clearDepth();
  setCamera(state.spinAngle);
  drawWalls(state);
  drawFloor(state);
  drawFence(state);
  drawGrass(state);
  drawHamsters(state);
  drawSign(state);
  gfx::setBlending(false);
  gfx::setTexturing(false);
}

double viewAspect(int width, int height) {
  // A zero height would make the aspect infinite and the projection degenerate
  // until the next reshape; nothing shows in such a window anyway.
  return static_cast<double>(width) / static_cast<double>(std::max(height, 1));
}

void onReshape(int width, int height) {
  gfx::setViewport(width, height);
  // The near plane is the single-precision 0.1, widened.
  gfx::loadPerspective(60.0, viewAspect(width, height), static_cast<double>(0.1f), 100.0);
}
