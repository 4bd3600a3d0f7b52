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
  void (*idle)() = nullptr;
  void (*frame)() = nullptr;
  int maxWidth = 0;
  int maxHeight = 0;
  bool hidden = false;
  bool oversized = false;
  // Each hiding starts a timer chain of its own; an older one stops here.
  int hiding = 0;
};
Watch watch;

void onHiddenFrame(int hiding) {
  if (!watch.hidden || hiding != watch.hiding) return;
  watch.frame();
  glutTimerFunc(kHiddenFrameMs, onHiddenFrame, hiding);
}

void onWindowStatus(int status) {
  const bool hidden = status == GLUT_HIDDEN || status == GLUT_FULLY_COVERED;
  if (hidden == watch.hidden) return;
  watch.hidden = hidden;
  if (hidden) {
    glutIdleFunc(nullptr);
    glutTimerFunc(kHiddenFrameMs, onHiddenFrame, ++watch.hiding);
  } else {
    glutIdleFunc(watch.idle);
  }
}

void onWindowReshape(int width, int height) {
  watch.oversized = width > watch.maxWidth || height > watch.maxHeight;
  if (watch.oversized) {
    // Drawn again once the window has the size asked for here.
    glutReshapeWindow(std::min(width, watch.maxWidth), std::min(height, watch.maxHeight));
    return;
  }
  onReshape(width, height);
}

}  // namespace

void watchWindow(void (*idle)(), void (*frame)()) {
  watch.idle = idle;
  watch.frame = frame;
  GLint viewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
  // The size the program opens its window with is always allowed; beyond
  // it, what the screen shows: a larger window shows nothing more, and the
  // software renderer's buffers grow with it.
  const int opened = std::max(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
  watch.maxWidth = std::max(opened, glutGet(GLUT_SCREEN_WIDTH));
  watch.maxHeight = std::max(opened, glutGet(GLUT_SCREEN_HEIGHT));
  if (viewport[0] > 0) watch.maxWidth = std::min<int>(watch.maxWidth, viewport[0]);
  if (viewport[1] > 0) watch.maxHeight = std::min<int>(watch.maxHeight, viewport[1]);
  glutReshapeFunc(onWindowReshape);
  glutWindowStatusFunc(onWindowStatus);
  glutIdleFunc(idle);
}

bool windowShowsFrames() {
  return !watch.hidden && !watch.oversized;
}
