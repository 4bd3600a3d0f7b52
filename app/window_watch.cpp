#include "app/window_watch.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <algorithm>

#include "render/scene_draw.h"

namespace {

// Ten frames a second while hidden: the time step stays below its clamp of
// 0.25 s, so no time is lost, and the crowd costs little even at 1500.
constexpr unsigned kHiddenFrameMs = 100;

struct Watch {
  WindowCallbacks callbacks = {};
  int frameWindow = 0;
  int viewWindow = 0;
  int maxWidth = 0;  // of the view
  int maxHeight = 0;
  bool hidden = false;
  // Each hiding starts a timer chain of its own; an older one stops here.
  int hiding = 0;
};
Watch watch;

void onHiddenFrame(int hiding) {
  if (!watch.hidden || hiding != watch.hiding) return;
  watch.callbacks.frame();
  glutTimerFunc(kHiddenFrameMs, onHiddenFrame, hiding);
}

void onFrameStatus(int status) {
  const bool hidden = status == GLUT_HIDDEN || status == GLUT_FULLY_COVERED;
  if (hidden == watch.hidden) return;
  watch.hidden = hidden;
  if (hidden) {
    glutIdleFunc(nullptr);
    glutTimerFunc(kHiddenFrameMs, onHiddenFrame, ++watch.hiding);
  } else {
    glutIdleFunc(watch.callbacks.idle);
  }
}

void onFrameReshape(int width, int height) {
  glutSetWindow(watch.viewWindow);
  glutReshapeWindow(std::min(width, watch.maxWidth), std::min(height, watch.maxHeight));
}

// The frame is never drawn into, but the toolkit insists on a display callback.
void onFrameDisplay() {}

void installInput() {
  glutKeyboardFunc(watch.callbacks.keyboard);
  glutMouseFunc(watch.callbacks.mouse);
}

}  // namespace

void openWindow(const char* title, const WindowCallbacks& callbacks) {
  watch.callbacks = callbacks;
  watch.frameWindow = glutCreateWindow(title);
  const int width = glutGet(GLUT_WINDOW_WIDTH), height = glutGet(GLUT_WINDOW_HEIGHT);
  glutDisplayFunc(onFrameDisplay);
  glutReshapeFunc(onFrameReshape);
  glutWindowStatusFunc(onFrameStatus);
  // Keys go to the window that has the focus, the frame or the view.
  installInput();

  watch.viewWindow = glutCreateSubWindow(watch.frameWindow, 0, 0, width, height);
  installInput();
  glutReshapeFunc(onReshape);
  GLint viewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
  // The size the window opens with is always allowed; beyond it, what the
  // screen shows: a larger view shows nothing more, and the software
  // renderer's buffers grow with it.
  const int opened = std::max(width, height);
  watch.maxWidth = std::max(opened, glutGet(GLUT_SCREEN_WIDTH));
  watch.maxHeight = std::max(opened, glutGet(GLUT_SCREEN_HEIGHT));
  if (viewport[0] > 0) watch.maxWidth = std::min<int>(watch.maxWidth, viewport[0]);
  if (viewport[1] > 0) watch.maxHeight = std::min<int>(watch.maxHeight, viewport[1]);
  glutIdleFunc(callbacks.idle);
}

void selectView() {
  if (glutGetWindow() != watch.viewWindow) glutSetWindow(watch.viewWindow);
}

void iconifyWindow() {
  glutSetWindow(watch.frameWindow);
  glutIconifyWindow();
  glutSetWindow(watch.viewWindow);
}

bool windowShowsFrames() {
  return !watch.hidden;
}
