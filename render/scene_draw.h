// Drawing one frame, and the projection that follows the window's size.
//
// The camera is fixed; the whole scene turns under it by spinAngle. The colour
// buffer is never cleared: walls and floor cover every pixel of a window up to
// twice as wide as it is high. Wider windows keep whatever the back buffer held
// in their upper corners.
#pragma once

#include "scene/scene_state.h"

// Draws one frame into the back buffer without presenting it, so that tools
// and tests can read the pixels back; the window's owner presents it
// (app/scene_display.h). Makes the hamster model (initModel) on the first call.
// Expects the modelview matrix to be the current matrix.
void drawFrame(SceneState& state);

// Viewport and perspective projection for a drawing area of width x height.
// A height of 0 (a minimised window) keeps a finite aspect.
void onReshape(int width, int height);

// The aspect ratio onReshape gives the projection.
double viewAspect(int width, int height);
