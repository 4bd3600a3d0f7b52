// A real window under the current X display (Xvfb in the tests) with a scene
// set up as start-up leaves it, flat test textures, and back-buffer reads.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "scene/scene_state.h"

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// Flat colours the tests recognise: the walls, the floor and the hamster's
// skin are single colours; the cut-out texture shows each sign panel in its
// own colour and is fully transparent everywhere else (fence and grass).
inline constexpr Rgb kWallColour{0, 0, 160};
inline constexpr Rgb kFloorColour{160, 160, 160};
inline constexpr Rgb kHamsterColour{255, 200, 0};
inline constexpr Rgb kSignLeftColour{255, 0, 0};
inline constexpr Rgb kSignMiddleColour{0, 255, 0};
inline constexpr Rgb kSignRightColour{255, 0, 255};

struct Frame {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // bottom row first, as OpenGL reads
  Rgb at(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
};

class GlScene : public testing::Test {
 protected:
  // Window of the given size, start-up without files (seed `seed`), the fixed
  // render state, the projection, and the test textures.
  void open(int width, int height, uint32_t seed = 11);
  void TearDown() override;

  void fillBackBuffer(Rgb colour);
  Frame readBackBuffer();
  // Window position of a scene point, with the matrices of the last frame.
  std::array<double, 2> project(double x, double y, double z);

  // Puts hamsterPool[0] at a place and makes it the only one drawn.
  Hamster& onlyHamster(float x, float y, float z, float heading = 0);

  SceneState state;
  ScriptedClock clock{0};
  int window = 0;
  int width = 0, height = 0;
};
