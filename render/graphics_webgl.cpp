// The drawing calls in a browser, with WebGL 1: the matrix stack is kept here
// (render/matrices.h), texturing and lighting are shader inputs, and each quad
// table or model part is a static vertex buffer made the first time it is
// needed. Culling, blending, depth and texture binding are WebGL's own.
#include <GLES2/gl2.h>

#include <algorithm>

#include "render/graphics.h"
#include "render/webgl_context.h"

WebGlContext& webGl() {
  // WebGL, like OpenGL, keeps one context's state for the whole page.
  static WebGlContext context;
  return context;
}

WebGlDrawable makeDrawable(const std::vector<float>& vertices, GLenum mode) {
  WebGlDrawable drawable;
  glGenBuffers(1, &drawable.buffer);
  glBindBuffer(GL_ARRAY_BUFFER, drawable.buffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
               vertices.data(), GL_STATIC_DRAW);
  drawable.mode = mode;
  drawable.vertexCount = static_cast<GLsizei>(vertices.size() / kFloatsPerVertex);
  return drawable;
}

void drawDrawable(const WebGlDrawable& drawable) {
  WebGlContext& gl = webGl();
  WebGlContext::Sent& sent = gl.sent;
  const WebGlShader& s = gl.shader;
  if (!sent.projection) {
    glUniformMatrix4fv(s.projection, 1, GL_FALSE, gl.projection.m.data());
    sent.projection = true;
  }
  glUniformMatrix4fv(s.modelview, 1, GL_FALSE, gl.modelview.back().m.data());
  if (!std::equal(gl.colour, gl.colour + 4, sent.colour)) {
    glUniform4fv(s.colour, 1, gl.colour);
    std::copy(gl.colour, gl.colour + 4, sent.colour);
  }
  const int texturing = gl.texturing && gl.boundTextureHasImage ? 1 : 0;
  if (texturing != sent.texturing) glUniform1i(s.texturing, sent.texturing = texturing);
  const int lighting = gl.lighting ? 1 : 0;
  if (lighting != sent.lighting) glUniform1i(s.lighting, sent.lighting = lighting);
  if (drawable.buffer != sent.buffer) {
    glBindBuffer(GL_ARRAY_BUFFER, drawable.buffer);
    constexpr GLsizei kStride = kFloatsPerVertex * sizeof(float);
    const struct {
      GLint location;
      GLint size;
      int offset;
    } attributes[] = {{s.position, 3, 0}, {s.normal, 3, 3}, {s.texCoord, 2, 6}};
    for (const auto& a : attributes) {
      if (a.location < 0) continue;
      glEnableVertexAttribArray(static_cast<GLuint>(a.location));
      glVertexAttribPointer(static_cast<GLuint>(a.location), a.size, GL_FLOAT, GL_FALSE, kStride,
                            reinterpret_cast<const void*>(a.offset * sizeof(float)));
    }
    sent.buffer = drawable.buffer;
  }
  if (drawable.indices == 0) {
    glDrawArrays(drawable.mode, drawable.first, drawable.vertexCount);
    return;
  }
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, drawable.indices);
  glDrawElements(drawable.mode, drawable.vertexCount, GL_UNSIGNED_SHORT,
                 reinterpret_cast<const void*>(drawable.first * sizeof(uint16_t)));
}

namespace gfx {

namespace {

WebGlDrawable makeQuadTable(const TexturedQuad* quads, int count) {
  std::vector<float> vertices;
  for (int i = 0; i < count; ++i) {
    for (int corner : kQuadTriangles) {
      const TexturedCorner& c = quads[i][corner];
      vertices.insert(vertices.end(), {c.x, c.y, c.z, 0, 0, 0, c.s, c.t});
    }
  }
  return makeDrawable(vertices, GL_TRIANGLES);
}

void setEnabled(GLenum capability, bool on) {
  if (on) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

Mat4& current() {
  return webGl().modelview.back();
}

}  // namespace

void drawQuads(const TexturedQuad* quads, int count) {
  WebGlContext& gl = webGl();
  for (const WebGlContext::QuadTable& table : gl.quadTables) {
    if (table.table == quads) {
      drawDrawable(table.drawable);
      return;
    }
  }
  gl.quadTables.push_back({quads, makeQuadTable(quads, count)});
  drawDrawable(gl.quadTables.back().drawable);
}

// As the desktop's display lists do: the body switches texturing (and, when
// made lit, lighting) on around itself and blending off; the shadow blends
// and leaves its colour behind.
void drawModelPart(uint32_t part) {
  WebGlContext& gl = webGl();
  if (part == 0 || part > gl.parts.size()) return;
  const WebGlContext::ModelPart& p = gl.parts[part - 1];
  if (p.body) {
    gl.texturing = true;
    gl.lighting = p.lit;
    glDisable(GL_BLEND);
    drawDrawable(p.drawable);
    gl.texturing = false;
    gl.lighting = false;
  } else {
    glEnable(GL_BLEND);
    const float shadow[4] = {0, 0.2f, 0, 0.4f};
    for (int c = 0; c < 4; ++c) gl.colour[c] = shadow[c];
    drawDrawable(p.drawable);
    glDisable(GL_BLEND);
  }
}

void clearDepth() {
  glClear(GL_DEPTH_BUFFER_BIT);
}

void setViewport(int width, int height) {
  glViewport(0, 0, width, height);
}

void loadPerspective(double fovyDegrees, double aspect, double zNear, double zFar) {
  WebGlContext& gl = webGl();
  gl.projection = perspectiveMatrix(fovyDegrees, aspect, zNear, zFar);
  gl.sent.projection = false;
  current() = identityMatrix();
}

void loadLookAt(const double eye[3], const double centre[3], const double up[3]) {
  current() = lookAtMatrix(eye, centre, up);
}

void rotate(float degrees, float x, float y, float z) {
  current() = current() * rotationMatrix(degrees, x, y, z);
}

void translate(float x, float y, float z) {
  current() = current() * translationMatrix(x, y, z);
}

void pushMatrix() {
  webGl().modelview.push_back(current());
}

void popMatrix() {
  std::vector<Mat4>& stack = webGl().modelview;
  if (stack.size() > 1) stack.pop_back();
}

void setTexturing(bool on) {
  webGl().texturing = on;
}

void setCulling(bool on) {
  setEnabled(GL_CULL_FACE, on);
}

void setBlending(bool on) {
  setEnabled(GL_BLEND, on);
}

void bindTexture(uint32_t name) {
  WebGlContext& gl = webGl();
  gl.boundTextureHasImage = std::find(gl.texturesWithImages.begin(), gl.texturesWithImages.end(),
                                      name) != gl.texturesWithImages.end();
  glBindTexture(GL_TEXTURE_2D, name);
}

void setColour(float red, float green, float blue) {
  float* colour = webGl().colour;
  colour[0] = red;
  colour[1] = green;
  colour[2] = blue;
  colour[3] = 1;
}

}  // namespace gfx
