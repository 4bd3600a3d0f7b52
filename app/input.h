// What the keys and the mouse do to the scene. The toolkit callbacks in
// app/main.cpp forward here; nothing here touches hamsters or OpenGL.
#pragma once

#include "scene/scene_state.h"

enum class KeyResult { kIgnored, kHandled, kQuit };

// `key` is the character as an unsigned byte: Esc and q quit, space requests a
// jump, + and - change the crowd by ten within 1..1500. Everything else,
// upper-case Q included, does nothing.
KeyResult handleKey(SceneState& state, unsigned char key);

// Only the left button going down requests a jump.
void handleMouseButton(SceneState& state, int button, int buttonState);
