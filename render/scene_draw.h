// Drawing one frame, and the projection that follows the window's size.
#pragma once

#include "app/scene_state.h"

// Draws and presents one frame.
void drawScene(SceneState& state);

// Viewport and perspective projection for a drawing area of width x height.
void onReshape(int width, int height);
