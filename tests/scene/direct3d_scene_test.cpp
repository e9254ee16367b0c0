#include "scene/direct3d_scene.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fakes/fake_graphics3d.h"
#include "scene/d3dx_math.h"

namespace tolvenar {
namespace {

using ::testing::ElementsAreArray;
using testing::FakeGraphics3D;
using testing::FakeRandomness;

std::vector<std::string> InitializeSequence() {
  std::vector<std::string> s = {
      "CreateRoot",
      "CreateDirect3D",
      "GetAdapterDisplayModeFormat 0",
      "CreateDevice 0 1 0x20 windowed=1 swap=4 format=22",
      "SetVertexShader 0x142",
      "SetRenderState 137 0",
  };
  for (int k = 0; k < 6; ++k) {
    s.push_back("CreateVertexBuffer 96 0 0x142 1");
    s.push_back("SetVertexBufferData " + std::to_string(100 + k) + " 0 96 0");
  }
  s.insert(s.end(), {"CreateDirectInput", "CreateMouseDevice", "SetMouseCommonDataFormat 2",
                     "SetMouseCooperativeLevel 0 10", "AcquireMouse", "SetTransform 3"});
  for (int k = 1; k <= 6; ++k) {
    s.push_back("CreateTextureFromFile C:\\Saver\\Tolvenar" + std::to_string(k) +
                ".bmp 256x256 levels=0 usage=0 format=21 pool=1 filter=" + (k == 6 ? "2" : "1") +
                " mip=1 key=0");
  }
  return s;
}

std::vector<std::string> RenderSequence() {
  std::vector<std::string> s = {"Clear 1 0xCCCCFF 1 0", "BeginScene", "SetTransform 256",
                                "SetTransform 2"};
  for (int k = 0; k < 6; ++k) {
    s.push_back("SetTexture 0 " + std::to_string(201 + k));
    s.push_back("SetStreamSource 0 " + std::to_string(100 + k) + " 24");
    s.push_back("DrawPrimitive 5 0 2");
    s.push_back("SetTexture 0 0");
  }
  s.insert(s.end(), {"EndScene", "Present"});
  return s;
}

void ExpectMatrixEq(const Matrix4& expected, const Matrix4& actual, const std::string& what) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(expected.m[r][c], actual.m[r][c]) << what << " [" << r << "][" << c << "]";
    }
  }
}

bool GoOn() { return true; }

class SceneTest : public ::testing::Test {
 protected:
  // A scene after a successful Initialize, with the log cleared.
  void Ready() {
    ASSERT_TRUE(scene.Initialize("C:\\Saver", GoOn));
    graphics.log.clear();
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) scene.Render();
  }

  FakeGraphics3D graphics;
  FakeRandomness randomness;
  Direct3DScene scene{graphics, randomness};
};

TEST_F(SceneTest, InitializeMakesTheCallsInOrder) {
  EXPECT_TRUE(scene.Initialize("C:\\Saver", GoOn));
  EXPECT_THAT(graphics.log, ElementsAreArray(InitializeSequence()));
  EXPECT_EQ(scene.VertexColour(), 0xFFFFFFFFu);
  ExpectMatrixEq(D3DXMatrixPerspectiveFovLH(10313.2490234375f, 1.0f, 0.001f, 10000.0f),
                 graphics.transforms.at(3), "projection");
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(static_cast<std::uint32_t>(scene.FaceTexture()[k]), 201u + k) << "face " << k;
    EXPECT_EQ(static_cast<std::uint32_t>(scene.FaceBuffer()[k]), 100u + k) << "face " << k;
  }
}

