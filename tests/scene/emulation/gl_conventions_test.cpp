#include "scene/emulation/gl_conventions.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "scene/d3dx_math.h"

namespace tolvenar {
namespace {

using Vec4 = std::array<double, 4>;

// GL's reading of a matrix's 16 floats: column-major, applied to column vectors.
Vec4 GlMultiply(const Matrix4& m, const Vec4& v) {
  const float* f = &m.m[0][0];
  Vec4 out{};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) out[r] += f[c * 4 + r] * v[c];
  }
  return out;
}

// glLoadMatrixf(pair.load); glMultMatrixf(pair.multiply) makes load * multiply.
Vec4 GlApply(const GlMatrixPair& pair, const Vec4& v) {
  return GlMultiply(pair.load, GlMultiply(pair.multiply, v));
}

// Direct3D's row-vector reading: v x m.
Vec4 D3DApply(const Matrix4& m, const Vec4& v) {
  Vec4 out{};
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) out[c] += v[r] * m.m[r][c];
  }
  return out;
}

TEST(GlConventions, VerticesLandOnTheSamePixelCentresAsUnderDirect3D) {
  const Matrix4 projection = D3DXMatrixPerspectiveFovLH(10313.249f, 1.0f, 0.001f, 10000.0f);
  struct Row {
    const char* name;
    Viewport3D viewport;
    int drawable_height;
    float world_angle, yaw, pitch;
    Vec4 point;
  } rows[] = {
      {"ahead, whole 320 x 240 target",
       {0, 0, 320, 240, 0, 1},
       240,
       0.0f,
       0.0f,
       0.0f,
       {0, 0, 10, 1}},
      {"a corner, turned world and view",
       {0, 0, 320, 240, 0, 1},
       240,
       0.7f,
       0.3f,
       -0.2f,
       {-10, 10, 10, 1}},
      {"right monitor of two",
       {640, 0, 640, 480, 0, 1},
       600,
       1.9f,
       -0.4f,
       0.25f,
       {-10, -10, -10, 1}},
      {"lower monitor, odd size",
       {0, 300, 333, 257, 0, 1},
       600,
       4.0f,
       0.1f,
       0.6f,
       {10, -10, -10, 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Matrix4 world = D3DXMatrixRotationY(row.world_angle);
    const Matrix4 view =
        D3DXMatrixMultiply(D3DXMatrixRotationY(row.yaw), D3DXMatrixRotationX(row.pitch));

    // Direct3D: v W V P, then the viewport with pixel centres at whole numbers, y down.
    const Vec4 d3d = D3DApply(projection, D3DApply(view, D3DApply(world, row.point)));
    ASSERT_GT(d3d[3], 0);
    const Viewport3D& vp = row.viewport;
    const double screen_x = vp.x + (1 + d3d[0] / d3d[3]) * vp.width / 2;
    const double screen_y = vp.y + (1 - d3d[1] / d3d[3]) * vp.height / 2;
    const double d3d_depth = d3d[2] / d3d[3];

    // GL: the matrices as the device loads them, then glViewport's transform, y up.
    const Vec4 clip =
        GlApply(GlProjection(projection, vp), GlApply(GlModelView(world, view), row.point));
    const GlRect rect = GlViewportRect(vp, row.drawable_height);
    const double window_x = rect.x + (1 + clip[0] / clip[3]) * rect.width / 2;
    const double window_y = rect.y + (1 + clip[1] / clip[3]) * rect.height / 2;

    // Direct3D's pixel (i, j) is GL's pixel whose centre is (i + 0.5, height - j - 0.5).
    EXPECT_NEAR(window_x, screen_x + 0.5, 1e-3);
    EXPECT_NEAR(window_y, row.drawable_height - screen_y - 0.5, 1e-3);
    EXPECT_NEAR(clip[2] / clip[3], 2 * d3d_depth - 1, 1e-4);
  }
}

TEST(GlConventions, ViewportsAndClearColour) {
  EXPECT_EQ(GlViewportRect(WholeDrawable(320, 240), 240), (GlRect{0, 0, 320, 240}));
  EXPECT_EQ(GlViewportRect({10, 20, 100, 50, 0, 1}, 240), (GlRect{10, 170, 100, 50}));
  const std::array<float, 4> clear = GlClearColour(0x00CCCCFF);
  EXPECT_EQ(clear, (std::array<float, 4>{204 / 255.f, 204 / 255.f, 1.0f, 1.0f}));
}

TEST(GlConventions, RenderStates) {
  using Kind = GlRenderSwitch::Kind;
  struct Row {
    std::uint32_t state, value;
    bool known;
    Kind kind;
    bool enable, front_clockwise;
  } rows[] = {
      {137, 0, true, Kind::kLighting, false, false}, {137, 1, true, Kind::kLighting, true, false},
      {22, 1, true, Kind::kCulling, false, false},   {22, 2, true, Kind::kCulling, true, false},
      {22, 3, true, Kind::kCulling, true, true},     {22, 4, false, Kind::kCulling, false, false},
      {26, 1, true, Kind::kDither, true, false},     {7, 1, false, Kind::kLighting, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "state " << row.state << " value " << row.value);
    const std::optional<GlRenderSwitch> s = GlRenderState(row.state, row.value);
    ASSERT_EQ(s.has_value(), row.known);
    if (!s) continue;
    EXPECT_EQ(s->kind, row.kind);
    EXPECT_EQ(s->enable, row.enable);
    EXPECT_EQ(s->front_clockwise, row.front_clockwise);
  }
  const std::vector<GlRenderSwitch> defaults = DirectXDefaultStates();
  ASSERT_EQ(defaults.size(), 3u);
  EXPECT_TRUE(defaults[1].enable && defaults[1].front_clockwise) << "D3DCULL_CCW";
  EXPECT_FALSE(defaults[2].enable) << "no dither";
}

TEST(GlConventions, VertexLayoutsAndPrimitives) {
  const std::optional<GlVertexLayout> face = GlVertexLayoutOf(0x142);
  ASSERT_TRUE(face);
  EXPECT_EQ((std::array<int, 4>{face->stride, face->position, face->colour, face->texture}),
            (std::array<int, 4>{24, 0, 12, 16}));
  EXPECT_EQ(GlVertexLayoutOf(0x102)->texture, 12) << "no colour";
  EXPECT_FALSE(GlVertexLayoutOf(0x152)) << "normals";
  EXPECT_FALSE(GlVertexLayoutOf(0x144)) << "transformed positions";
  EXPECT_EQ(GlStripVertexCount(5, 2), 4);
  EXPECT_FALSE(GlStripVertexCount(4, 2)) << "triangle list";
}

TEST(GlConventions, FrameBufferChoice) {
  const FrameBufferCandidate argb{0x5A, 32, true, 8, 8, 8, 8, 0, 0};
  const FrameBufferCandidate rgb_depth{0x21, 24, true, 8, 8, 8, 0, 24, 8};
  const FrameBufferCandidate rgb{0x22, 24, true, 8, 8, 8, 0, 0, 0};
  const FrameBufferCandidate single{0x23, 24, false, 8, 8, 8, 0, 0, 0};
  const FrameBufferCandidate shallow{0x24, 16, true, 5, 6, 5, 0, 0, 0};
  const std::vector<FrameBufferCandidate> configs{argb, rgb_depth, rgb, single, shallow};
  struct Row {
    std::uint32_t window_visual;
    std::optional<std::size_t> index;
    bool own_window;
  } rows[] = {
      {0x21, 1, false},  // the window's own visual, depth buffer and all
      {0x22, 2, false},  //
      {0x5A, 0, false},  // an ARGB window with a GL configuration of its own
      {0x23, 2, true},   // single-buffered only: a child of the least wasteful one
      {0x24, 2, true},   // 16 bits
      {0x99, 2, true},   // unknown to GLX
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "visual 0x" << std::hex << row.window_visual);
    const std::optional<FrameBufferChoice> choice = ChooseFrameBuffer(configs, row.window_visual);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->index, *row.index);
    EXPECT_EQ(choice->own_window, row.own_window);
  }
  EXPECT_FALSE(ChooseFrameBuffer({single, shallow, argb}, 0x23)) << "no 24-bit child visual";
}

TEST(GlConventions, SwapIntervalAndFrameRateText) {
  EXPECT_EQ(SwapInterval(nullptr), 1);
  EXPECT_EQ(SwapInterval("0"), 0);
  EXPECT_EQ(SwapInterval("1"), 1);

  FrameRateText fps;
  fps.FramePresented(5000);
  for (int i = 1; i <= 59; ++i) fps.FramePresented(5000 + i * 16);
  EXPECT_EQ(fps.Text(), "FPS: 0.0") << "not a second yet";
  fps.FramePresented(6000);
  EXPECT_EQ(fps.Text(), "FPS: 60.0");
  fps.FramePresented(8000);  // a stall: one frame in two seconds
  EXPECT_EQ(fps.Text(), "FPS: 0.5");
}

}  // namespace
}  // namespace tolvenar
