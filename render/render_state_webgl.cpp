// The fixed render state in WebGL: the same tests and blend function, and
// light 0 worked into the shader's constants together with OpenGL's default
// material, which the desktop never changes.
#include <GLES2/gl2.h>

#include "render/render_state.h"
#include "render/webgl_context.h"

namespace {
// OpenGL's defaults: the scene's ambient light, the material's ambient and
// diffuse reflection (its diffuse alpha is a lit vertex's alpha); the
// material reflects nothing specular.
constexpr float kSceneAmbient = 0.2f;
constexpr float kMaterialAmbient = 0.2f;
constexpr float kMaterialDiffuse = 0.8f;
}  // namespace

void setFixedRenderState() {
  glClearDepthf(1.0f);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  WebGlShader& shader = webGl().shader;
  prepareShader(shader);
  float ambient[3], diffuse[3];
  for (int c = 0; c < 3; ++c) {
    ambient[c] = kSceneAmbient * kMaterialAmbient + kLightAmbient[c] * kMaterialAmbient;
    diffuse[c] = kLightDiffuse[c] * kMaterialDiffuse;
  }
  glUniform3f(shader.lightPosition, kLightPosition[0], kLightPosition[1], kLightPosition[2]);
  glUniform3fv(shader.litAmbient, 1, ambient);
  glUniform3fv(shader.litDiffuse, 1, diffuse);
  glUniform1f(shader.litAlpha, kMaterialDiffuse);
  glEnable(GL_CULL_FACE);
}
