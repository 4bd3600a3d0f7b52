// The drawing calls the scene and the hamsters are made of: fixed-function
// OpenGL's own, in its terms (a modelview stack, switches, a current colour).
// Two files implement them: graphics_gl.cpp passes each straight to OpenGL 1.1
// on the desktop; graphics_webgl.cpp draws the same with WebGL 1 in a browser,
// its own matrix stack and a shader that lights as OpenGL does.
//
// All calls need the current context; none reports errors.
#pragma once

#include <cstdint>

namespace gfx {

struct TexturedCorner {
  float x, y, z;  // scene units
  float s, t;     // texture coordinates
};
using TexturedQuad = TexturedCorner[4];

// Quads with the current colour and, while texturing is on, the bound texture,
// one after the other in table order. The table must live for the whole run:
// a backend may keep it in a vertex buffer the first time it is drawn.
void drawQuads(const TexturedQuad* quads, int count);

// The hamster model's two parts, made once from its tables
// (render/hamster_model.h); their names are what initModel stored.
void drawModelPart(uint32_t part);

void clearDepth();

// Projection: a perspective view through a viewport of width x height pixels;
// leaves the modelview matrix at the identity.
void setViewport(int width, int height);
void loadPerspective(double fovyDegrees, double aspect, double zNear, double zFar);

// Modelview: a camera at `eye` looking at `centre`, replacing the matrix; then
// turns and moves multiplied onto it, and a stack to return to.
void loadLookAt(const double eye[3], const double centre[3], const double up[3]);
void rotate(float degrees, float x, float y, float z);
void translate(float x, float y, float z);
void pushMatrix();
void popMatrix();

// Switches, as the scene drawing turns them on and off.
void setTexturing(bool on);
void setCulling(bool on);
void setBlending(bool on);
void bindTexture(uint32_t name);
void setColour(float red, float green, float blue);

}  // namespace gfx
