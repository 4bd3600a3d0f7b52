// The hamster model as two vertex buffers: the body's faces as triangles with
// their normals and texture pairs, and the shadow's octagon as a fan.
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
  std::vector<float> vertices;
  for (const auto& triangle : hamsterTriangles) {
    for (int32_t v : triangle) addCorner(vertices, v);
  }
  for (const auto& quad : hamsterQuads) {
    for (int corner : kQuadTriangles) addCorner(vertices, quad[corner]);
  }
  // The shadow after the body in one buffer, so that a crowd binds it once.
  const GLsizei bodyCount = static_cast<GLsizei>(vertices.size() / kFloatsPerVertex);
  for (const auto& p : shadowPolygon)
    vertices.insert(vertices.end(), {p[0], p[1], p[2], 0, 0, 0, 0, 0});
  WebGlDrawable bodyPart = makeDrawable(vertices, GL_TRIANGLES);
  WebGlDrawable shadowPart = bodyPart;
  bodyPart.vertexCount = bodyCount;
  shadowPart.mode = GL_TRIANGLE_FAN;
  shadowPart.first = bodyCount;
  shadowPart.vertexCount = kShadowCornerCount;

  std::vector<WebGlContext::ModelPart>& parts = webGl().parts;
  parts.push_back({bodyPart, true, state.lightingEnabled != 0});
  state.hamsterList = static_cast<uint32_t>(parts.size());
  parts.push_back({shadowPart, false, false});
  state.shadowList = static_cast<uint32_t>(parts.size());
}
