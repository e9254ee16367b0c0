#pragma once
// The matrix helpers the scene needs, in the row-vector convention of Direct3D: a point is a row
// vector multiplied on the left, so A x B transforms by A first and then by B.
#include "scene/graphics3d.h"

namespace tolvenar {

// Rows (cos a, 0, -sin a, 0), (0, 1, 0, 0), (sin a, 0, cos a, 0), (0, 0, 0, 1).
Matrix4 D3DXMatrixRotationY(float angle);
// Rows (1, 0, 0, 0), (0, cos a, sin a, 0), (0, -sin a, cos a, 0), (0, 0, 0, 1).
Matrix4 D3DXMatrixRotationX(float angle);
// The product a x b.
Matrix4 D3DXMatrixMultiply(const Matrix4& a, const Matrix4& b);
// Left-handed perspective: x scale = y scale / aspect, y scale = cot(fov_y / 2),
// [2][2] = zf / (zf - zn), [2][3] = 1, [3][2] = -zn * zf / (zf - zn).
Matrix4 D3DXMatrixPerspectiveFovLH(float fov_y, float aspect, float near_plane, float far_plane);

}  // namespace tolvenar
