// The six committed faces form one seamless box: a texel at a face's edge and the texel just across
// that edge on the neighbouring face, found through the face table, show nearly the same colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "cube_faces.h"
#include "runtime/picture.h"

namespace make_city {
namespace {

constexpr int kSize = 256;

tolvenar::Picture Load(const std::string& name) {
  std::ifstream file(std::string(CITY_ASSETS) + "/" + name, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return tolvenar::DecodePicture(bytes).value_or(tolvenar::Picture{});
}

struct Faces {
  tolvenar::Picture face[kFaceCount];
  Faces() {
    for (int k = 0; k < kFaceCount; ++k) face[k] = Load("face" + std::to_string(k + 1) + ".png");
  }
};

int Texel(double t) { return std::clamp(static_cast<int>(std::floor(t * kSize)), 0, kSize - 1); }

// The colour around (u, v), averaged over three texels along the edge (`along_u`: the edge runs in
// u), so that windows a texel wide do not dominate the comparison.
struct Colour {
  double c[3];
};
Colour Around(const tolvenar::Picture& p, double u, double v, bool along_u) {
  Colour sum{};
  for (int step = -1; step <= 1; ++step) {
    const int x = Texel(u + (along_u ? step : 0) / double(kSize));
    const int y = Texel(v + (along_u ? 0 : step) / double(kSize));
    for (int c = 0; c < 3; ++c) sum.c[c] += p.rgb[(y * kSize + x) * 3 + c] / 3.0;
  }
  return sum;
}

double Difference(Colour a, Colour b) {
  return (std::fabs(a.c[0] - b.c[0]) + std::fabs(a.c[1] - b.c[1]) + std::fabs(a.c[2] - b.c[2])) / 3;
}

// Whether the edge of `face` that the texture direction `edge_in_u` names runs along u on face
// `hit`.
bool RunsAlongU(int face, int hit, bool edge_runs_in_v) {
  const FaceFrame a = FrameOf(face), b = FrameOf(hit);
  const Vec3 edge = edge_runs_in_v ? a.along_v : a.along_u;
  return std::fabs(Dot(edge, b.along_u)) > std::fabs(Dot(edge, b.along_v));
}

struct EdgeReport {
  int neighbour = -1;  // the face across the middle of the edge
  double across = 0;   // mean difference between the two texels that meet at the edge
  double nearby =
      0;  // mean difference between two neighbouring texel lines near the edge, both faces
};

// The texture coordinates `line` texels inside the edge (0: the edge line itself; negative: beyond
// it) at position `along` on the edge. Edge 0: u = 0, 1: u = 1, 2: v = 0, 3: v = 1.
void EdgeLine(int edge, int line, double along, double& u, double& v) {
  const double inside = (line + 0.5) / kSize;
  u = v = along;
  if (edge < 2)
    u = edge == 0 ? inside : 1 - inside;
  else
    v = edge == 2 ? inside : 1 - inside;
}

EdgeReport CheckEdge(const Faces& faces, int face, int edge) {
  EdgeReport report;
  constexpr int kLines = 4;
  for (int i = 0; i < kSize; ++i) {
    const double along = (i + 0.5) / kSize;
    const bool edge_in_v = edge < 2;
    const auto& a = faces.face[face];
    double u, v;
    EdgeLine(edge, 0, along, u, v);
    const Colour here = Around(a, u, v, !edge_in_v);
    // Across the edge: the direction half a texel beyond it lands on the neighbouring face.
    double bu, bv;
    EdgeLine(edge, -1, along, bu, bv);
    const FaceHit hit = FaceOfDirection(FacePoint(face, bu, bv));
    if (i == kSize / 2) report.neighbour = hit.face;
    const bool hit_along_u = RunsAlongU(face, hit.face, edge_in_v);
    report.across += Difference(here, Around(faces.face[hit.face], hit.u, hit.v, hit_along_u));
    // Near the edge on both faces: how much the picture changes from one texel line to the next.
    for (int line = 0; line < kLines; ++line) {
      double u0, v0, u1, v1;
      EdgeLine(edge, line, along, u0, v0);
      EdgeLine(edge, line + 1, along, u1, v1);
      report.nearby += Difference(Around(a, u0, v0, !edge_in_v), Around(a, u1, v1, !edge_in_v));
      EdgeLine(edge, -1 - line, along, u0, v0);
      EdgeLine(edge, -2 - line, along, u1, v1);
      const FaceHit h0 = FaceOfDirection(FacePoint(face, u0, v0));
      const FaceHit h1 = FaceOfDirection(FacePoint(face, u1, v1));
      report.nearby += Difference(Around(faces.face[h0.face], h0.u, h0.v, hit_along_u),
                                  Around(faces.face[h1.face], h1.u, h1.v, hit_along_u));
    }
  }
  report.across /= kSize;
  report.nearby /= 2 * kSize * kLines;
  return report;
}

TEST(CitySeams, EveryEdgeMeetsItsNeighbour) {
  const Faces faces;
  for (int k = 0; k < kFaceCount; ++k) ASSERT_EQ(faces.face[k].width, kSize) << "face" << k + 1;
  for (int face = 0; face < kFaceCount; ++face) {
    for (int edge = 0; edge < 4; ++edge) {
      const EdgeReport r = CheckEdge(faces, face, edge);
      SCOPED_TRACE("face " + std::to_string(face) + " edge " + std::to_string(edge) + " -> face " +
                   std::to_string(r.neighbour) + ": across " + std::to_string(r.across) +
                   ", nearby " + std::to_string(r.nearby));
      EXPECT_NE(r.neighbour, face);
      EXPECT_NE(r.neighbour / 2 * 2, face / 2 * 2) << "an opposite face is never a neighbour";
      // Across the edge the picture changes about as much as between texel lines beside it.
      EXPECT_LE(r.across, 2 * r.nearby + 6);
    }
  }
}

TEST(CitySeams, AFaceTurnedAQuarterTurnIsCaught) {
  Faces faces;
  tolvenar::Picture turned = faces.face[4];
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      for (int c = 0; c < 3; ++c)
        turned.rgb[(y * kSize + x) * 3 + c] =
            faces.face[4].rgb[(x * kSize + (kSize - 1 - y)) * 3 + c];
  faces.face[4] = turned;
  double worst = 0;
  for (int edge = 0; edge < 4; ++edge) {
    const EdgeReport r = CheckEdge(faces, 4, edge);
    worst = std::max(worst, r.across - (2 * r.nearby + 6));
  }
  EXPECT_GT(worst, 0);
}

}  // namespace
}  // namespace make_city
