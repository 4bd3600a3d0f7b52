#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

#include "render/hamster_model.h"
#include "render/scene_draw.h"
#include "scene/scene_files.h"

namespace {

using Vec = std::array<double, 3>;

// Newell's normal of a face: points to where the corners run counter-clockwise.
template <size_t N>
Vec faceNormal(const int32_t (&corners)[N]) {
  Vec n{};
  for (size_t i = 0; i < N; ++i) {
    const float* a = hamsterVertices[corners[i]];
    const float* b = hamsterVertices[corners[(i + 1) % N]];
    n[0] += (a[1] - b[1]) * (a[2] + b[2]);
    n[1] += (a[2] - b[2]) * (a[0] + b[0]);
    n[2] += (a[0] - b[0]) * (a[1] + b[1]);
  }
  return n;
}

template <size_t N>
Vec faceCentre(const int32_t (&corners)[N]) {
  Vec c{};
  for (int32_t v : corners)
    for (int k = 0; k < 3; ++k) c[k] += hamsterVertices[v][k] / N;
  return c;
}

double dot(const Vec& a, const Vec& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

}  // namespace

// The body is convex around the origin, so a face seen from outside has its
// counter-clockwise normal pointing away from the origin.
TEST(HamsterModel, BodyFacesShowFromOutsideOnly) {
  for (int i = 0; i < kHamsterTriangleCount; ++i) {
    EXPECT_GT(dot(faceNormal(hamsterTriangles[i]), faceCentre(hamsterTriangles[i])), 0)
        << "triangle " << i;
  }
  for (int i = 0; i < 18; ++i) {
    EXPECT_GT(dot(faceNormal(hamsterQuads[i]), faceCentre(hamsterQuads[i])), 0) << "quad " << i;
  }
}

TEST(HamsterModel, EachEarIsListedOnceInEachWinding) {
  for (auto [front, back] : {std::pair{18, 19}, std::pair{21, 20}}) {
    for (int k = 0; k < 4; ++k) EXPECT_EQ(hamsterQuads[front][k], hamsterQuads[back][3 - k]);
    EXPECT_GT(faceNormal(hamsterQuads[front])[1], 0) << "quad " << front << " faces forward";
    for (int32_t v : hamsterQuads[front]) EXPECT_EQ(hamsterVertices[v][1], 0.06f);
  }
}

// Every vertex is used, and the body normals point away from (0, ±0.04, 0).
TEST(HamsterModel, FacesUseEveryVertexAndNormalsFollowTheBody) {
  std::set<int32_t> used;
  for (const auto& t : hamsterTriangles) used.insert(std::begin(t), std::end(t));
  for (const auto& q : hamsterQuads) used.insert(std::begin(q), std::end(q));
  EXPECT_EQ(used.size(), static_cast<size_t>(kHamsterVertexCount));
  EXPECT_EQ(*used.begin(), 0);
  EXPECT_EQ(*used.rbegin(), kHamsterVertexCount - 1);
  for (int v = 0; v < 24; ++v) {
    const float* p = hamsterVertices[v];
    const float* n = hamsterNormals[v];
    EXPECT_EQ(n[0], p[0]) << v;
    EXPECT_NEAR(n[1], p[1] - std::copysign(0.04, p[1]), 1e-7) << v;
    EXPECT_EQ(n[2], p[2]) << v;
  }
}

TEST(HamsterModel, ShadowIsAnUpwardFacingOctagonAtFloorLevel) {
  double twiceArea = 0;
  for (int i = 0; i < kShadowCornerCount; ++i) {
    const float* a = shadowPolygon[i];
    const float* b = shadowPolygon[(i + 1) % kShadowCornerCount];
    twiceArea += a[0] * b[1] - b[0] * a[1];
    EXPECT_EQ(a[2], 0.0f);
  }
  // 0.08 x 0.16 less four corners of 0.02 x 0.02 / 2.
  EXPECT_NEAR(twiceArea / 2, 0.08 * 0.16 - 4 * 0.0002, 1e-7);
}

TEST(Projection, AspectIsWidthOverHeightAndStaysFiniteForAFlatWindow) {
  EXPECT_EQ(viewAspect(500, 500), 1.0);
  EXPECT_EQ(viewAspect(800, 400), 2.0);
  EXPECT_EQ(viewAspect(1300, 500), 2.6);
  EXPECT_EQ(viewAspect(500, 0), 500.0);
  EXPECT_EQ(viewAspect(0, 0), 0.0);
}

TEST(HamsterModel, ThePeltRegionsCoverTheirFacesTextureCoordinates) {
  // The asset painter paints the face, the back and the ears where these
  // regions say; the model's faces must read them there.
  const auto within = [](int32_t vertex, TexRect r) {
    const float* st = hamsterTexCoords[vertex];
    return st[0] >= static_cast<float>(r.s0) && st[0] <= static_cast<float>(r.s1) &&
           st[1] >= static_cast<float>(r.t0) && st[1] <= static_cast<float>(r.t1);
  };
  const struct {
    const char* what;
    int quad;
    TexRect region;
  } rects[] = {{"face", 2, kPeltFace}, {"back", 1, kPeltBack}};
  for (const auto& [what, quad, region] : rects) {
    for (int32_t vertex : hamsterQuads[quad]) EXPECT_TRUE(within(vertex, region)) << what << vertex;
  }
  // Each ear is listed in both windings; its corners are the painted patch's.
  const struct {
    int quad;
    const TexPoint* patch;
  } ears[] = {{18, kPeltRightEar}, {19, kPeltRightEar}, {20, kPeltLeftEar}, {21, kPeltLeftEar}};
  for (const auto& [quad, patch] : ears) {
    std::set<std::pair<float, float>> model, painted;
    for (int32_t vertex : hamsterQuads[quad]) {
      model.insert({hamsterTexCoords[vertex][0], hamsterTexCoords[vertex][1]});
    }
    for (int corner = 0; corner < 4; ++corner) {
      painted.insert({static_cast<float>(patch[corner].s), static_cast<float>(patch[corner].t)});
    }
    EXPECT_EQ(model, painted) << "ear quad " << quad;
  }
}
