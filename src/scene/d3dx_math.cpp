#include "scene/d3dx_math.h"

#include <cmath>

namespace tolvenar {

Matrix4 D3DXMatrixRotationY(float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  Matrix4 r;
  r.m[0][0] = c;
  r.m[0][2] = -s;
  r.m[1][1] = 1;
  r.m[2][0] = s;
  r.m[2][2] = c;
  r.m[3][3] = 1;
  return r;
}

Matrix4 D3DXMatrixRotationX(float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  Matrix4 r;
  r.m[0][0] = 1;
  r.m[1][1] = c;
  r.m[1][2] = s;
  r.m[2][1] = -s;
  r.m[2][2] = c;
  r.m[3][3] = 1;
  return r;
}

Matrix4 D3DXMatrixMultiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 r;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.m[row][k] * b.m[k][column];
      r.m[row][column] = sum;
    }
  }
  return r;
}

Matrix4 D3DXMatrixPerspectiveFovLH(float fov_y, float aspect, float near_plane, float far_plane) {
  // The half angle is reduced in double precision: the scene passes a value far above pi, and a
  // single-precision tangent of it would lose most of its digits.
  const float y_scale = static_cast<float>(1.0 / std::tan(static_cast<double>(fov_y) / 2.0));
  Matrix4 r;
  r.m[0][0] = y_scale / aspect;
  r.m[1][1] = y_scale;
  r.m[2][2] = far_plane / (far_plane - near_plane);
  r.m[2][3] = 1;
  r.m[3][2] = -near_plane * far_plane / (far_plane - near_plane);
  return r;
}

}  // namespace tolvenar
