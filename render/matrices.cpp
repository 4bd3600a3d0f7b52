#include "render/matrices.h"

#include <cmath>
#include <numbers>

namespace {

// From rows written as they read on paper.
Mat4 fromRows(const double (&rows)[4][4]) {
  Mat4 result{};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      result.m[column * 4 + row] = static_cast<float>(rows[row][column]);
    }
  }
  return result;
}

void normalise(double (&v)[3]) {
  const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0) return;
  for (double& c : v) c /= length;
}

void cross(const double (&a)[3], const double (&b)[3], double (&out)[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

Mat4 identityMatrix() {
  return translationMatrix(0, 0, 0);
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
  Mat4 result{};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.at(row, k) * b.at(k, column);
      result.m[column * 4 + row] = sum;
    }
  }
  return result;
}

Mat4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar) {
  const double f = 1.0 / std::tan(fovyDegrees * std::numbers::pi / 360.0);
  const double depth = zNear - zFar;
  const double rows[4][4] = {{f / aspect, 0, 0, 0},
                             {0, f, 0, 0},
                             {0, 0, (zFar + zNear) / depth, 2 * zFar * zNear / depth},
                             {0, 0, -1, 0}};
  return fromRows(rows);
}

Mat4 lookAtMatrix(const double eye[3], const double centre[3], const double up[3]) {
  double forward[3] = {centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]};
  normalise(forward);
  const double upward[3] = {up[0], up[1], up[2]};
  double side[3], trueUp[3];
  cross(forward, upward, side);
  normalise(side);
  cross(side, forward, trueUp);
  double rows[4][4] = {{side[0], side[1], side[2], 0},
                       {trueUp[0], trueUp[1], trueUp[2], 0},
                       {-forward[0], -forward[1], -forward[2], 0},
                       {0, 0, 0, 1}};
  // The eye moves to the origin first.
  for (int row = 0; row < 3; ++row) {
    rows[row][3] = -(rows[row][0] * eye[0] + rows[row][1] * eye[1] + rows[row][2] * eye[2]);
  }
  return fromRows(rows);
}

Mat4 rotationMatrix(float degrees, float x, float y, float z) {
  double axis[3] = {x, y, z};
  // No axis, no turn.
  if (x == 0 && y == 0 && z == 0) return identityMatrix();
  normalise(axis);
  const double radians = degrees * std::numbers::pi / 180.0;
  const double c = std::cos(radians), s = std::sin(radians), t = 1 - c;
  const double ax = axis[0], ay = axis[1], az = axis[2];
  const double rows[4][4] = {{ax * ax * t + c, ax * ay * t - az * s, ax * az * t + ay * s, 0},
                             {ay * ax * t + az * s, ay * ay * t + c, ay * az * t - ax * s, 0},
                             {az * ax * t - ay * s, az * ay * t + ax * s, az * az * t + c, 0},
                             {0, 0, 0, 1}};
  return fromRows(rows);
}

Mat4 translationMatrix(float x, float y, float z) {
  const double rows[4][4] = {{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}};
  return fromRows(rows);
}
