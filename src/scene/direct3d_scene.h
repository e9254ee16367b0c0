#pragma once
// The night-city box: six textured faces around the viewer, turned a little every frame while the
// view drifts, drawn through the Graphics3D device.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "runtime/randomness.h"
#include "scene/cube_faces.h"
#include "scene/graphics3d.h"
#include "scene/scene.h"

namespace tolvenar {

// One vertex of a face: position, diffuse colour, texture coordinates (vertex format 0x142).
struct FaceVertex {
  float x, y, z;
  std::uint32_t colour;
  float tu, tv;
};
static_assert(sizeof(FaceVertex) == 24, "the vertex stride the device is given");

constexpr std::uint32_t kFaceVertexFormat = 0x142;  // XYZ | DIFFUSE | TEX1

FaceVertex MakeVertex(float x, float y, float z, std::uint32_t colour, float tu, float tv);

// One frame's step of the box angle: wrap once past 20626.498, then add 0.0018, each computed in
// double precision and kept in single precision.
float AdvanceWorldAngle(float world_angle);

class Direct3DScene final : public Scene {
 public:
  Direct3DScene(Graphics3D& graphics, Randomness& randomness)
      : graphics_(graphics), randomness_(randomness) {}

  void SetMonitors(std::vector<PixelRect> monitors) override { monitors_ = std::move(monitors); }
  bool Initialize(const std::string& picture_folder, const std::function<bool()>& go_on) override;
  void Render() override;
  void Release() override;
  DriftState& Drift() override { return drift_; }

  float WorldAngle() const { return world_angle_; }
  void SetWorldAngle(float angle) { world_angle_ = angle; }
  std::uint32_t VertexColour() const { return vertex_colour_; }
  const std::array<Texture3D, kFaceCount>& FaceTexture() const { return face_texture_; }
  const std::array<VertexBuffer3D, kFaceCount>& FaceBuffer() const { return face_buffer_; }

 private:
  // The device for the primary monitor alone, when there are several; false otherwise.
  bool CreatePrimaryMonitorDevice(PresentParameters parameters);
  bool BuildFaces();
  bool LoadFaceTextures(const std::string& picture_folder, const std::function<bool()>& go_on);
  // Everything between BeginScene and EndScene; false at the first failing call.
  bool DrawScene();
  bool DrawFaces();
  void UpdateDrift();
  bool UpdateView();

  Graphics3D& graphics_;
  Randomness& randomness_;
  std::vector<PixelRect> monitors_;
  DriftState drift_;
  float world_angle_ = 0;
  std::uint32_t vertex_colour_ = 0;
  std::array<Texture3D, kFaceCount> face_texture_{};
  std::array<VertexBuffer3D, kFaceCount> face_buffer_{};
};

// A scene whose calls all go to a Direct3DScene that the derived class holds together with the
// device that scene draws with (the device declared first, so that it goes last).
class ForwardingScene : public Scene {
 public:
  void SetMonitors(std::vector<PixelRect> monitors) override {
    scene_.SetMonitors(std::move(monitors));
  }
  bool Initialize(const std::string& picture_folder, const std::function<bool()>& go_on) override {
    return scene_.Initialize(picture_folder, go_on);
  }
  void Render() override { scene_.Render(); }
  void Release() override { scene_.Release(); }
  DriftState& Drift() override { return scene_.Drift(); }

 protected:
  // Only the reference is kept: the scene is built after this base.
  explicit ForwardingScene(Direct3DScene& scene) : scene_(scene) {}

 private:
  Direct3DScene& scene_;
};

}  // namespace tolvenar
