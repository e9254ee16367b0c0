#include "scene/gl/gl_device.h"

#include <algorithm>
#include <chrono>

#include "runtime/picture.h"
#include "scene/direct3d_values.h"
#include "scene/texels.h"

namespace tolvenar::gl {

namespace {

using namespace d3d8;  // the values the scene and its devices speak in

constexpr int kFontFirst = 32;  // the printable ASCII characters
constexpr int kFontCount = 96;
constexpr int kFrameRateMargin = 8;

Matrix4 Identity() {
  Matrix4 m;
  for (int i = 0; i < 4; ++i) m.m[i][i] = 1;
  return m;
}

void SetMatrices(GLenum mode, const GlMatrixPair& pair) {
  glMatrixMode(mode);
  glLoadMatrixf(&pair.load.m[0][0]);
  glMultMatrixf(&pair.multiply.m[0][0]);
}

void SetArray(GLenum array, bool present) {
  if (present) {
    glEnableClientState(array);
  } else {
    glDisableClientState(array);
  }
}

std::uint64_t NowMilliseconds() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

}  // namespace

GLuint GlTextures::Make() {
  GLuint name = 0;
  glGenTextures(1, &name);
  names_.push_back(name);
  return name;
}

GLuint GlTextures::Name(Texture3D texture) const {
  const auto index = static_cast<std::size_t>(texture);
  return index >= 1 && index <= names_.size() ? names_[index - 1] : 0;
}

void GlTextures::clear() {
  if (!names_.empty()) glDeleteTextures(static_cast<GLsizei>(names_.size()), names_.data());
  names_.clear();
}

bool GlFont::Load(GlSurface& surface) {
  reset();
  const std::optional<FontLists> lists = surface.MakeFont(kFontFirst, kFontCount);
  if (!lists) return false;
  lists_ = *lists;
  return true;
}

void GlFont::reset() {
  if (lists_.base != 0) glDeleteLists(lists_.base, kFontCount);
  lists_ = FontLists{};
}

void GlFont::Draw(const std::string& text) const {
  glListBase(lists_.base - kFontFirst);
  // The list made for a blank glyph does not move the raster position: each blank moves it by the
  // font's advance by hand.
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t blank = std::min(text.find(' ', start), text.size());
    glCallLists(static_cast<GLsizei>(blank - start), GL_UNSIGNED_BYTE, text.data() + start);
    if (blank == text.size()) break;
    glBitmap(0, 0, 0, 0, static_cast<GLfloat>(lists_.blank_advance), 0, nullptr);
    start = blank + 1;
  }
}

GlDevice::GlDevice(GlSurface& surface, Process& process, bool show_fps)
    : surface_(surface),
      process_(process),
      show_fps_(show_fps),
      world_(Identity()),
      view_(Identity()),
      projection_(Identity()) {}

// This class's own release, named: what derives from it (a surface paired with it) adds none.
GlDevice::~GlDevice() { GlDevice::ReleaseDevice(); }

bool GlDevice::CreateRoot() {
  root_ = surface_.Available();
  return root_;
}

bool GlDevice::CreateDirect3D() {
  direct3d_ = root_ && surface_.VersionSupported();
  return direct3d_;
}

// The back buffer always takes the window's visual, so the format only has to be one the scene
// can hand back unchanged.
bool GlDevice::GetAdapterDisplayModeFormat(std::uint32_t adapter, std::uint32_t& format) {
  if (!direct3d_ || adapter != 0) return false;
  format = kFormatX8R8G8B8;
  return true;
}

