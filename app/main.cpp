// The program: one window, the toolkit callbacks, and the one scene state.
// Callbacks only forward to functions that take the state as a parameter.
#include <GL/freeglut.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "app/command_line.h"
#include "app/fps_counter.h"
#include "app/gl_startup.h"
#include "app/input.h"
#include "app/scene_display.h"
#include "app/window_watch.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/data_folder.h"
#include "platform/frame_pacer.h"
#include "platform/message_box.h"
#include "platform/mixer_sound.h"
#include "platform/standard_descriptors.h"
#include "platform/text_output.h"
#include "render/swap_interval.h"
#include "scene/scene_state.h"
#include "sim/frame_step.h"

namespace {

constexpr char kWindowTitle[] = "Quibbix";

SceneState theScene;
MonotonicClock theClock;
MixerSound theSound;
FramePacer thePacer;
bool showFrameRate = false;  // --fps
FpsCounter theFrameCounter;

void onKeyboard(unsigned char key, int, int) {
  // Quitting ends the process here, without freeing the hamsters.
  if (handleKey(theScene, key) == KeyResult::kQuit) std::exit(0);
}

void onMouse(int button, int state, int, int) {
  handleMouseButton(theScene, button, state);
}

bool iconifyAfterFirstFrame = false;  // -iconic

// One simulated frame, drawn when the window can show it.
void runFrame() {
  stepFrame(theScene, theClock, theSound);
  if (!windowShowsFrames()) return;
  selectView();
  drawScene(theScene);
  if (iconifyAfterFirstFrame) {
    iconifyAfterFirstFrame = false;
    iconifyWindow();
  }
  if (showFrameRate) {
    const std::string line = theFrameCounter.frameDrawn(theClock.milliseconds());
    // A report that standard output cannot take now is dropped.
    if (!line.empty()) writeWithoutBlocking(STDOUT_FILENO, line);
  }
}

// One frame per idle turn. The pacer sleeps after the frame when it came
// sooner than the display needs; the next frame step measures that time too,
// so the crowd moves at the same speed paced or not.
void onIdle() {
  runFrame();
  thePacer.waitForNextFrame(theClock);
}

void onDisplay() {
  if (windowShowsFrames()) drawScene(theScene);
}

#if defined(__SANITIZE_ADDRESS__)
// Sanitizer builds only. The leak checker's own check at exit comes after the
// GL driver has been unloaded (by the toolkit's shutdown when the window is
// closed, by the libraries' teardown after q or Esc), and the driver's
// leftovers are then blamed on no module, past any suppression. So the check
// runs while the driver is loaded: when the window closes, or at exit before
// the handlers that the toolkit and the driver registered during start-up.
// It checks once; the checker's own check is then skipped.
void checkLeaksWhileDriverLoaded() {
  __lsan_do_leak_check();
}
#endif

}  // namespace

int main(int argc, char** argv) {
  // Started from cmd or PowerShell on Windows, our text goes to that console
  // (asked before the missing streams are filled in, which it must tell apart).
  const bool textIsSeen = useParentConsole();
  // Before anything opens a file or the display's connection.
  openMissingStandardDescriptors();
  // Our own options are read before the toolkit's, so that --help and
  // --version answer without a display; the toolkit takes its own from argv.
  ProgramOptions options;
  std::string error;
  if (!parseCommandLine(argc, argv, options, error)) {
    const std::string text = "quibbix: " + error + "\n\n" + usageText(programDataFolder());
    // Started from Explorer (say, with a file dropped on it), only a box is seen.
    if (textIsSeen) {
      std::fputs(text.c_str(), stderr);
    } else {
      showMessageBox("Quibbix", text.c_str());
    }
    return 2;
  }
  if (options.help) {
    std::fputs(usageText(programDataFolder()).c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts(versionText().c_str());
    return 0;
  }

  showFrameRate = options.fps;
  iconifyAfterFirstFrame = options.startIconic;

  withholdFromToolkit(argc, argv);
  glutInit(&argc, argv);
  // Closing the window returns from the main loop, so the pool is freed.
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
  glutInitWindowSize(500, 500);
  glutInitWindowPosition(100, 100);
  openWindow(kWindowTitle, {onIdle, runFrame, onKeyboard, onMouse});
  // One frame per display refresh where the driver holds to it.
  requestSwapInterval(1);

  // The audio device opens and the sound is decoded now, so that the first
  // jump costs the frame step no more than any later one; and before start-up
  // reads the clock, so that the time it takes is not counted as a frame's.
  theSound.preload(kJumpSoundFile);
  initScene(theScene, theClock, {static_cast<uint32_t>(std::time(nullptr)), &kOpenGlStartup});
  glutDisplayFunc(onDisplay);

#if defined(__SANITIZE_ADDRESS__)
  std::atexit(checkLeaksWhileDriverLoaded);
  glutCloseFunc(checkLeaksWhileDriverLoaded);
#endif
  glutMainLoop();
  freeHamsters(theScene);
  return 0;
}
