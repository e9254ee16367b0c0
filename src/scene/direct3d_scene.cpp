#include "scene/direct3d_scene.h"

#include <utility>

#include "scene/d3dx_math.h"
#include "scene/direct3d_values.h"
#include "scene/monitors.h"

namespace tolvenar {

namespace {

using namespace d3d8;  // the values the scene and its devices speak in

constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;
constexpr std::uint32_t kClearColour = 0x00CCCCFF;
constexpr std::uint32_t kFaceBufferBytes = 4 * sizeof(FaceVertex);
constexpr std::uint32_t kFaceTextureSize = 256;

// 32400 / 3.14159 in single precision: far above pi, so the view is very wide (about 145.6
// degrees).
constexpr float kFieldOfView = 10313.249f;
constexpr float kNearPlane = 0.001f;
constexpr float kFarPlane = 10000.0f;

constexpr float kAngleWrapThreshold = 20626.498f;
constexpr double kAngleWrap = 20626.4980471672;  // 64800 / 3.14159
constexpr double kAngleStep = 0.0018;
constexpr std::int16_t kDriftPeriod = 1000;

Viewport3D ViewportOf(const PixelRect& rect) {
  Viewport3D viewport;
  viewport.x = static_cast<std::uint32_t>(rect.left);
  viewport.y = static_cast<std::uint32_t>(rect.top);
  viewport.width = static_cast<std::uint32_t>(rect.right - rect.left);
  viewport.height = static_cast<std::uint32_t>(rect.bottom - rect.top);
  return viewport;
}

}  // namespace

FaceVertex MakeVertex(float x, float y, float z, std::uint32_t colour, float tu, float tv) {
  return FaceVertex{x, y, z, colour, tu, tv};
}

float AdvanceWorldAngle(float world_angle) {
  double angle = world_angle;
  if (world_angle >= kAngleWrapThreshold) angle = static_cast<float>(angle - kAngleWrap);
  return static_cast<float>(angle + kAngleStep);
}

bool Direct3DScene::Initialize(const std::string& picture_folder,
                               const std::function<bool()>& go_on) {
  if (!graphics_.CreateRoot()) return false;
  if (!graphics_.CreateDirect3D()) return false;
  if (!go_on()) return false;
  std::uint32_t desktop_format = 0;
  if (!graphics_.GetAdapterDisplayModeFormat(kDefaultAdapter, desktop_format)) return false;

  PresentParameters parameters;
  parameters.windowed = true;
  parameters.swap_effect = kSwapEffectCopyVsync;
  parameters.back_buffer_format = desktop_format;
  if (!graphics_.CreateDevice(kDefaultAdapter, kDeviceTypeHal, kSoftwareVertexProcessing,
                              parameters) &&
      !CreatePrimaryMonitorDevice(parameters)) {
    return false;
  }
  if (!go_on()) return false;
  if (!graphics_.SetVertexShader(kFaceVertexFormat)) return false;
  if (!graphics_.SetRenderState(kRenderStateLighting, 0)) return false;

  vertex_colour_ = kOpaqueWhite;
  if (!BuildFaces()) return false;

  // The mouse is opened and acquired but never read: moving it does not end the saver.
  if (!graphics_.CreateDirectInput()) return false;
  if (!graphics_.CreateMouseDevice()) return false;
  if (!graphics_.SetMouseCommonDataFormat(kMouseDataFormat)) return false;
  if (!graphics_.SetMouseCooperativeLevel(0, kNonExclusiveBackground)) return false;
  if (!graphics_.AcquireMouse()) return false;

  // Aspect 1.0 whatever the screen's shape: a wide screen shows the box stretched.
  const Matrix4 projection = D3DXMatrixPerspectiveFovLH(kFieldOfView, 1.0f, kNearPlane, kFarPlane);
  if (!graphics_.SetTransform(kTransformProjection, projection)) return false;

  return LoadFaceTextures(picture_folder, go_on);
}

bool Direct3DScene::CreatePrimaryMonitorDevice(PresentParameters parameters) {
  // A window over several monitors can be wider than the largest surface the device draws on;
  // the primary monitor alone is drawn then, the others keep the window's black background.
  if (monitors_.size() <= 1) return false;
  const PixelRect primary = monitors_.front();
  parameters.back_buffer_width = static_cast<std::uint32_t>(primary.right - primary.left);
  parameters.back_buffer_height = static_cast<std::uint32_t>(primary.bottom - primary.top);
  parameters.present_to = primary;
  if (!graphics_.CreateDevice(kDefaultAdapter, kDeviceTypeHal, kSoftwareVertexProcessing,
                              parameters)) {
    return false;
  }
  // The back buffer is that one screen.
  monitors_.clear();
  return true;
}

bool Direct3DScene::BuildFaces() {
  for (int k = 0; k < kFaceCount; ++k) {
    std::array<FaceVertex, 4> vertices;
    for (int i = 0; i < 4; ++i) {
      const FaceCorner& c = kFaceTable[k][i];
      vertices[i] = MakeVertex(c.x, c.y, c.z, vertex_colour_, c.tu, c.tv);
    }
    if (!graphics_.CreateVertexBuffer(kFaceBufferBytes, 0, kFaceVertexFormat, kPoolManaged,
                                      face_buffer_[k])) {
      return false;
    }
    if (!graphics_.SetVertexBufferData(face_buffer_[k], 0, kFaceBufferBytes, 0, vertices.data())) {
      return false;
    }
  }
  return true;
}

bool Direct3DScene::LoadFaceTextures(const std::string& picture_folder,
                                     const std::function<bool()>& go_on) {
  for (int k = 1; k <= kFaceCount; ++k) {
    if (!go_on()) return false;
    TextureFileArguments arguments;
    arguments.width = kFaceTextureSize;
    arguments.height = kFaceTextureSize;
    arguments.mip_levels = 0;
    arguments.usage = 0;
    arguments.format = kFormatA8R8G8B8;
    arguments.pool = kPoolManaged;
    arguments.filter = k == 6 ? kFilterPoint : kFilterNone;
    arguments.mip_filter = kFilterNone;
    arguments.colour_key = 0;
    if (!graphics_.CreateTextureFromFile(FacePictureFile(picture_folder, k), arguments,
                                         face_texture_[k - 1])) {
      return false;
    }
  }
  return true;
}

void Direct3DScene::Render() {
  // Over several monitors the back buffer spans them all; the last frame left the viewport on one.
  if (monitors_.size() > 1 && !graphics_.SetViewport(ViewportOf(BoundingRect(monitors_)))) return;
  if (!graphics_.Clear(kClearTarget, kClearColour, 1.0f, 0)) return;
  if (!graphics_.BeginScene()) return;
  // A scene left open makes every later BeginScene fail, so a begun scene is always ended; a
  // frame drawn only in part is not presented.
  const bool drawn = DrawScene();
  if (!graphics_.EndScene() || !drawn) return;
  graphics_.Present();
}

bool Direct3DScene::DrawScene() {
  world_angle_ = AdvanceWorldAngle(world_angle_);
  if (!graphics_.SetTransform(kTransformWorld, D3DXMatrixRotationY(world_angle_))) return false;

  UpdateDrift();
  if (!UpdateView()) return false;

  if (monitors_.size() <= 1) return DrawFaces();
  // The projection keeps aspect 1.0: each viewport stretches the picture to its monitor just as a
  // single screen stretches it.
  for (const PixelRect& monitor : monitors_) {
    if (!graphics_.SetViewport(ViewportOf(monitor))) return false;
    if (!DrawFaces()) return false;
  }
  return true;
}

bool Direct3DScene::DrawFaces() {
  for (int k = 0; k < kFaceCount; ++k) {
    if (!graphics_.SetTexture(0, face_texture_[k])) return false;
    if (!graphics_.SetStreamSource(0, face_buffer_[k], sizeof(FaceVertex))) return false;
    if (!graphics_.DrawPrimitive(kTriangleStrip, 0, 2)) return false;
    if (!graphics_.SetTexture(0, Texture3D::kNone)) return false;
  }
  return true;
}

void Direct3DScene::UpdateDrift() {
  ++drift_.DriftFrames;
  if (drift_.DriftFrames > kDriftPeriod) {
    drift_.ViewYaw = 0;
    drift_.ViewPitch = 0;
    drift_.DriftFrames = 0;
    DrawDriftSteps(randomness_, drift_);
  }
  drift_.ViewYaw += drift_.YawStep;
  drift_.ViewPitch += drift_.PitchStep;
}

bool Direct3DScene::UpdateView() {
  const Matrix4 view = D3DXMatrixMultiply(D3DXMatrixRotationY(drift_.ViewYaw),
                                          D3DXMatrixRotationX(drift_.ViewPitch));
  return graphics_.SetTransform(kTransformView, view);
}

void Direct3DScene::Release() {
  graphics_.ReleaseDevice();
  graphics_.ReleaseDirect3D();
  graphics_.ReleaseRoot();
}

}  // namespace tolvenar
