// The drawing calls on the desktop: each is the OpenGL 1.1 or GLU call of the
// same name, so the frames are exactly what immediate mode and display lists
// draw.
#include <GL/gl.h>
#include <GL/glu.h>

#include "render/graphics.h"

namespace gfx {

namespace {
void setEnabled(GLenum capability, bool on) {
  if (on) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}
}  // namespace

void drawQuads(const TexturedQuad* quads, int count) {
  for (int i = 0; i < count; ++i) {
    glBegin(GL_QUADS);
    for (const TexturedCorner& c : quads[i]) {
      glTexCoord2f(c.s, c.t);
      glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
  }
}

void drawModelPart(uint32_t part) {
  glCallList(part);
}

void clearDepth() {
  glClear(GL_DEPTH_BUFFER_BIT);
}

void setViewport(int width, int height) {
  glViewport(0, 0, width, height);
}

void loadPerspective(double fovyDegrees, double aspect, double zNear, double zFar) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(fovyDegrees, aspect, zNear, zFar);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void loadLookAt(const double eye[3], const double centre[3], const double up[3]) {
  glLoadIdentity();
  gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
}

void rotate(float degrees, float x, float y, float z) {
  glRotatef(degrees, x, y, z);
}

void translate(float x, float y, float z) {
  glTranslatef(x, y, z);
}

void pushMatrix() {
  glPushMatrix();
}

void popMatrix() {
  glPopMatrix();
}

void setTexturing(bool on) {
  setEnabled(GL_TEXTURE_2D, on);
}

void setCulling(bool on) {
  setEnabled(GL_CULL_FACE, on);
}

void setBlending(bool on) {
  setEnabled(GL_BLEND, on);
}

void bindTexture(uint32_t name) {
  glBindTexture(GL_TEXTURE_2D, name);
}

void setColour(float red, float green, float blue) {
  glColor3f(red, green, blue);
}

}  // namespace gfx
