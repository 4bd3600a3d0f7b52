// 4 x 4 matrices as OpenGL keeps them (single precision, column by column),
// and the ones its fixed-function calls and GLU's camera calls make. The WebGL
// backend works its matrix stack out with these, so that its transforms are
// the desktop's.
#pragma once

#include <array>

struct Mat4 {
  std::array<float, 16> m;  // column-major: m[column * 4 + row]

  float at(int row, int column) const { return m[column * 4 + row]; }
};

Mat4 identityMatrix();
// a × b: b applied first, as OpenGL multiplies a new matrix onto the current one.
Mat4 operator*(const Mat4& a, const Mat4& b);

// gluPerspective's matrix; worked out in double, as GLU takes its arguments.
Mat4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar);
// gluLookAt's matrix: eye to the origin, looking down -z, `up` towards +y.
Mat4 lookAtMatrix(const double eye[3], const double centre[3], const double up[3]);
// glRotatef's matrix: counter-clockwise about the axis (x, y, z), normalised
// here; seen from its tip.
Mat4 rotationMatrix(float degrees, float x, float y, float z);
// glTranslatef's matrix.
Mat4 translationMatrix(float x, float y, float z);
