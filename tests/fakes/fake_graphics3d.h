#pragma once
// A Graphics3D that records every call as one line of text, keeps what the scene hands it, and
// fails the operations named in `failing` (by name, or by the whole line). Like a device, it
// refuses BeginScene while a scene is open and EndScene while none is.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_runtime.h"
#include "scene/graphics3d.h"

namespace tolvenar::testing {

inline std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

class FakeGraphics3D : public Graphics3D {
 public:
  bool CreateRoot() override { return Call("CreateRoot"); }
  bool CreateDirect3D() override { return Call("CreateDirect3D"); }
  bool GetAdapterDisplayModeFormat(std::uint32_t adapter, std::uint32_t& format) override {
    if (!Call("GetAdapterDisplayModeFormat " + std::to_string(adapter))) return false;
    format = desktop_format;
    return true;
  }
  bool CreateDevice(std::uint32_t adapter, std::uint32_t device_type, std::uint32_t behaviour_flags,
                    const PresentParameters& p) override {
    std::string line = "CreateDevice " + std::to_string(adapter) + " " +
                       std::to_string(device_type) + " " + Hex(behaviour_flags) +
                       " windowed=" + std::to_string(p.windowed) +
                       " swap=" + std::to_string(p.swap_effect) +
                       " format=" + std::to_string(p.back_buffer_format);
    if (p.back_buffer_width || p.back_buffer_height) {
      const PixelRect& r = p.present_to;
      line += " size=" + std::to_string(p.back_buffer_width) + "x" +
              std::to_string(p.back_buffer_height) + " to=" + std::to_string(r.left) + "," +
              std::to_string(r.top) + "," + std::to_string(r.right) + "," +
              std::to_string(r.bottom);
    }
    return Call(line);
  }
  bool SetVertexShader(std::uint32_t vertex_format) override {
    return Call("SetVertexShader " + Hex(vertex_format));
  }
  bool SetRenderState(std::uint32_t state, std::uint32_t value) override {
    return Call("SetRenderState " + std::to_string(state) + " " + std::to_string(value));
  }
  bool CreateVertexBuffer(std::uint32_t length, std::uint32_t usage, std::uint32_t vertex_format,
                          std::uint32_t pool, VertexBuffer3D& buffer) override {
    if (!Call("CreateVertexBuffer " + std::to_string(length) + " " + std::to_string(usage) + " " +
              Hex(vertex_format) + " " + std::to_string(pool)) ||
        buffers.size() >= vertex_buffers_available) {
      return false;
    }
    buffer = static_cast<VertexBuffer3D>(100 + buffers.size());
    buffers[buffer];
    return true;
  }
  bool SetVertexBufferData(VertexBuffer3D buffer, std::uint32_t offset, std::uint32_t size,
                           std::uint32_t flags, const void* data) override {
    if (!Call("SetVertexBufferData " + std::to_string(static_cast<std::uint32_t>(buffer)) + " " +
              std::to_string(offset) + " " + std::to_string(size) + " " + std::to_string(flags))) {
      return false;
    }
    auto& bytes = buffers[buffer];
    bytes.resize(offset + size);
    std::memcpy(bytes.data() + offset, data, size);
    return true;
  }
  bool CreateDirectInput() override { return Call("CreateDirectInput"); }
  bool CreateMouseDevice() override { return Call("CreateMouseDevice"); }
  bool SetMouseCommonDataFormat(std::uint32_t common_format) override {
    return Call("SetMouseCommonDataFormat " + std::to_string(common_format));
  }
  bool SetMouseCooperativeLevel(WindowHandle window, std::uint32_t flags) override {
    return Call("SetMouseCooperativeLevel " + std::to_string(window) + " " + std::to_string(flags));
  }
  bool AcquireMouse() override { return Call("AcquireMouse"); }
  bool SetTransform(std::uint32_t state, const Matrix4& matrix) override {
    if (!Call("SetTransform " + std::to_string(state))) return false;
    transforms[state] = matrix;
    return true;
  }
  bool CreateTextureFromFile(const std::string& path, const TextureFileArguments& a,
                             Texture3D& texture) override {
    const bool ok =
        Call("CreateTextureFromFile " + path + " " + std::to_string(a.width) + "x" +
             std::to_string(a.height) + " levels=" + std::to_string(a.mip_levels) +
             " usage=" + std::to_string(a.usage) + " format=" + std::to_string(a.format) +
             " pool=" + std::to_string(a.pool) + " filter=" + std::to_string(a.filter) +
             " mip=" + std::to_string(a.mip_filter) + " key=" + std::to_string(a.colour_key));
    if (!ok || missing_files.count(path)) return false;
    texture = static_cast<Texture3D>(200 + ++textures);
    return true;
  }
  bool SetViewport(const Viewport3D& v) override {
    char text[80];
    std::snprintf(text, sizeof text, "SetViewport %u %u %u %u %g %g", v.x, v.y, v.width, v.height,
                  v.min_z, v.max_z);
    return Call(text);
  }
  bool Clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) override {
    char text[80];
    std::snprintf(text, sizeof text, "Clear %u %s %g %u", flags, Hex(colour).c_str(), z, stencil);
    return Call(text);
  }
  bool BeginScene() override {
    if (!Call("BeginScene") || scene_open) return false;
    scene_open = true;
    return true;
  }
  bool SetTexture(std::uint32_t stage, Texture3D texture) override {
    return Call("SetTexture " + std::to_string(stage) + " " +
                std::to_string(static_cast<std::uint32_t>(texture)));
  }
  bool SetStreamSource(std::uint32_t stream, VertexBuffer3D buffer, std::uint32_t stride) override {
    return Call("SetStreamSource " + std::to_string(stream) + " " +
                std::to_string(static_cast<std::uint32_t>(buffer)) + " " + std::to_string(stride));
  }
  bool DrawPrimitive(std::uint32_t type, std::uint32_t start, std::uint32_t count) override {
    return Call("DrawPrimitive " + std::to_string(type) + " " + std::to_string(start) + " " +
                std::to_string(count));
  }
  bool EndScene() override {
    if (!Call("EndScene") || !scene_open) return false;
    scene_open = false;
    return true;
  }
  bool Present() override { return Call("Present"); }
  void ReleaseDevice() override { Call("ReleaseDevice"); }
  void ReleaseDirect3D() override { Call("ReleaseDirect3D"); }
  void ReleaseRoot() override { Call("ReleaseRoot"); }

  std::vector<std::string> log;
  std::set<std::string> failing;  // operation names (the first word of a log line)
  std::set<std::string> missing_files;
  std::uint32_t desktop_format = 22;         // X8R8G8B8
  std::size_t vertex_buffers_available = 6;  // the next one fails, as when memory runs out
  std::map<VertexBuffer3D, std::vector<unsigned char>> buffers;
  std::map<std::uint32_t, Matrix4> transforms;
  int textures = 0;
  bool scene_open = false;

 private:
  bool Call(const std::string& line) {
    log.push_back(line);
    return failing.count(line.substr(0, line.find(' '))) == 0 && failing.count(line) == 0;
  }
};

}  // namespace tolvenar::testing
