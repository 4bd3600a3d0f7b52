// The program's OpenGL share of start-up: its textures and its fixed render
// state, for initScene's graphics.
#pragma once

#include "app/startup.h"

extern const GraphicsStartup kOpenGlStartup;
