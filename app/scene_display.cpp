#include "app/scene_display.h"

#include <GL/freeglut.h>

#include "render/scene_draw.h"

void drawScene(SceneState& state) {
  drawFrame(state);
  glutSwapBuffers();
}
