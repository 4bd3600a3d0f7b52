// What the WebGL backend keeps between calls, as the OpenGL context keeps it on
// the desktop: the shader, the matrices, the switches that are shader inputs,
// the current colour, and the vertex buffers of the quad tables and the model.
// Only the files of the WebGL backend (*_webgl.cpp) include it.
#pragma once

#include <GLES2/gl2.h>

#include <cstdint>
#include <vector>

#include "render/matrices.h"

struct WebGlShader {
  GLuint program = 0;
  GLint position = -1, normal = -1, texCoord = -1;  // attributes
  GLint modelview = -1, projection = -1, colour = -1, texturing = -1, lighting = -1;
  GLint lightPosition = -1, litAmbient = -1, litDiffuse = -1, litAlpha = -1;
};

// Interleaved x, y, z, normal x, y, z, s, t.
inline constexpr int kFloatsPerVertex = 8;

// Corners of a quad as two triangles, split along the diagonal from corner 1
// to 3 as the desktop's OpenGL splits GL_QUADS: where the corners do not span
// a parallelogram (the sloping walls' texture, the light across a hamster's
// face) the picture follows the diagonal, and this one gives the desktop's.
inline constexpr int kQuadTriangles[6] = {0, 1, 3, 1, 2, 3};

struct WebGlDrawable {
  GLuint buffer = 0;
  GLenum mode = GL_TRIANGLES;
  GLint first = 0;  // vertex, or index when there are indices
  GLsizei vertexCount = 0;
  GLuint indices = 0;  // an element buffer of 16-bit indices, or 0
};

struct WebGlContext {
  WebGlShader shader;
  Mat4 projection = identityMatrix();
  std::vector<Mat4> modelview{identityMatrix()};  // the stack; back() is current
  bool texturing = false;
  bool lighting = false;
  // OpenGL draws as if texturing were off while the bound texture has no
  // image (a picture that did not load); WebGL would sample black.
  std::vector<uint32_t> texturesWithImages;
  bool boundTextureHasImage = false;
  float colour[4] = {1, 1, 1, 1};

  // What WebGL was last given, so that a draw sends only what changed: a
  // hamster's two parts then cost a matrix and a draw each.
  struct Sent {
    GLuint buffer = 0;  // 0: none yet
    bool projection = false;
    float colour[4] = {-1, -1, -1, -1};
    int texturing = -1, lighting = -1;
  } sent;

  struct QuadTable {
    const void* table;
    WebGlDrawable drawable;
  };
  std::vector<QuadTable> quadTables;
  // Model parts by the names initModel hands out: parts[name - 1].
  struct ModelPart {
    WebGlDrawable drawable;
    bool body;  // textured and, when made so, lit; else the translucent shadow
    bool lit;
  };
  std::vector<ModelPart> parts;
};

// The one context of the page's canvas.
WebGlContext& webGl();

// A static vertex buffer of `vertices` (kFloatsPerVertex floats each).
WebGlDrawable makeDrawable(const std::vector<float>& vertices, GLenum mode);
// Draws with the current matrices, colour and switches.
void drawDrawable(const WebGlDrawable& drawable);

// Compiles and links the shader, and sets the light and the material.
void prepareShader(WebGlShader& shader);
