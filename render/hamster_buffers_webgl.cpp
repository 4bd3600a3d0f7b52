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
  std::vector<float> body;
  for (const auto& triangle : hamsterTriangles) {
    for (int32_t v : triangle) addCorner(body, v);
  }
  for (const auto& quad : hamsterQuads) {
    for (int corner : kQuadTriangles) addCorner(body, quad[corner]);
  }
  std::vector<float> shadow;
  for (const auto& p : shadowPolygon)
    shadow.insert(shadow.end(), {p[0], p[1], p[2], 0, 0, 0, 0, 0});

  std::vector<WebGlContext::ModelPart>& parts = webGl().parts;
  parts.push_back({makeDrawable(body, GL_TRIANGLES), true, state.lightingEnabled != 0});
  state.hamsterList = static_cast<uint32_t>(parts.size());
  parts.push_back({makeDrawable(shadow, GL_TRIANGLE_FAN), false, false});
  state.shadowList = static_cast<uint32_t>(parts.size());
}
