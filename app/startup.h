// Start-up: fills the scene state once, right after the window and its OpenGL
// context exist. This file holds no OpenGL: the window's share comes in
// through GraphicsStartup (app/gl_startup.h has the program's), so that the
// headless tools link no graphics library.
#pragma once

#include <cstdint>

#include "scene/scene_state.h"

class Clock;

// The steps of start-up that need the window's OpenGL context.
struct GraphicsStartup {
  void (*loadTextures)(SceneState& state);
  void (*setFixedRenderState)();
};

struct StartupOptions {
  uint32_t seed = 0;                          // the program passes time(NULL)
  const GraphicsStartup* graphics = nullptr;  // null: no textures, no OpenGL state
};

// In order: spin -90, seed, textures, grass, the pool of 1500, the fixed render
// state and light 0, then the frame-time ring; without graphics the textures
// and the render state are left out. Returns 1.
int initScene(SceneState& state, Clock& clock, const StartupOptions& options);

// Deletes every pool entry, active or not.
void freeHamsters(SceneState& state);