TEST_F(SceneTest, InitializeStopsAtTheFirstFailingStep) {
  struct Case {
    const char* what;
    const char* failing;
    const char* missing_file;
    std::size_t calls;  // the failing call is the last one made
    std::size_t buffers_available = kFaceCount;
    int stopped_at_pause = 0;  // the window closed meanwhile (0: never)
  } cases[] = {
      {"no DirectX", "CreateRoot", nullptr, 1},
      {"no Direct3D", "CreateDirect3D", nullptr, 2},
      {"no display mode", "GetAdapterDisplayModeFormat", nullptr, 3},
      {"no device", "CreateDevice", nullptr, 4},
      {"vertex format refused", "SetVertexShader", nullptr, 5},
      {"lighting not switched off", "SetRenderState", nullptr, 6},
      {"first buffer not created", "CreateVertexBuffer", nullptr, 7},
      {"first buffer not filled", "SetVertexBufferData", nullptr, 8},
      {"buffer 2 not created", nullptr, nullptr, 9, 1},
      {"buffer 2 not filled", "SetVertexBufferData 101 0 96 0", nullptr, 10},
      {"buffer 3 not created", nullptr, nullptr, 11, 2},
      {"buffer 3 not filled", "SetVertexBufferData 102 0 96 0", nullptr, 12},
      {"buffer 4 not created", nullptr, nullptr, 13, 3},
      {"buffer 4 not filled", "SetVertexBufferData 103 0 96 0", nullptr, 14},
      {"buffer 5 not created", nullptr, nullptr, 15, 4},
      {"buffer 5 not filled", "SetVertexBufferData 104 0 96 0", nullptr, 16},
      {"buffer 6 not created", nullptr, nullptr, 17, 5},
      {"buffer 6 not filled", "SetVertexBufferData 105 0 96 0", nullptr, 18},
      {"no DirectInput", "CreateDirectInput", nullptr, 19},
      {"no mouse", "CreateMouseDevice", nullptr, 20},
      {"mouse data format refused", "SetMouseCommonDataFormat", nullptr, 21},
      {"cooperative level refused", "SetMouseCooperativeLevel", nullptr, 22},
      {"mouse not acquired", "AcquireMouse", nullptr, 23},
      {"projection refused", "SetTransform", nullptr, 24},
      {"bitmap 3 missing", nullptr, "C:\\Saver\\Tolvenar3.bmp", 27},
      {"bitmap 6 missing", nullptr, "C:\\Saver\\Tolvenar6.bmp", 30},
      // A log-off is served between the long steps: a window closed there stops the build.
      {"closed while Direct3D was bound", nullptr, nullptr, 2, kFaceCount, 1},
      {"closed while the device was made", nullptr, nullptr, 4, kFaceCount, 2},
      {"closed before the first picture", nullptr, nullptr, 24, kFaceCount, 3},
      {"closed between two pictures", nullptr, nullptr, 27, kFaceCount, 6},
  };
  const std::vector<std::string> full = InitializeSequence();
  for (const Case& c : cases) {
    FakeGraphics3D g;
    if (c.failing) g.failing.insert(c.failing);
    if (c.missing_file) g.missing_files.insert(c.missing_file);
    g.vertex_buffers_available = c.buffers_available;
    Direct3DScene s(g, randomness);
    int pauses = 0;
    EXPECT_FALSE(s.Initialize("C:\\Saver", [&] { return ++pauses != c.stopped_at_pause; }))
        << c.what;
    EXPECT_THAT(g.log, ElementsAreArray(full.begin(), full.begin() + c.calls)) << c.what;
  }
}

TEST_F(SceneTest, BuildFacesFillsEachBufferFromTheFaceTable) {
  Ready();
  for (int k = 0; k < kFaceCount; ++k) {
    const auto& bytes = graphics.buffers.at(scene.FaceBuffer()[k]);
    ASSERT_EQ(bytes.size(), 96u) << "face " << k;
    FaceVertex v[4];
    std::memcpy(v, bytes.data(), sizeof v);
    for (int i = 0; i < 4; ++i) {
      const FaceCorner& c = kFaceTable[k][i];
      const std::string where = "face " + std::to_string(k) + " vertex " + std::to_string(i);
      EXPECT_EQ(v[i].x, c.x) << where;
      EXPECT_EQ(v[i].y, c.y) << where;
      EXPECT_EQ(v[i].z, c.z) << where;
      EXPECT_EQ(v[i].colour, 0xFFFFFFFFu) << where;
      EXPECT_EQ(v[i].tu, c.tu) << where;
      EXPECT_EQ(v[i].tv, c.tv) << where;
    }
  }
}

