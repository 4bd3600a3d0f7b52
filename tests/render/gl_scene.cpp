#include "tests/render/gl_scene.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "app/startup.h"
#include "render/render_state.h"
#include "render/scene_draw.h"
#include "scene/scene_files.h"
#include "sim/hamster.h"

namespace {

void initToolkitOnce() {
  static bool done = false;
  if (done) return;
  char name[] = "render_tests";
  char* argv[] = {name, nullptr};
  int argc = 1;
  glutInit(&argc, argv);
  done = true;
}

// A side x side RGBA texture sampled without filtering; clamped at its edges
// instead of repeating when asked.
GLuint nearestTexture(int side, const uint8_t* texels, bool clamped) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  if (clamped) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  return name;
}

GLuint flatTexture(Rgb c) {
  const uint8_t texel[4] = {c.r, c.g, c.b, 255};
  return nearestTexture(1, texel, false);
}

GLuint signOnlyCutout() {
  constexpr int kSide = 64;
  std::vector<uint8_t> texels(kSide * kSide * 4, 0);
  for (int row = 0; row < kSide; ++row) {
    for (int column = 0; column < kSide; ++column) {
      const double s = (column + 0.5) / kSide, t = (row + 0.5) / kSide;
      const Rgb* colour = nullptr;
      const auto inside = [s, t](TexRect r) { return s < r.s1 && t >= r.t0 && t < r.t1; };
      if (inside(kCutoutSignRight)) colour = &kSignRightColour;
      if (inside(kCutoutSignMiddle)) colour = &kSignMiddleColour;
      if (inside(kCutoutSignLeft)) colour = &kSignLeftColour;
      // A margin around the tuft's corner, whose edge pixels may sample a
      // neighbouring texel.
      if (s > 0.77 && t > 0.83) colour = nullptr;
      if (!colour) continue;
      uint8_t* texel = &texels[(row * kSide + column) * 4];
      texel[0] = colour->r;
      texel[1] = colour->g;
      texel[2] = colour->b;
      texel[3] = 255;
    }
  }
  // Clamped, unlike the real texture, so that the tufts' edges at s = 1 cannot
  // wrap round to the sign's colours at s = 0; the fence stays transparent.
  return nearestTexture(kSide, texels.data(), true);
}

}  // namespace

void GlScene::open(int w, int h, uint32_t seed) {
  width = w;
  height = h;
  initToolkitOnce();
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
  glutInitWindowSize(w, h);
  window = glutCreateWindow("render test");
  glutDisplayFunc([] {});

  initScene(state, clock, {seed});
  setFixedRenderState();
  onReshape(w, h);
  state.textures.environmentTexture = flatTexture(kWallColour);
  state.textures.floorTexture = flatTexture(kFloorColour);
  state.textures.hamsterTexture = flatTexture(kHamsterColour);
  state.textures.cutoutTexture = signOnlyCutout();
  glBindTexture(GL_TEXTURE_2D, 0);
}

void GlScene::TearDown() {
  freeHamsters(state);
  if (window) glutDestroyWindow(window);
#if defined(__SANITIZE_ADDRESS__)
  // While Mesa's driver is still loaded: at exit the checker would blame the
  // driver's teardown leftovers on no module.
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

void GlScene::fillBackBuffer(Rgb c) {
  glClearColor(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
}

Frame GlScene::readBackBuffer() {
  Frame frame;
  frame.width = width;
  frame.height = height;
  frame.rgb.resize(static_cast<size_t>(width) * height * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
  return frame;
}

std::array<double, 2> GlScene::project(double x, double y, double z) {
  GLdouble model[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  GLdouble wx = 0, wy = 0, wz = 0;
  gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
  return {wx, wy};
}

Hamster& GlScene::onlyHamster(float x, float y, float z, float heading) {
  Hamster& h = *state.hamsterPool[0];
  h.x = x;
  h.y = y;
  h.z = z;
  h.heading = heading;
  h.tumbleAngle = 0;
  state.hamsterCount = 1;
  return h;
}
