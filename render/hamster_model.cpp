#include "render/hamster_model.h"

// clang-format off
const float hamsterVertices[kHamsterVertexCount][3] = {
    // underside
    {0.025f, 0.075f, -0.05f}, {-0.025f, 0.075f, -0.05f}, {-0.025f, -0.075f, -0.05f}, {0.025f, -0.075f, -0.05f},
    // lower ring
    {0.05f, 0.075f, -0.025f}, {0.025f, 0.1f, -0.025f}, {-0.025f, 0.1f, -0.025f}, {-0.05f, 0.075f, -0.025f},
    {-0.05f, -0.075f, -0.025f}, {-0.025f, -0.1f, -0.025f}, {0.025f, -0.1f, -0.025f}, {0.05f, -0.075f, -0.025f},
    // upper ring
    {0.05f, 0.075f, 0.025f}, {0.025f, 0.1f, 0.025f}, {-0.025f, 0.1f, 0.025f}, {-0.05f, 0.075f, 0.025f},
    {-0.05f, -0.075f, 0.025f}, {-0.025f, -0.1f, 0.025f}, {0.025f, -0.1f, 0.025f}, {0.05f, -0.075f, 0.025f},
    // top
    {0.025f, 0.075f, 0.05f}, {-0.025f, 0.075f, 0.05f}, {-0.025f, -0.075f, 0.05f}, {0.025f, -0.075f, 0.05f},
    // right ear
    {0.015f, 0.06f, 0.075f}, {0.0375f, 0.06f, 0.0625f}, {0.0375f, 0.06f, 0.0375f}, {0.015f, 0.06f, 0.05f},
    // left ear
    {-0.015f, 0.06f, 0.075f}, {-0.0375f, 0.06f, 0.0625f}, {-0.0375f, 0.06f, 0.0375f}, {-0.015f, 0.06f, 0.05f},
};

// Body normals point away from (0, ±0.04, 0) on the long axis; ears face forward.
const float hamsterNormals[kHamsterVertexCount][3] = {
    {0.025f, 0.035f, -0.05f}, {-0.025f, 0.035f, -0.05f}, {-0.025f, -0.035f, -0.05f}, {0.025f, -0.035f, -0.05f},
    {0.05f, 0.035f, -0.025f}, {0.025f, 0.06f, -0.025f}, {-0.025f, 0.06f, -0.025f}, {-0.05f, 0.035f, -0.025f},
    {-0.05f, -0.035f, -0.025f}, {-0.025f, -0.06f, -0.025f}, {0.025f, -0.06f, -0.025f}, {0.05f, -0.035f, -0.025f},
    {0.05f, 0.035f, 0.025f}, {0.025f, 0.06f, 0.025f}, {-0.025f, 0.06f, 0.025f}, {-0.05f, 0.035f, 0.025f},
    {-0.05f, -0.035f, 0.025f}, {-0.025f, -0.06f, 0.025f}, {0.025f, -0.06f, 0.025f}, {0.05f, -0.035f, 0.025f},
    {0.025f, 0.035f, 0.05f}, {-0.025f, 0.035f, 0.05f}, {-0.025f, -0.035f, 0.05f}, {0.025f, -0.035f, 0.05f},
    {0, 0.1f, 0}, {0, 0.1f, 0}, {0, 0.1f, 0}, {0, 0.1f, 0},
    {0, 0.1f, 0}, {0, 0.1f, 0}, {0, 0.1f, 0}, {0, 0.1f, 0},
};

const float hamsterTexCoords[kHamsterVertexCount][2] = {
    {0.08f, 0.34f}, {0.92f, 0.34f}, {0.92f, 0.84f}, {0.08f, 0.84f},
    {0.19f, 0.12f}, {0.37f, 0.09f}, {0.63f, 0.09f}, {0.81f, 0.12f},
    {0.81f, 0.88f}, {0.63f, 0.95f}, {0.37f, 0.95f}, {0.19f, 0.88f},
    {0.28f, 0.34f}, {0.37f, 0.26f}, {0.63f, 0.26f}, {0.72f, 0.34f},
    {0.72f, 0.84f}, {0.63f, 0.89f}, {0.37f, 0.89f}, {0.28f, 0.84f},
    {0.37f, 0.34f}, {0.63f, 0.34f}, {0.63f, 0.84f}, {0.37f, 0.84f},
    {0.37f, 0.42f}, {0.34f, 0.36f}, {0.35f, 0.29f}, {0.42f, 0.38f},
    {0.66f, 0.41f}, {0.71f, 0.36f}, {0.68f, 0.29f}, {0.61f, 0.36f},
};

// Corner facets where the top or the underside meets two bevels.
const int32_t hamsterTriangles[kHamsterTriangleCount][3] = {
    {0, 5, 4}, {1, 7, 6}, {2, 9, 8}, {3, 11, 10},
    {20, 12, 13}, {21, 14, 15}, {23, 18, 19}, {22, 16, 17},
};

const int32_t hamsterQuads[kHamsterQuadCount][4] = {
    {1, 0, 3, 2},      // underside
    {20, 21, 22, 23},  // top
    {14, 13, 5, 6},    // front
    {18, 17, 9, 10},   // back
    {16, 15, 7, 8},    // left side
    {12, 19, 11, 4},   // right side
    {21, 20, 13, 14},  // upper front bevel
    {6, 5, 0, 1},      // lower front bevel
    {15, 14, 6, 7},    // front left bevel
    {13, 12, 4, 5},    // front right bevel
    {23, 22, 17, 18},  // upper back bevel
    {10, 9, 2, 3},     // lower back bevel
    {19, 18, 10, 11},  // back right bevel
    {17, 16, 8, 9},    // back left bevel
    {22, 21, 15, 16},  // upper left bevel
    {20, 23, 19, 12},  // upper right bevel
    {8, 7, 1, 2},      // lower left bevel
    {4, 11, 3, 0},     // lower right bevel
    {24, 25, 26, 27},  // right ear, front side
    {27, 26, 25, 24},  // right ear, back side
    {28, 29, 30, 31},  // left ear, back side
    {31, 30, 29, 28},  // left ear, front side
};

const float shadowPolygon[kShadowCornerCount][3] = {
    {0.04f, 0.06f, 0}, {0.02f, 0.08f, 0}, {-0.02f, 0.08f, 0}, {-0.04f, 0.06f, 0},
    {-0.04f, -0.06f, 0}, {-0.02f, -0.08f, 0}, {0.02f, -0.08f, 0}, {0.04f, -0.06f, 0},
};
// clang-format on
