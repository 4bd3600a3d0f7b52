// Start-up: fills the scene state once, right after the window and its OpenGL
// context exist.
#pragma once

#include <cstdint>

#include "scene/scene_state.h"

class Clock;

struct StartupOptions {
  uint32_t seed = 0;     // the program passes time(NULL)
  bool graphics = true;  // false: no textures, no OpenGL state (headless tools)
};

// In order: spin -90, seed, textures, grass, the pool of 1500, the fixed render
// state and light 0, then the frame-time ring. Returns 1.
int initScene(SceneState& state, Clock& clock, const StartupOptions& options);

// Deletes every pool entry, active or not.
void freeHamsters(SceneState& state);
