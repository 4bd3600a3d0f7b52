// Crowds chosen to break the fast relaxation's shortcuts, as positions: the
// relaxation tests place hamsters on them, the tests of its parts read them.
#pragma once

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "platform/random.h"

struct Spot {
  float x, y, z;
};
using Layout = std::vector<Spot>;

inline float uniform(float low, float high) {
  return low + (high - low) * static_cast<float>(platform::rand()) / platform::kRandMax;
}

// 300 hamsters on one point, with zeros of both signs in z.
inline Layout stackedCrowd(float centre) {
  Layout crowd;
  for (int i = 0; i < 300; ++i) crowd.push_back({centre, -centre, i % 3 ? 0.0f : -0.0f});
  return crowd;
}

// 60 hamsters within a few hundredths of each other.
inline Layout tightCluster() {
  Layout crowd;
  for (int i = 0; i < 60; ++i)
    crowd.push_back({0.01f * (i % 7), 0.013f * (i % 5), 0.002f * (i % 3)});
  return crowd;
}

// 500 hamsters nearly stacked, on zeros of both signs and subnormals.
inline Layout zerosAndSubnormals() {
  const float tiny = std::numeric_limits<float>::denorm_min();
  const float values[] = {0.0f, -0.0f, tiny, -tiny, 1e-40f, -3e-39f, 1e-30f, 7e-6f, -1e-5f, 0.001f};
  platform::srand(3);
  Layout crowd;
  for (int i = 0; i < 500; ++i) {
    const float x = values[platform::rand() % 10], y = values[platform::rand() % 10];
    crowd.push_back({x, y, values[platform::rand() % 10]});
  }
  return crowd;
}

// 600 hamsters far outside the grid, on its edge, near the largest floats,
// with non-finite coordinates, and a few in the middle.
inline Layout farAndNonFinite() {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  platform::srand(5);
  Layout crowd;
  for (int i = 0; i < 600; ++i) {
    switch (i % 6) {
      case 0: {
        const float x = uniform(-40, 40), y = uniform(-40, 40);
        crowd.push_back({x, y, uniform(-1, 1)});
        break;
      }
      case 1: {  // the grid's edge
        const float x = uniform(1.9f, 2.1f);
        crowd.push_back({x, uniform(-2.1f, -1.9f), 0});
        break;
      }
      case 2:
        crowd.push_back({3e38f, -3e38f + uniform(0, 1e32f), 0});
        break;
      case 3:
        crowd.push_back({i % 4 ? nan : 0.0f, 0, i % 5 ? 0.0f : inf});
        break;
      case 4:
        crowd.push_back({-inf, inf, 0});
        break;
      default: {
        const float x = uniform(-0.1f, 0.1f), y = uniform(-0.1f, 0.1f);
        crowd.push_back({x, y, uniform(0, 0.1f)});
      }
    }
  }
  return crowd;
}

// 900 hamsters on a lattice with differences of exactly the float 0.2 (just
// outside the double 0.2) and of the float below it (just inside), whose
// points also sit on the edges of the grid's cells.
inline Layout boxAndCellBoundaries() {
  const float inside = std::nextafter(0.2f, 0.0f);
  Layout crowd;
  for (int row = 0; row < 30; ++row) {
    for (int column = 0; column < 30; ++column) {
      const float step = (row + column) % 2 ? 0.2f : inside;
      crowd.push_back({-1.5f + column * step, -1.5f + row * 0.125f, (column % 3) * inside});
    }
  }
  return crowd;
}

// The whole pool, spread over the pen and a little beyond.
inline Layout randomPool() {
  platform::srand(11);
  Layout crowd;
  for (int i = 0; i < 1500; ++i) {
    const float x = uniform(-1.2f, 1.2f), y = uniform(-1.2f, 1.2f);
    crowd.push_back({x, y, uniform(0, 0.3f)});
  }
  return crowd;
}

// Each of them, named.
inline std::vector<std::pair<const char*, Layout>> stressCrowds() {
  return {{"stacked at 0.3", stackedCrowd(0.3f)},
          {"stacked at -0", stackedCrowd(-0.0f)},
          {"tight cluster", tightCluster()},
          {"zeros and subnormals", zerosAndSubnormals()},
          {"far and non-finite", farAndNonFinite()},
          {"box and cell boundaries", boxAndCellBoundaries()},
          {"random pool", randomPool()}};
}
