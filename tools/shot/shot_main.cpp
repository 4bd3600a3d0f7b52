// quibbix-shot: one frame of a scripted run, drawn by the program's own
// drawing code into a hidden window and written as a PNG.
//
// The run is the replay tool's: start-up from the seed with the clock at 0,
// then the frames with their scripted clock and events. Needs an X display
// (a virtual one will do); the picture comes from the back buffer, read before
// any swap. Start-up reads the pictures from the working directory, as the
// program does; if one cannot be made into its texture, the loader's message
// is on stderr, no picture is written and the status is 1.
#include <GL/freeglut.h>
#include <GL/gl.h>

#include <cstdio>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "app/gl_startup.h"
#include "app/scenario.h"
#include "app/tool_usage.h"
#include "platform/file_write.h"
#include "platform/message_box.h"
#include "platform/sound.h"
#include "platform/standard_descriptors.h"
#include "render/scene_draw.h"
#include "tools/png/png_file.h"
#include "tools/shot/shot_options.h"

namespace {

int openHiddenWindow(int width, int height) {
  // Only the program name: our options are not the toolkit's.
  char name[] = "quibbix-shot";
  char* toolkitArgv[] = {name, nullptr};
  int toolkitArgc = 1;
  glutInit(&toolkitArgc, toolkitArgv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
  glutInitWindowSize(width, height);
  const int window = glutCreateWindow("Quibbix shot");
  // The toolkit insists on a display callback; the shot draws on its own.
  glutDisplayFunc([] {});
  glutHideWindow();
  glutMainLoopEvent();
  onReshape(width, height);
  // The frame leaves any area its walls do not cover untouched; make that black.
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  return window;
}

RgbPicture readBackBuffer(int width, int height) {
  RgbPicture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<size_t>(width) * height * 3);
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, picture.pixels.data());
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  openMissingStandardDescriptors();
  ShotOptions options;
  std::string error;
  if (asksForHelp(argc, argv)) return printShotUsage();
  if (!parseShotOptions(argc, argv, options, error)) return reportShotUsageError(error);

  // Refused now rather than after the run: a device, pipe or folder is never
  // written to (the write itself checks again).
  if (!canReplaceFile(options.out.c_str(), error)) {
    std::fprintf(stderr, "quibbix-shot: cannot write %s: %s; nothing was changed\n",
                 options.out.c_str(), error.c_str());
    return 1;
  }

  // A box nobody can see would wait for ever; stderr has the text already.
  // Each box is a picture that did not become its texture.
  int failedPictures = 0;
  setMessageBoxHandler([&failedPictures](const char*, const char*) { ++failedPictures; });
  const int window = openHiddenWindow(options.width, options.height);

  SceneState state;
  SilentSound sound;
  ScenarioRun run(options.scenario, state, sound);
  run.start(&kOpenGlStartup);
  RgbPicture picture;
  if (failedPictures == 0) {
    // Earlier frames are never shown; their drawing changes only the tumble.
    run.playFrames(settleTumbles);
    if (options.spin) state.spinAngle = *options.spin;
    drawFrame(state);
    picture = readBackBuffer(options.width, options.height);
  }
  freeHamsters(state);
  // Lets the driver release the window's buffers before the process ends.
  glutDestroyWindow(window);
#if defined(__SANITIZE_ADDRESS__)
  // Check for leaks now, while the GL driver is loaded: once it is unloaded at
  // exit the checker blames its teardown leftovers on no module at all.
  __lsan_do_leak_check();
#endif

  if (failedPictures != 0) {
    std::fprintf(stderr,
                 "quibbix-shot: the scene's pictures did not all load; %s was not written\n",
                 options.out.c_str());
    return 1;
  }
  if (!writePng(options.out, picture, error)) {
    std::fprintf(stderr, "quibbix-shot: cannot write %s: %s; nothing was changed\n",
                 options.out.c_str(), error.c_str());
    return 1;
  }
  return 0;
}
