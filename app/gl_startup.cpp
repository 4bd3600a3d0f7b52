#include "app/gl_startup.h"

#include "render/render_state.h"
#include "render/textures.h"

const GraphicsStartup kOpenGlStartup = {loadTextures, setFixedRenderState};
