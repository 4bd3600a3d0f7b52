// The browser's backend works out its matrices and mipmaps itself; here they
// are held against what OpenGL and GLU make of the same calls on the desktop.
#include <GL/freeglut.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "image/rgb_resample.h"
#include "render/matrices.h"

namespace {

class GluAgreement : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    int argc = 1;
    char name[] = "glu_agreement";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(64, 64);
    glutCreateWindow("glu agreement");
    glutHideWindow();
  }
};

void expectSameMatrix(GLenum which, const Mat4& ours, const char* what) {
  float gl[16];
  glGetFloatv(which, gl);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(ours.m[i], gl[i], 2e-6 * std::max(1.0f, std::fabs(gl[i])))
        << what << ", element " << i;
  }
}

}  // namespace

TEST_F(GluAgreement, ProjectionCameraAndTransformsMatchOpenGLs) {
  struct {
    double fovy, aspect, zNear, zFar;
  } projections[] = {{60, 1, 0.1f, 100}, {60, 2, 0.1f, 100}, {45, 0.5, 1, 10}};
  glMatrixMode(GL_PROJECTION);
  for (const auto& p : projections) {
    glLoadIdentity();
    gluPerspective(p.fovy, p.aspect, p.zNear, p.zFar);
    expectSameMatrix(GL_PROJECTION_MATRIX, perspectiveMatrix(p.fovy, p.aspect, p.zNear, p.zFar),
                     "perspective");
  }

  // The scene's camera and a hamster's transforms after it, in their order,
  // with a tumble axis straight up (a hamster above the centre).
  glMatrixMode(GL_MODELVIEW);
  const double eyes[][3] = {{0, -1.8, 1.2}, {2, 1, -3}};
  const double centre[3] = {0, 0, 0.5}, up[3] = {0, 0.2, 1};
  for (const auto& eye : eyes) {
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
    Mat4 ours = lookAtMatrix(eye, centre, up);
    expectSameMatrix(GL_MODELVIEW_MATRIX, ours, "look-at");
    glRotatef(-90, 0, 0, 1);
    glTranslatef(0.5f, -1.1f, 0.3f);
    glRotatef(217.5f, -0.0f, 0.0f, 0.01f);
    glRotatef(33.3f, 0.4f, -0.7f, 0.01f);
    ours = ours * rotationMatrix(-90, 0, 0, 1) * translationMatrix(0.5f, -1.1f, 0.3f) *
           rotationMatrix(217.5f, -0.0f, 0.0f, 0.01f) * rotationMatrix(33.3f, 0.4f, -0.7f, 0.01f);
    expectSameMatrix(GL_MODELVIEW_MATRIX, ours, "camera, spin and hamster");
  }
}

// A 256 x 256 picture's chain down to 1 x 1, level for level.
TEST_F(GluAgreement, HalvingMakesGlusMipmapLevels) {
  constexpr int kSize = 256;
  std::vector<uint8_t> level(kSize * kSize * 3);
  uint32_t noise = 12345;
  for (uint8_t& byte : level) {
    noise = noise * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(noise >> 16);
  }
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, level.data());
  std::vector<uint8_t> gl(level.size());
  int side = kSize;
  for (int n = 0; side >= 1; ++n, side /= 2) {
    glGetTexImage(GL_TEXTURE_2D, n, GL_RGB, GL_UNSIGNED_BYTE, gl.data());
    const size_t bytes = size_t(side) * side * 3;
    int differing = 0;
    for (size_t i = 0; i < bytes; ++i) differing += gl[i] != level[i];
    EXPECT_EQ(differing, 0) << "level " << n << " (" << side << " x " << side << ")";
    if (side == 1) break;
    std::vector<uint8_t> next(bytes / 4 + 3);
    halveRgb(level.data(), side, side, next.data());
    level = std::move(next);
  }
  glDeleteTextures(1, &texture);
}
