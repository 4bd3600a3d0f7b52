// The program in a web page: the 500 x 500 canvas of app/web/index.html drawn
// with WebGL, one frame per animation frame of the browser, input from the
// page's keys and the canvas's clicks and taps, sound through Web Audio.
//
// Opened with a query (index.html?seed=7&frames=200&count=10, the options of
// quibbix-shot but --out and --size), the page instead plays that scripted run
// at once, draws its last frame, stops, and marks the canvas data-frame="done".
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <GLES2/gl2.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/gl_startup.h"
#include "app/input.h"
#include "app/scenario.h"
#include "app/tool_options.h"
#include "app/web_page.h"
#include "platform/browser_clock.h"
#include "platform/message_box.h"
#include "platform/system_message_box.h"
#include "platform/web_sound.h"
#include "render/scene_draw.h"
#include "scene/scene_state.h"
#include "sim/frame_step.h"

namespace {

constexpr char kCanvas[] = "#canvas";
constexpr int kCanvasSide = 500;
constexpr unsigned char kEscape = 27;
constexpr int kLeftButton = 0;  // GLUT_LEFT_BUTTON, as handleMouseButton takes it
constexpr int kButtonDown = 0;  // GLUT_DOWN

SceneState theScene;
BrowserClock theClock;
WebSound theSound;
int framesDrawn = 0;
bool stopped = false;

// The context the whole page draws with; like the desktop's window it has a
// depth buffer and no multisampling. No alpha: blending writes alpha below 1
// where the fence is, which the page would show through. A scripted frame is
// kept after it is shown, so that the page can be read back.
bool makeContext(bool keepFrame) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = false;
  attributes.depth = true;
  attributes.stencil = false;
  attributes.antialias = false;
  attributes.preserveDrawingBuffer = keepFrame;
  attributes.majorVersion = 1;
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context(kCanvas, &attributes);
  if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
    std::fprintf(stderr, "This browser gave the page no WebGL.\n");
    showPageStatus("This browser cannot draw the toy: it gave the page no WebGL.");
    return false;
  }
  emscripten_set_canvas_element_size(kCanvas, kCanvasSide, kCanvasSide);
  onReshape(kCanvasSide, kCanvasSide);
  // What the walls leave uncovered (nothing at this size) is black, as in quibbix-shot.
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  return true;
}

void stop() {
  stopped = true;
  emscripten_cancel_main_loop();
  showPageStatus("Stopped: reload the page to play again");
}

void onKey(unsigned char key) {
  WebSound::wake();
  // A page cannot close itself; quitting stops the frames instead.
  if (!stopped && handleKey(theScene, key) == KeyResult::kQuit) stop();
}

// Characters as typed (keypress), so + and - work on every keyboard layout;
// Esc has no character and comes with its key going down.
EM_BOOL onKeyPress(int, const EmscriptenKeyboardEvent* event, void*) {
  if (std::strlen(event->key) != 1) return EM_FALSE;
  onKey(static_cast<unsigned char>(event->key[0]));
  // Space would scroll the page.
  return event->key[0] == ' ' ? EM_TRUE : EM_FALSE;
}

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* event, void*) {
  if (std::strcmp(event->key, "Escape") != 0) return EM_FALSE;
  onKey(kEscape);
  return EM_TRUE;
}

void click() {
  WebSound::wake();
  handleMouseButton(theScene, kLeftButton, kButtonDown);
}

EM_BOOL onMouseDown(int, const EmscriptenMouseEvent* event, void*) {
  if (event->button != 0) return EM_FALSE;
  click();
  return EM_TRUE;
}

// A tap is a click; taken here, the browser sends no mouse events after it.
EM_BOOL onTouchStart(int, const EmscriptenTouchEvent*, void*) {
  click();
  return EM_TRUE;
}

void onAnimationFrame() {
  if (stopped) return;
  stepFrame(theScene, theClock, theSound);
  // The browser shows the frame when this callback returns.
  drawFrame(theScene);
  ++framesDrawn;
}

void playInteractively() {
  // Decoded now, so that the first jump costs no more than any other.
  theSound.preload(kJumpSoundFile);
  initScene(theScene, theClock, {static_cast<uint32_t>(std::time(nullptr)), &kOpenGlStartup});
  emscripten_set_keypress_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onKeyPress);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onKeyDown);
  emscripten_set_mousedown_callback(kCanvas, nullptr, EM_FALSE, onMouseDown);
  emscripten_set_touchstart_callback(kCanvas, nullptr, EM_FALSE, onTouchStart);
  installPageHooks();
  // 0: at the browser's animation frames.
  emscripten_set_main_loop(onAnimationFrame, 0, EM_FALSE);
}

// quibbix-shot's run, drawn once. A picture that does not load leaves the
// frame undrawn, as the tool writes no file then; the box says which.
void drawScriptedFrame(const std::vector<std::string>& words) {
  std::vector<const char*> argv{"quibbix"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  Scenario scenario;
  std::optional<float> spin;
  const ToolOption own[] = {spinOption(spin)};
  std::string error;
  if (!parseToolOptions(static_cast<int>(argv.size()), argv.data(), scenario, own, error)) {
    showMessageBox("Error", ("The page's options: " + error).c_str());
    markCanvas("failed");
    return;
  }
  // Start-up's boxes are held back to learn whether a picture failed, then
  // shown (their text is on the console already).
  std::vector<std::pair<std::string, std::string>> boxes;
  setMessageBoxHandler(
      [&boxes](const char* caption, const char* text) { boxes.emplace_back(caption, text); });
  SilentSound sound;
  ScenarioRun run(scenario, theScene, sound);
  run.start(&kOpenGlStartup);
  setMessageBoxHandler({});
  for (const auto& [caption, text] : boxes) showSystemMessageBox(caption.c_str(), text.c_str());
  if (!boxes.empty()) {
    markCanvas("failed");
    return;
  }
  // Earlier frames are never shown; their drawing changes only the tumble.
  run.playFrames(settleTumbles);
  if (spin) theScene.spinAngle = *spin;
  drawFrame(theScene);
  ++framesDrawn;
  stopped = true;
  markCanvas("done");
}

}  // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE int quibbixCount() {
  return theScene.hamsterCount;
}
EMSCRIPTEN_KEEPALIVE int quibbixFrames() {
  return framesDrawn;
}
EMSCRIPTEN_KEEPALIVE int quibbixStopped() {
  return stopped ? 1 : 0;
}
}

int main() {
  const std::vector<std::string> options = pageQueryOptions();
  if (!makeContext(!options.empty())) return 1;
  if (options.empty()) {
    playInteractively();
  } else {
    drawScriptedFrame(options);
  }
  return 0;
}
