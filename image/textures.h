// The four scene textures, made once at start-up from the BMP files in the
// working directory.
#pragma once

#include "app/scene_state.h"

// Requires a current OpenGL context. Fills state.textures.
void loadTextures(SceneState& state);
