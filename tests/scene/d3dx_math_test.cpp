#include "scene/d3dx_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tolvenar {
namespace {

void ExpectMatrixNear(const Matrix4& expected, const Matrix4& actual, float tolerance) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_NEAR(expected.m[r][c], actual.m[r][c], tolerance) << "row " << r << " column " << c;
    }
  }
}

// A row vector times a matrix.
void Transform(const float in[4], const Matrix4& m, float out[4]) {
  for (int c = 0; c < 4; ++c) {
    out[c] = 0;
    for (int k = 0; k < 4; ++k) out[c] += in[k] * m.m[k][c];
  }
}

TEST(D3dxMath, PerspectiveOfTheSceneValues) {
  const Matrix4 p = D3DXMatrixPerspectiveFovLH(10313.2490234375f, 1.0f, 0.001f, 10000.0f);
  Matrix4 expected;
  expected.m[0][0] = 0.3091490598f;
  expected.m[1][1] = 0.3091490598f;
  expected.m[2][2] = 1.0000001f;
  expected.m[2][3] = 1.0f;
  expected.m[3][2] = -0.0010000001f;
  ExpectMatrixNear(expected, p, 2e-6f);
  EXPECT_NEAR(p.m[0][0], 0.30915f, 1e-5f);
  EXPECT_EQ(p.m[3][3], 0.0f);
}

TEST(D3dxMath, PerspectiveAspectScalesOnlyX) {
  const Matrix4 p = D3DXMatrixPerspectiveFovLH(1.5707964f, 2.0f, 1.0f, 101.0f);
  EXPECT_NEAR(p.m[1][1], 1.0f, 1e-6f);
  EXPECT_NEAR(p.m[0][0], 0.5f, 1e-6f);
  EXPECT_NEAR(p.m[2][2], 1.01f, 1e-6f);
  EXPECT_NEAR(p.m[3][2], -1.01f, 1e-6f);
}

TEST(D3dxMath, RotationsFollowTheRowVectorConvention) {
  struct Case {
    const char* what;
    Matrix4 matrix;
    float in[4];
    float out[4];
  } cases[] = {
      // Rotation about Y by +90 degrees takes +x to -z and +z to +x.
      {"Y(90) x", D3DXMatrixRotationY(1.5707964f), {1, 0, 0, 1}, {0, 0, -1, 1}},
      {"Y(90) z", D3DXMatrixRotationY(1.5707964f), {0, 0, 1, 1}, {1, 0, 0, 1}},
      {"Y(90) y unchanged", D3DXMatrixRotationY(1.5707964f), {0, 1, 0, 1}, {0, 1, 0, 1}},
      // Rotation about X by +90 degrees takes +y to +z and +z to -y.
      {"X(90) y", D3DXMatrixRotationX(1.5707964f), {0, 1, 0, 1}, {0, 0, 1, 1}},
      {"X(90) z", D3DXMatrixRotationX(1.5707964f), {0, 0, 1, 1}, {0, -1, 0, 1}},
      {"X(90) x unchanged", D3DXMatrixRotationX(1.5707964f), {1, 0, 0, 1}, {1, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    float out[4];
    Transform(c.in, c.matrix, out);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(c.out[i], out[i], 1e-6f) << c.what << " [" << i << "]";
  }
}

TEST(D3dxMath, RotationRowsAtAnAngle) {
  const float a = 0.3f;
  const Matrix4 y = D3DXMatrixRotationY(a);
  EXPECT_FLOAT_EQ(y.m[0][0], std::cos(a));
  EXPECT_FLOAT_EQ(y.m[0][2], -std::sin(a));
  EXPECT_FLOAT_EQ(y.m[2][0], std::sin(a));
  EXPECT_FLOAT_EQ(y.m[1][1], 1.0f);
  EXPECT_FLOAT_EQ(y.m[3][3], 1.0f);
  const Matrix4 x = D3DXMatrixRotationX(a);
  EXPECT_FLOAT_EQ(x.m[1][2], std::sin(a));
  EXPECT_FLOAT_EQ(x.m[2][1], -std::sin(a));
  EXPECT_FLOAT_EQ(x.m[2][2], std::cos(a));
}

TEST(D3dxMath, MultiplyAppliesTheLeftMatrixFirst) {
  // Y(90) then X(90): +x -> -z -> +y. The other order: +x -> +x -> -z.
  const Matrix4 y = D3DXMatrixRotationY(1.5707964f);
  const Matrix4 x = D3DXMatrixRotationX(1.5707964f);
  const float point[4] = {1, 0, 0, 1};
  float out[4];
  Transform(point, D3DXMatrixMultiply(y, x), out);
  EXPECT_NEAR(out[0], 0, 1e-6f);
  EXPECT_NEAR(out[1], 1, 1e-6f);
  EXPECT_NEAR(out[2], 0, 1e-6f);
  Transform(point, D3DXMatrixMultiply(x, y), out);
  EXPECT_NEAR(out[1], 0, 1e-6f);
  EXPECT_NEAR(out[2], -1, 1e-6f);
}

TEST(D3dxMath, MultiplyByIdentityAndAGeneralProduct) {
  Matrix4 a;
  Matrix4 identity;
  for (int r = 0; r < 4; ++r) {
    identity.m[r][r] = 1;
    for (int c = 0; c < 4; ++c) a.m[r][c] = static_cast<float>(r * 4 + c + 1);
  }
  ExpectMatrixNear(a, D3DXMatrixMultiply(a, identity), 0);
  ExpectMatrixNear(a, D3DXMatrixMultiply(identity, a), 0);
  const Matrix4 square = D3DXMatrixMultiply(a, a);
  EXPECT_EQ(square.m[0][0], 90.0f);   // 1*1 + 2*5 + 3*9 + 4*13
  EXPECT_EQ(square.m[3][2], 542.0f);  // 13*3 + 14*7 + 15*11 + 16*15
}

}  // namespace
}  // namespace tolvenar
