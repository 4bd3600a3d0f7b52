#include "app/input.h"

namespace {
constexpr unsigned char kEscape = 27;
constexpr int kLeftButton = 0;  // GLUT_LEFT_BUTTON
constexpr int kButtonDown = 0;  // GLUT_DOWN
constexpr int kCountStep = 10;
}  // namespace

KeyResult handleKey(SceneState& state, unsigned char key) {
  switch (key) {
    case kEscape:
    case 'q':
      return KeyResult::kQuit;
    case ' ':
      state.explodeByKey = 1;
      return KeyResult::kHandled;
    case '+':
      state.hamsterCount += kCountStep;
      if (state.hamsterCount > kMaxHamsters) state.hamsterCount = kMaxHamsters;
      return KeyResult::kHandled;
    case '-':
      state.hamsterCount -= kCountStep;
      if (state.hamsterCount < 1) state.hamsterCount = 1;
      return KeyResult::kHandled;
    default:
      return KeyResult::kIgnored;
  }
}

void handleMouseButton(SceneState& state, int button, int buttonState) {
  if (button == kLeftButton && buttonState == kButtonDown) state.explodeByClick = 1;
}
