// OpenGL state that start-up sets once and that holds for the whole run.
#pragma once

// Light 0, positional, fixed in eye coordinates (given while the modelview
// matrix is the identity, so it stays put relative to the camera).
inline constexpr float kLightAmbient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
inline constexpr float kLightDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr float kLightPosition[4] = {1.0f, 1.0f, 2.0f, 1.0f};

// Depth test (less or equal), smooth shading, the blend function used by the
// cut-out textures, light 0 and back-face culling. Lighting itself is switched
// on only inside the hamster body's display list.
void setFixedRenderState();