bool GlDevice::CreateDevice(std::uint32_t adapter, std::uint32_t, std::uint32_t,
                            const PresentParameters&) {
  if (!direct3d_ || adapter != 0 || context_ || !surface_.MakeContext()) return false;
  context_ = true;

  // A new Direct3D device: no depth buffer, no blending, modulated stage 0, no ambient light.
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glCullFace(GL_BACK);
  for (const GlRenderSwitch& s : DirectXDefaultStates()) ApplyRenderSwitch(s);
  const GLfloat no_ambient[] = {0, 0, 0, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, no_ambient);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glColor4f(1, 1, 1, 1);
  glEnable(GL_SCISSOR_TEST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  world_ = view_ = projection_ = Identity();
  viewport_.reset();
  size_known_ = false;
  return RefreshSize();
}

bool GlDevice::SetVertexShader(std::uint32_t vertex_format) {
  if (!Device()) return false;
  layout_ = GlVertexLayoutOf(vertex_format);
  return layout_.has_value();
}

bool GlDevice::SetRenderState(std::uint32_t state, std::uint32_t value) {
  const std::optional<GlRenderSwitch> s = GlRenderState(state, value);
  return Device() && s && ApplyRenderSwitch(*s);
}

bool GlDevice::ApplyRenderSwitch(const GlRenderSwitch& s) {
  GLenum capability = GL_LIGHTING;
  switch (s.kind) {
    case GlRenderSwitch::Kind::kLighting:
      capability = GL_LIGHTING;
      break;
    case GlRenderSwitch::Kind::kDither:
      capability = GL_DITHER;
      break;
    case GlRenderSwitch::Kind::kCulling:
      capability = GL_CULL_FACE;
      if (s.enable) glFrontFace(s.front_clockwise ? GL_CW : GL_CCW);
      break;
  }
  if (s.enable) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
  return true;
}

bool GlDevice::CreateVertexBuffer(std::uint32_t length, std::uint32_t, std::uint32_t, std::uint32_t,
                                  VertexBuffer3D& buffer) {
  if (!Device() || length == 0) return false;
  buffers_.emplace_back(length);
  buffer = static_cast<VertexBuffer3D>(buffers_.size());
  return true;
}

bool GlDevice::SetVertexBufferData(VertexBuffer3D buffer, std::uint32_t offset, std::uint32_t size,
                                   std::uint32_t, const void* data) {
  const auto index = static_cast<std::size_t>(buffer);
  if (index < 1 || index > buffers_.size()) return false;
  std::vector<unsigned char>& bytes = buffers_[index - 1];
  if (std::uint64_t{offset} + size > bytes.size()) return false;
  std::copy_n(static_cast<const unsigned char*>(data), size, bytes.begin() + offset);
  return true;
}

bool GlDevice::SetTransform(std::uint32_t state, const Matrix4& matrix) {
  if (!Device()) return false;
  switch (state) {
    case kTransformWorld:
      world_ = matrix;
      return true;
    case kTransformView:
      view_ = matrix;
      return true;
    case kTransformProjection:
      projection_ = matrix;
      return true;
    default:
      return false;
  }
}

bool GlDevice::CreateTextureFromFile(const std::string& path, const TextureFileArguments& arguments,
                                     Texture3D& texture) {
  if (!Device() || (arguments.format != kFormatA8R8G8B8 && arguments.format != kFormatX8R8G8B8) ||
      arguments.width == 0 || arguments.height == 0) {
    return false;
  }
  const std::optional<std::string> bytes = process_.ReadWholeFile(path);
  if (!bytes) return false;
  const std::optional<Picture> picture = DecodePicture(*bytes);
  if (!picture) return false;
  // A8R8G8B8 texels are B, G, R, A bytes, top row first, as GL_BGRA takes them; the target has no
  // alpha, as the scene's untextured blending never reads it. Only the top level is filled and
  // sampled (nearest, no mipmaps), as on the Direct3D device.
  const std::vector<std::uint32_t> texels =
      TopLevelTexels(*picture, arguments.width, arguments.height, arguments.filter);
  while (glGetError() != GL_NO_ERROR) {
  }
  glBindTexture(GL_TEXTURE_2D, textures_.Make());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, static_cast<GLsizei>(arguments.width),
               static_cast<GLsizei>(arguments.height), 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
  glBindTexture(GL_TEXTURE_2D, bound_texture_);
  if (glGetError() != GL_NO_ERROR) return false;
  texture = textures_.Last();
  return true;
}

bool GlDevice::SetViewport(const Viewport3D& viewport) {
  if (!Device()) return false;
  viewport_ = viewport;
  return true;
}

bool GlDevice::Clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t) {
  // No depth or stencil buffer to clear.
  if (!Device() || flags != kClearTarget || !RefreshSize()) return false;
  ApplyViewport();
  const std::array<float, 4> rgba = GlClearColour(colour);
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
  glClear(GL_COLOR_BUFFER_BIT);
  return true;
}

bool GlDevice::BeginScene() {
  if (!Device() || in_scene_) return false;
  in_scene_ = true;
  return true;
}

bool GlDevice::SetTexture(std::uint32_t stage, Texture3D texture) {
  if (!Device() || stage != 0) return false;
  if (texture == Texture3D::kNone) {
    glDisable(GL_TEXTURE_2D);
    bound_texture_ = 0;
    return true;
  }
  const GLuint name = textures_.Name(texture);
  if (name == 0) return false;
  glBindTexture(GL_TEXTURE_2D, name);
  glEnable(GL_TEXTURE_2D);
  bound_texture_ = name;
  return true;
}

