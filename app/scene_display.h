// The frame as the window shows it: drawn into the back buffer, then presented.
#pragma once

#include "scene/scene_state.h"

// Draws one frame and swaps it onto the window: the display callback's work,
// and the frame step's.
void drawScene(SceneState& state);
