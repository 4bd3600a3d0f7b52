// The hamster model as two display lists: the tables' faces compiled once, so
// that drawing a hamster is two list calls.
#include <GL/gl.h>

#include "render/hamster_model.h"

namespace {

// Texture pair first: glArrayElement emits the vertex and so ends the corner.
void sendCorner(int32_t vertex) {
  glTexCoord2fv(hamsterTexCoords[vertex]);
  glArrayElement(vertex);
}

void compileBody(bool lit) {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_NORMALIZE);
  if (lit) glEnable(GL_LIGHTING);
  if (lit) glEnable(GL_LIGHT0);
  glDisable(GL_BLEND);
  for (const auto& triangle : hamsterTriangles) {
    glBegin(GL_TRIANGLES);
    for (int32_t vertex : triangle) sendCorner(vertex);
    glEnd();
  }
  for (const auto& quad : hamsterQuads) {
    glBegin(GL_QUADS);
    for (int32_t vertex : quad) sendCorner(vertex);
    glEnd();
  }
  glDisable(GL_NORMALIZE);
  glDisable(GL_TEXTURE_2D);
  // Light 0 stays on: it is configured once at start-up and only the lighting
  // switch decides whether it is used.
  if (lit) glDisable(GL_LIGHTING);
}

// Flat and untextured because the body list, always called just before, leaves
// texturing and lighting off.
void compileShadow() {
  glEnable(GL_BLEND);
  glColor4f(0, 0.2f, 0, 0.4f);
  glBegin(GL_POLYGON);
  for (const auto& corner : shadowPolygon) glVertex3fv(corner);
  glEnd();
  glDisable(GL_BLEND);
}

}  // namespace

void setupVertexArrays() {
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, hamsterVertices);
  glNormalPointer(GL_FLOAT, 0, hamsterNormals);
}

void buildDisplayLists(SceneState& state) {
  state.hamsterList = glGenLists(2);
  state.shadowList = state.hamsterList + 1;

  glNewList(state.hamsterList, GL_COMPILE);
  compileBody(state.lightingEnabled != 0);
  glEndList();

  glNewList(state.hamsterList + 1, GL_COMPILE);
  compileShadow();
  glEndList();
}

void initModel(SceneState& state) {
  setupVertexArrays();
  buildDisplayLists(state);
}