bool GlDevice::SetStreamSource(std::uint32_t stream, VertexBuffer3D buffer, std::uint32_t stride) {
  const auto index = static_cast<std::size_t>(buffer);
  if (!Device() || stream != 0 || index < 1 || index > buffers_.size() || stride == 0) {
    return false;
  }
  stream_ = &buffers_[index - 1];
  stride_ = stride;
  return true;
}

bool GlDevice::DrawPrimitive(std::uint32_t primitive_type, std::uint32_t start_vertex,
                             std::uint32_t primitive_count) {
  const std::optional<int> vertices = GlStripVertexCount(primitive_type, primitive_count);
  if (!Device() || !vertices || !stream_ || !layout_ || stride_ < std::uint32_t(layout_->stride) ||
      (std::uint64_t{start_vertex} + static_cast<std::uint64_t>(*vertices)) * stride_ >
          stream_->size() ||
      !RefreshSize()) {
    return false;
  }
  ApplyViewport();
  SetMatrices(GL_PROJECTION, GlProjection(projection_, CurrentViewport()));
  SetMatrices(GL_MODELVIEW, GlModelView(world_, view_));

  const unsigned char* base = stream_->data();
  const auto stride = static_cast<GLsizei>(stride_);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, stride, base + layout_->position);
  SetArray(GL_COLOR_ARRAY, layout_->colour >= 0);
  if (layout_->colour >= 0) {
    glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, stride, base + layout_->colour);
  } else {
    glColor4f(1, 1, 1, 1);  // Direct3D's diffuse colour when a vertex has none
  }
  SetArray(GL_TEXTURE_COORD_ARRAY, layout_->texture >= 0);
  if (layout_->texture >= 0) glTexCoordPointer(2, GL_FLOAT, stride, base + layout_->texture);
  glDrawArrays(GL_TRIANGLE_STRIP, static_cast<GLint>(start_vertex), *vertices);
  return true;
}

bool GlDevice::EndScene() {
  if (!Device() || !in_scene_) return false;
  in_scene_ = false;
  return true;
}

bool GlDevice::Present() {
  if (!Device()) return false;
  if (show_fps_) {
    frame_rate_.FramePresented(NowMilliseconds());
    DrawFrameRate();
  }
  surface_.Present();
  size_known_ = false;
  return true;
}

void GlDevice::ReleaseDevice() {
  font_.reset();
  textures_.clear();
  surface_.ReleaseContext();
  context_ = false;
  buffers_.clear();
  stream_ = nullptr;
  layout_.reset();
  in_scene_ = false;
  lost_ = false;
  bound_texture_ = 0;
  font_tried_ = false;
}

void GlDevice::ReleaseDirect3D() { direct3d_ = false; }

void GlDevice::ReleaseRoot() { root_ = false; }

bool GlDevice::RefreshSize() {
  if (lost_) return false;
  if (size_known_) return true;
  const std::optional<SurfaceSize> size = surface_.Size();
  if (!size) {
    lost_ = true;  // the window is gone: every later call fails
    return false;
  }
  width_ = size->width;
  height_ = size->height;
  size_known_ = true;
  return true;
}

Viewport3D GlDevice::CurrentViewport() const {
  return viewport_ ? *viewport_ : WholeDrawable(width_, height_);
}

void GlDevice::ApplyViewport() {
  const GlRect rect = GlViewportRect(CurrentViewport(), height_);
  glViewport(rect.x, rect.y, rect.width, rect.height);
  glScissor(rect.x, rect.y, rect.width, rect.height);
}

void GlDevice::DrawFrameRate() {
  if (!font_ && !font_tried_) {
    font_tried_ = true;
    if (!font_.Load(surface_)) font_.reset();
  }
  if (!font_) return;
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_VIEWPORT_BIT | GL_SCISSOR_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glViewport(0, 0, width_, height_);
  glScissor(0, 0, width_, height_);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width_, 0, height_, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const int x = kFrameRateMargin;
  const int y = kFrameRateMargin + font_.Descent();
  // A dark shadow keeps the text readable on the pale clear colour and on the night sky alike.
  glColor3f(0, 0, 0);
  glRasterPos2i(x + 1, y - 1);
  font_.Draw(frame_rate_.Text());
  glColor3f(1, 1, 0);
  glRasterPos2i(x, y);
  font_.Draw(frame_rate_.Text());
  glPopAttrib();
}

}  // namespace tolvenar::gl
