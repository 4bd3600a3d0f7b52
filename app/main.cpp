// The program: one window, the toolkit callbacks, and the one scene state.
// Callbacks only forward to functions that take the state as a parameter.
#include <GL/freeglut.h>

#include <cstdlib>
#include <ctime>

#include "app/input.h"
#include "app/scene_state.h"
#include "app/startup.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "render/scene_draw.h"
#include "sim/frame_step.h"

namespace {

SceneState theScene;
MonotonicClock theClock;
MixerSound theSound;

void onKeyboard(unsigned char key, int, int) {
  // Quitting ends the process here, without freeing the hamsters.
  if (handleKey(theScene, key) == KeyResult::kQuit) std::exit(0);
}

void onMouse(int button, int state, int, int) { handleMouseButton(theScene, button, state); }

void onIdle() {
  stepFrame(theScene, theClock, theSound);
  drawScene(theScene);
}

void onDisplay() { drawScene(theScene); }

}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  // Closing the window returns from the main loop, so the pool is freed.
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
  glutInitWindowSize(500, 500);
  glutInitWindowPosition(100, 100);
  glutCreateWindow(kWindowTitle);

  glutMouseFunc(onMouse);
  glutKeyboardFunc(onKeyboard);
  glutReshapeFunc(onReshape);
  glutIdleFunc(onIdle);

  initScene(theScene, theClock, {static_cast<uint32_t>(std::time(nullptr)), true});
  glutDisplayFunc(onDisplay);

  glutMainLoop();
  freeHamsters(theScene);
  return 0;
}
