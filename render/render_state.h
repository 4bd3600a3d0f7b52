// OpenGL state that start-up sets once and that holds for the whole run.
#pragma once

// Depth test (less or equal), smooth shading, the blend function used by the
// cut-out textures, light 0 and back-face culling. Lighting itself is switched
// on only inside the hamster body's display list.
void setFixedRenderState();
