#include "app/gl_startup.h"

#include "image/textures.h"
#include "render/render_state.h"

const GraphicsStartup kOpenGlStartup = {loadTextures, setFixedRenderState};
