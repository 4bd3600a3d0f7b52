#include "render/scene_draw.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

// Placeholder frame until the scene is drawn: clear and present.
void drawScene(SceneState&) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
}

void onReshape(int width, int height) { glViewport(0, 0, width, height); }
