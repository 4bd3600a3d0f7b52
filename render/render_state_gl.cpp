#include "render/render_state.h"

#include <GL/gl.h>

namespace {
// Light 0, positional, fixed in eye coordinates.
constexpr float kLightAmbient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
constexpr float kLightDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kLightPosition[4] = {1.0f, 1.0f, 2.0f, 1.0f};
}  // namespace

void setFixedRenderState() {
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  // Given while the modelview matrix is the identity, so the light stays fixed
  // relative to the camera.
  glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
  glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
  glEnable(GL_LIGHT0);
  glEnable(GL_CULL_FACE);
}
