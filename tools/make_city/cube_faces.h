#pragma once
// The six inner faces of the box the saver draws around the viewer: the saver's own face table, so
// each face's corner positions and texture coordinates are exactly what its vertex buffers hold. A
// texel's direction from the centre of the box is the point its texture coordinates map to on the
// face.
#include <array>
#include <cmath>

#include "scene/cube_faces.h"

namespace make_city {

struct Vec3 {
  double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(double s, Vec3 a) { return a * s; }
inline Vec3 operator*(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Normalize(Vec3 a) { return a * (1.0 / Length(a)); }

struct FaceCorner {
  Vec3 position;
  double tu, tv;
};

// Faces 0-3 look level, 4 up, 5 down; face k carries picture file k + 1. Every coordinate is a
// small whole number, so the table is the same in double precision.
inline constexpr int kFaceCount = tolvenar::kFaceCount;
inline const std::array<std::array<FaceCorner, 4>, kFaceCount> kFaces = [] {
  std::array<std::array<FaceCorner, 4>, kFaceCount> faces{};
  for (int k = 0; k < kFaceCount; ++k) {
    for (int i = 0; i < 4; ++i) {
      const tolvenar::FaceCorner& c = tolvenar::kFaceTable[k][i];
      faces[k][i] = {{c.x, c.y, c.z}, c.tu, c.tv};
    }
  }
  return faces;
}();

// A face as origin and edge vectors: point(u, v) = origin + u * along_u + v * along_v.
struct FaceFrame {
  Vec3 origin, along_u, along_v;
};

inline FaceFrame FrameOf(int face) {
  Vec3 corner[2][2];
  for (const FaceCorner& c : kFaces[face])
    corner[c.tu > 0.5 ? 1 : 0][c.tv > 0.5 ? 1 : 0] = c.position;
  return {corner[0][0], corner[1][0] - corner[0][0], corner[0][1] - corner[0][0]};
}

// The point on the face's plane at texture coordinates (u, v); outside [0, 1] it lies beyond the
// face.
inline Vec3 FacePoint(int face, double u, double v) {
  const FaceFrame f = FrameOf(face);
  return f.origin + f.along_u * u + f.along_v * v;
}

// The face a direction from the centre passes through, and its texture coordinates there.
struct FaceHit {
  int face;
  double u, v;
};
inline FaceHit FaceOfDirection(Vec3 d) {
  const double ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
  int face;
  double scale;
  if (ax >= ay && ax >= az) {
    face = d.x > 0 ? 2 : 3;
    scale = 10 / ax;
  } else if (ay >= az) {
    face = d.y > 0 ? 4 : 5;
    scale = 10 / ay;
  } else {
    face = d.z > 0 ? 0 : 1;
    scale = 10 / az;
  }
  const Vec3 p = d * scale;
  const FaceFrame f = FrameOf(face);
  const Vec3 r = p - f.origin;
  return {face, Dot(r, f.along_u) / Dot(f.along_u, f.along_u),
          Dot(r, f.along_v) / Dot(f.along_v, f.along_v)};
}

}  // namespace make_city
