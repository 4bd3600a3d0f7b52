// The hamster model: one small textured, lit body with two ears, and a flat
// translucent shadow, made once into the two parts that gfx::drawModelPart
// draws (display lists on the desktop, vertex buffers in a browser).
//
// Model space: x to the hamster's right, y forward (the ears are near +y),
// z up, origin at the hamster's position. The normals are not unit length,
// so the body list renders with GL_NORMALIZE on.
#pragma once

#include <cstdint>

#include "scene/scene_state.h"

inline constexpr int kHamsterVertexCount = 32;
inline constexpr int kHamsterTriangleCount = 8;
inline constexpr int kHamsterQuadCount = 22;
inline constexpr int kShadowCornerCount = 8;

// Parallel per-vertex tables, tightly packed.
extern const float hamsterVertices[kHamsterVertexCount][3];
extern const float hamsterNormals[kHamsterVertexCount][3];
extern const float hamsterTexCoords[kHamsterVertexCount][2];
// Faces index the vertex tables; body faces wind counter-clockwise seen from
// outside, and each ear is listed once in each winding.
extern const int32_t hamsterTriangles[kHamsterTriangleCount][3];
extern const int32_t hamsterQuads[kHamsterQuadCount][4];
// An octagon in the plane z = 0, counter-clockwise seen from above.
extern const float shadowPolygon[kShadowCornerCount][3];

// Makes the body and the shadow and stores their names in state.hamsterList
// and state.shadowList. Whether the body is lit is decided by
// state.lightingEnabled now, once.
void initModel(SceneState& state);

// The desktop's steps of initModel (hamster_lists_gl.cpp), the arrays first:
// compiling glArrayElement copies what they hold.
// Points the vertex and normal arrays at the model; leaves both enabled.
void setupVertexArrays();
// Reserves two consecutive list names (shadowList = hamsterList + 1) and
// compiles the body and the shadow.
void buildDisplayLists(SceneState& state);