TEST(FaceTable, EveryFaceLiesInItsPlaneWithItsCornerCoordinates) {
  const struct {
    int axis;
    float value;
  } planes[kFaceCount] = {{2, 10}, {2, -10}, {0, 10}, {0, -10}, {1, 10}, {1, -10}};
  for (int k = 0; k < kFaceCount; ++k) {
    int corners_seen = 0;
    for (const FaceCorner& c : kFaceTable[k]) {
      const float p[3] = {c.x, c.y, c.z};
      EXPECT_EQ(p[planes[k].axis], planes[k].value) << "face " << k;
      for (float q : p) EXPECT_TRUE(q == 10 || q == -10) << "face " << k;
      EXPECT_TRUE(c.tu == 0 || c.tu == 1) << "face " << k;
      EXPECT_TRUE(c.tv == 0 || c.tv == 1) << "face " << k;
      corners_seen |= 1 << (static_cast<int>(c.tu) * 2 + static_cast<int>(c.tv));
    }
    EXPECT_EQ(corners_seen, 0xF) << "face " << k << " uses each texture corner once";
  }
}

TEST(FaceTable, EveryTriangleWindsClockwiseSeenFromTheOrigin) {
  // Strip triangles are (0, 1, 2) and (1, 3, 2). In left-handed coordinates a triangle winds
  // clockwise for a viewer when its normal (b - a) x (c - a) points towards the viewer.
  const int triangles[2][3] = {{0, 1, 2}, {1, 3, 2}};
  for (int k = 0; k < kFaceCount; ++k) {
    for (int t = 0; t < 2; ++t) {
      const FaceCorner& a = kFaceTable[k][triangles[t][0]];
      const FaceCorner& b = kFaceTable[k][triangles[t][1]];
      const FaceCorner& c = kFaceTable[k][triangles[t][2]];
      const float u[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
      const float v[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
      const float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                          u[0] * v[1] - u[1] * v[0]};
      const float towards_viewer = -(n[0] * a.x + n[1] * a.y + n[2] * a.z);
      EXPECT_GT(towards_viewer, 0) << "face " << k << " triangle " << t;
    }
  }
}

TEST(FaceTable, MakeVertexKeepsItsArguments) {
  const FaceVertex v = MakeVertex(1.5f, -2, 3, 0x11223344, 0, 1);
  EXPECT_EQ(v.x, 1.5f);
  EXPECT_EQ(v.y, -2.0f);
  EXPECT_EQ(v.z, 3.0f);
  EXPECT_EQ(v.colour, 0x11223344u);
  EXPECT_EQ(v.tu, 0.0f);
  EXPECT_EQ(v.tv, 1.0f);
}

TEST_F(SceneTest, RenderMakesTheCallsInOrder) {
  Ready();
  scene.Render();
  EXPECT_THAT(graphics.log, ElementsAreArray(RenderSequence()));
}

TEST_F(SceneTest, FirstFrame) {
  randomness.numbers = {0.25f, 0.75f};
  DrawDriftSteps(randomness, scene.Drift());  // as the saver window seeds it
  Ready();
  scene.Render();
  EXPECT_EQ(scene.WorldAngle(), 0.0018f);
  const DriftState& d = scene.Drift();
  EXPECT_EQ(d.DriftFrames, 1);
  EXPECT_EQ(d.YawStep, 0.0025f);
  EXPECT_EQ(d.PitchStep, 0.0075f);
  EXPECT_EQ(d.ViewYaw, d.YawStep);
  EXPECT_EQ(d.ViewPitch, d.PitchStep);
  ExpectMatrixEq(D3DXMatrixRotationY(0.0018f), graphics.transforms.at(256), "world");
  ExpectMatrixEq(
      D3DXMatrixMultiply(D3DXMatrixRotationY(d.ViewYaw), D3DXMatrixRotationX(d.ViewPitch)),
      graphics.transforms.at(2), "view");
  EXPECT_EQ(randomness.seeds.size(), 1u) << "no re-seed in the first frame";
}

TEST_F(SceneTest, DriftReseedsAfterFrame1000AndEvery1001FramesThen) {
  randomness.numbers = {0.5f, 0.5f, 0.1f, 0.2f, 0.3f, 0.4f};
  DrawDriftSteps(randomness, scene.Drift());
  Ready();
  DriftState& d = scene.Drift();

  Frames(1000);
  EXPECT_EQ(d.DriftFrames, 1000);
  EXPECT_EQ(randomness.seeds.size(), 1u) << "frame 1000 keeps the steps";
  EXPECT_EQ(d.YawStep, 0.005f);
  EXPECT_NEAR(d.ViewYaw, 5.0f, 1e-3f);

  randomness.seconds = 7200.25f;
  Frames(1);  // frame 1001
  ASSERT_EQ(randomness.seeds.size(), 2u);
  EXPECT_EQ(randomness.seeds[1], 7200.25f) << "re-seeded from the time of day";
  EXPECT_EQ(d.DriftFrames, 0);
  EXPECT_EQ(d.YawStep, 0.1f * 10.0f / 1000.0f);
  EXPECT_EQ(d.PitchStep, 0.2f * 10.0f / 1000.0f);
  EXPECT_EQ(d.ViewYaw, d.YawStep) << "the frame of a re-seed starts from the new steps";
  EXPECT_EQ(d.ViewPitch, d.PitchStep);

  Frames(1000);  // frame 2001
  EXPECT_EQ(d.DriftFrames, 1000);
  EXPECT_EQ(randomness.seeds.size(), 2u);
  Frames(1);  // frame 2002
  EXPECT_EQ(randomness.seeds.size(), 3u);
  EXPECT_EQ(d.DriftFrames, 0);
  EXPECT_EQ(d.ViewYaw, 0.3f * 10.0f / 1000.0f);
  EXPECT_EQ(d.ViewPitch, 0.4f * 10.0f / 1000.0f);
}

TEST_F(SceneTest, BothStepsZeroKeepTheViewUnturnedWhileTheBoxTurns) {
  randomness.numbers = {0, 0};
  DrawDriftSteps(randomness, scene.Drift());
  Ready();
  Frames(500);
  EXPECT_EQ(scene.Drift().ViewYaw, 0.0f);
  EXPECT_EQ(scene.Drift().ViewPitch, 0.0f);
  ExpectMatrixEq(D3DXMatrixMultiply(D3DXMatrixRotationY(0), D3DXMatrixRotationX(0)),
                 graphics.transforms.at(2), "view");
  EXPECT_NEAR(scene.WorldAngle(), 0.9f, 1e-4f);
}

TEST(WorldAngle, StepsAndWrap) {
  struct Case {
    const char* what;
    float before;
    float after;
  } cases[] = {
      {"first frame", 0.0f, 0.0018f},
      {"just under the threshold", 20626.496f, static_cast<float>(20626.496f + 0.0018)},
      {"at the threshold", 20626.498046875f,
       static_cast<float>(static_cast<float>(20626.498046875 - 20626.4980471672) + 0.0018)},
      {"large angles step by the float spacing", 20000.0f, 20000.001953125f},
  };
  for (const Case& c : cases) EXPECT_EQ(AdvanceWorldAngle(c.before), c.after) << c.what;
  EXPECT_NEAR(AdvanceWorldAngle(20626.498046875f), 0.0018f, 1e-6f);
}

TEST_F(SceneTest, WrapFrame) {
  Ready();
  scene.SetWorldAngle(20626.498046875f);
  scene.Render();
  EXPECT_NEAR(scene.WorldAngle(), 0.0018f, 1e-6f);
  ExpectMatrixEq(D3DXMatrixRotationY(scene.WorldAngle()), graphics.transforms.at(256), "world");
}

TEST(SceneFailures, RenderEndsAtTheFirstFailingCallClosesTheSceneAndTheNextFrameDraws) {
  struct Case {
    const char* failing;
    std::size_t calls;  // up to and including the failing one
    bool state_advanced;
  } cases[] = {
      {"Clear", 1, false},
      {"BeginScene", 2, false},
      // Between BeginScene and EndScene: the scene is ended, the frame not presented.
      {"SetTransform 256", 3, true},
      {"SetTransform 2", 4, true},
      {"SetTexture 0 201", 5, true},
      {"SetStreamSource", 6, true},
      {"DrawPrimitive", 7, true},
      {"SetTexture 0 0", 8, true},
      {"SetTexture 0 206", 25, true},
      {"Present", 30, true},
  };
  const std::vector<std::string> full = RenderSequence();
  for (const Case& c : cases) {
    FakeGraphics3D g;
    FakeRandomness randomness;
    Direct3DScene scene(g, randomness);
    ASSERT_TRUE(scene.Initialize("C:\\Saver", GoOn));
    g.log.clear();
    g.failing = {c.failing};
    scene.Render();
    std::vector<std::string> expected(full.begin(), full.begin() + c.calls);
    if (c.calls > 2 && c.calls < full.size() - 1) expected.emplace_back("EndScene");
    EXPECT_THAT(g.log, ElementsAreArray(expected)) << c.failing;
    EXPECT_EQ(scene.WorldAngle() != 0, c.state_advanced) << c.failing;

    g.failing.clear();
    g.log.clear();
    scene.Render();
    EXPECT_THAT(g.log, ElementsAreArray(full)) << "the frame after " << c.failing;
  }
}

TEST_F(SceneTest, AFailingEndSceneSkipsThePresent) {
  Ready();
  graphics.failing = {"EndScene"};
  scene.Render();
  const std::vector<std::string> full = RenderSequence();
  EXPECT_THAT(graphics.log, ElementsAreArray(full.begin(), full.end() - 1));
}

// Over several monitors: the whole back buffer cleared, the animation stepped once, then the faces
// drawn into each monitor's rectangle; one monitor draws as the single screen does.
std::vector<std::string> RenderSequence(const std::vector<PixelRect>& monitors) {
  if (monitors.size() <= 1) return RenderSequence();
  const auto viewport = [](const PixelRect& r) {
    return "SetViewport " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + " 0 1";
  };
  const std::vector<std::string> single = RenderSequence();
  const auto faces_begin = single.begin() + 4;
  const auto faces_end = single.end() - 2;
  PixelRect whole;
  for (const PixelRect& m : monitors) {
    whole.right = std::max(whole.right, m.right);
    whole.bottom = std::max(whole.bottom, m.bottom);
  }
  std::vector<std::string> s = {viewport(whole)};
  s.insert(s.end(), single.begin(), faces_begin);
  for (const PixelRect& m : monitors) {
    s.push_back(viewport(m));
    s.insert(s.end(), faces_begin, faces_end);
  }
  s.insert(s.end(), faces_end, single.end());
  return s;
}

TEST(SceneMonitors, EachFrameDrawsTheBoxIntoEveryMonitor) {
  const struct {
    const char* what;
    std::vector<PixelRect> monitors;  // relative to the window
  } cases[] = {
      {"none given", {}},
      {"one", {{0, 0, 1024, 768}}},
      {"a smaller one at the right", {{0, 0, 1024, 768}, {1024, 0, 1824, 600}}},
      {"three of different sizes",
       {{1280, 200, 3200, 1280}, {0, 256, 1280, 1280}, {3200, 0, 4000, 600}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeGraphics3D g;
    FakeRandomness randomness;
    Direct3DScene s(g, randomness);
    s.SetMonitors(c.monitors);
    ASSERT_TRUE(s.Initialize("C:\\Saver", GoOn));
    EXPECT_THAT(g.log, ElementsAreArray(InitializeSequence()));
    for (int frame = 0; frame < 2; ++frame) {
      g.log.clear();
      s.Render();
      EXPECT_THAT(g.log, ElementsAreArray(RenderSequence(c.monitors))) << "frame " << frame;
    }
    EXPECT_EQ(s.Drift().DriftFrames, 2) << "the animation steps once a frame";
  }
}

TEST(SceneMonitors, AFailingViewportEndsTheFrameAndTheNextOneDraws) {
  const std::vector<PixelRect> monitors = {{0, 0, 1024, 768}, {1024, 0, 1824, 600}};
  const std::vector<std::string> full = RenderSequence(monitors);
  const struct {
    const char* failing;
    std::size_t calls;  // up to and including the failing one
    bool ended;         // the scene was begun and is ended
  } cases[] = {
      {"SetViewport 0 0 1824 768 0 1", 1, false},
      {"SetViewport 0 0 1024 768 0 1", 6, true},
      {"SetViewport 1024 0 800 600 0 1", 31, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    FakeGraphics3D g;
    FakeRandomness randomness;
    Direct3DScene s(g, randomness);
    s.SetMonitors(monitors);
    ASSERT_TRUE(s.Initialize("C:\\Saver", GoOn));
    g.log.clear();
    g.failing = {c.failing};
    s.Render();
    std::vector<std::string> expected(full.begin(), full.begin() + c.calls);
    if (c.ended) expected.emplace_back("EndScene");
    EXPECT_THAT(g.log, ElementsAreArray(expected));
    g.failing.clear();
    g.log.clear();
    s.Render();
    EXPECT_THAT(g.log, ElementsAreArray(full));
  }
}

// A device for the whole window refused (wider than the device draws): the primary monitor is
// drawn as a single screen would be, presented to its place; the others keep the background.
TEST(SceneMonitors, ADeviceRefusedForTheWholeWindowDrawsThePrimaryMonitor) {
  const std::string whole = "CreateDevice 0 1 0x20 windowed=1 swap=4 format=22";
  const struct {
    const char* what;
    std::vector<PixelRect> monitors;
    const char* second;  // the second attempt, nullptr: none
    bool second_refused;
  } cases[] = {
      {"one monitor: no second attempt", {{0, 0, 16640, 1080}}, nullptr, false},
      {"two: the primary, at the left",
       {{0, 0, 8320, 1080}, {8320, 0, 16640, 1080}},
       " size=8320x1080 to=0,0,8320,1080",
       false},
      {"three: the primary, in the middle",
       {{1280, 200, 3200, 1280}, {0, 256, 1280, 1280}, {3200, 0, 4000, 600}},
       " size=1920x1080 to=1280,200,3200,1280",
       false},
      {"the primary refused too",
       {{0, 0, 8320, 1080}, {8320, 0, 16640, 1080}},
       " size=8320x1080 to=0,0,8320,1080",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeGraphics3D g;
    FakeRandomness randomness;
    Direct3DScene s(g, randomness);
    s.SetMonitors(c.monitors);
    g.failing = {whole};
    if (c.second_refused) g.failing.insert("CreateDevice");
    std::vector<std::string> expected = InitializeSequence();
    if (!c.second || c.second_refused) {
      expected.resize(4);
      if (c.second) expected.push_back(whole + c.second);
      EXPECT_FALSE(s.Initialize("C:\\Saver", GoOn));
      EXPECT_THAT(g.log, ElementsAreArray(expected));
      continue;
    }
    expected.insert(expected.begin() + 4, whole + c.second);
    ASSERT_TRUE(s.Initialize("C:\\Saver", GoOn));
    EXPECT_THAT(g.log, ElementsAreArray(expected));
    g.log.clear();
    s.Render();
    EXPECT_THAT(g.log, ElementsAreArray(RenderSequence()));
  }
}

TEST_F(SceneTest, ReleaseOrder) {
  Ready();
  scene.Release();
  EXPECT_THAT(graphics.log, ElementsAreArray({"ReleaseDevice", "ReleaseDirect3D", "ReleaseRoot"}));
}

}  // namespace
}  // namespace tolvenar
