// The hamster model in one vertex buffer: the body's 32 vertices with their
// normals and texture pairs, its faces as indexed triangles, and the shadow's
// octagon as a fan.
#include <GLES2/gl2.h>

#include <vector>

#include "render/hamster_model.h"
#include "render/webgl_context.h"

namespace {

void addCorner(std::vector<float>& vertices, int32_t v) {
  const float* p = hamsterVertices[v];
  const float* n = hamsterNormals[v];
  const float* st = hamsterTexCoords[v];
  vertices.insert(vertices.end(), {p[0], p[1], p[2], n[0], n[1], n[2], st[0], st[1]});
}

}  // namespace

void initModel(SceneState& state) {
  // Each vertex carries its own normal and texture pair whichever face uses
  // it, so the faces index the tables' 32 vertices (and the browser can reuse
  // a vertex's lighting across the faces that share it).
  std::vector<float> vertices;
  for (int32_t v = 0; v < kHamsterVertexCount; ++v) addCorner(vertices, v);
  std::vector<uint16_t> indices;
  for (const auto& triangle : hamsterTriangles) {
    for (int32_t v : triangle) indices.push_back(static_cast<uint16_t>(v));
  }
  for (const auto& quad : hamsterQuads) {
    for (int corner : kQuadTriangles) indices.push_back(static_cast<uint16_t>(quad[corner]));
  }
  // The shadow after the body in one buffer, so that a crowd binds it once.
  for (const auto& p : shadowPolygon)
    vertices.insert(vertices.end(), {p[0], p[1], p[2], 0, 0, 0, 0, 0});
  WebGlDrawable bodyPart = makeDrawable(vertices, GL_TRIANGLES);
  WebGlDrawable shadowPart = bodyPart;
  glGenBuffers(1, &bodyPart.indices);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, bodyPart.indices);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t)),
               indices.data(), GL_STATIC_DRAW);
  bodyPart.vertexCount = static_cast<GLsizei>(indices.size());
  shadowPart.mode = GL_TRIANGLE_FAN;
  shadowPart.first = kHamsterVertexCount;
  shadowPart.vertexCount = kShadowCornerCount;

  std::vector<WebGlContext::ModelPart>& parts = webGl().parts;
  parts.push_back({bodyPart, true, state.lightingEnabled != 0});
  state.hamsterList = static_cast<uint32_t>(parts.size());
  parts.push_back({shadowPart, false, false});
  state.shadowList = static_cast<uint32_t>(parts.size());
}
