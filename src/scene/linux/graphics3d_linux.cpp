#include "scene/linux/graphics3d_linux.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "runtime/picture.h"
#include "scene/direct3d_values.h"
#include "scene/texels.h"

namespace tolvenar::linux_port {

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

int Attribute(Display* display, GLXFBConfig config, int attribute) {
  int value = 0;
  glXGetFBConfigAttrib(display, config, attribute, &value);
  return value;
}

FrameBufferCandidate CandidateOf(Display* display, GLXFBConfig config) {
  FrameBufferCandidate c;
  c.visual_id = static_cast<std::uint32_t>(Attribute(display, config, GLX_VISUAL_ID));
  const XMemory<XVisualInfo> visual(glXGetVisualFromFBConfig(display, config));
  c.visual_depth = visual ? visual->depth : 0;
  c.double_buffered = Attribute(display, config, GLX_DOUBLEBUFFER) != 0;
  c.red = Attribute(display, config, GLX_RED_SIZE);
  c.green = Attribute(display, config, GLX_GREEN_SIZE);
  c.blue = Attribute(display, config, GLX_BLUE_SIZE);
  c.alpha = Attribute(display, config, GLX_ALPHA_SIZE);
  c.depth = Attribute(display, config, GLX_DEPTH_SIZE);
  c.stencil = Attribute(display, config, GLX_STENCIL_SIZE);
  return c;
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

void DestroyContext::operator()(Display* display, GLXContext context) const {
  if (glXGetCurrentContext() == context) glXMakeContextCurrent(display, None, None, nullptr);
  glXDestroyContext(display, context);
}

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

bool GlFont::Load(Display* display, const char* name) {
  reset();
  font_ = XLoadQueryFont(display, name);
  if (!font_) return false;
  display_ = display;
  descent_ = font_->descent;
  blank_advance_ = XTextWidth(font_, " ", 1);
  base_ = glGenLists(kFontCount);
  if (base_ == 0) return false;
  glXUseXFont(font_->fid, kFontFirst, kFontCount, static_cast<int>(base_));
  return true;
}

void GlFont::reset() {
  if (base_ != 0) glDeleteLists(base_, kFontCount);
  base_ = 0;
  if (font_) XFreeFont(display_, font_);
  font_ = nullptr;
}

void GlFont::Draw(const std::string& text) const {
  glListBase(base_ - kFontFirst);
  // The list made for a blank glyph does not move the raster position: each blank moves it by the
  // font's advance by hand.
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t blank = std::min(text.find(' ', start), text.size());
    glCallLists(static_cast<GLsizei>(blank - start), GL_UNSIGNED_BYTE, text.data() + start);
    if (blank == text.size()) break;
    glBitmap(0, 0, 0, 0, static_cast<GLfloat>(blank_advance_), 0, nullptr);
    start = blank + 1;
  }
}

GlGraphics3D::GlGraphics3D(Display* display, Window window, Process& process, bool show_fps)
    : display_(display),
      target_(window),
      process_(process),
      show_fps_(show_fps),
      world_(Identity()),
      view_(Identity()),
      projection_(Identity()) {}

GlGraphics3D::~GlGraphics3D() { ReleaseDevice(); }

bool GlGraphics3D::CreateRoot() {
  root_ = epoxy_has_glx(display_);
  return root_;
}

bool GlGraphics3D::CreateDirect3D() {
  int major = 0;
  int minor = 0;
  direct3d_ = root_ && glXQueryVersion(display_, &major, &minor) &&
              (major > 1 || (major == 1 && minor >= 3));
  return direct3d_;
}

// The back buffer always takes the window's visual, so the format only has to be one the scene
// can hand back unchanged.
bool GlGraphics3D::GetAdapterDisplayModeFormat(std::uint32_t adapter, std::uint32_t& format) {
  if (!direct3d_ || adapter != 0) return false;
  format = kFormatX8R8G8B8;
  return true;
}

bool GlGraphics3D::CreateDevice(std::uint32_t adapter, std::uint32_t, std::uint32_t,
                                const PresentParameters&) {
  if (!direct3d_ || adapter != 0 || context_) return false;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, target_, &attributes)) return false;
  const int screen = XScreenNumberOfScreen(attributes.screen);

  const int wanted[] = {GLX_DRAWABLE_TYPE,
                        GLX_WINDOW_BIT,
                        GLX_RENDER_TYPE,
                        GLX_RGBA_BIT,
                        GLX_X_RENDERABLE,
                        True,
                        GLX_DOUBLEBUFFER,
                        True,
                        None};
  int count = 0;
  const XMemory<GLXFBConfig> configs(glXChooseFBConfig(display_, screen, wanted, &count));
  if (!configs) return false;
  std::vector<FrameBufferCandidate> candidates;
  candidates.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) candidates.push_back(CandidateOf(display_, configs.get()[i]));
  const std::optional<FrameBufferChoice> choice = ChooseFrameBuffer(
      candidates, static_cast<std::uint32_t>(XVisualIDFromVisual(attributes.visual)));
  if (!choice) return false;
  GLXFBConfig config = configs.get()[choice->index];

  drawable_ = target_;
  if (choice->own_window) {
    const XMemory<XVisualInfo> visual(glXGetVisualFromFBConfig(display_, config));
    if (!visual) return false;
    colormap_ = UniqueColormap(display_, XCreateColormap(display_, RootWindow(display_, screen),
                                                         visual->visual, AllocNone));
    XSetWindowAttributes set{};
    set.colormap = colormap_.get();
    set.border_pixel = 0;
    set.background_pixmap = None;
    // No input selected: the host's window keeps receiving what happens over the child.
    child_ =
        UniqueWindow(display_, XCreateWindow(display_, target_, 0, 0,
                                             static_cast<unsigned>(std::max(attributes.width, 1)),
                                             static_cast<unsigned>(std::max(attributes.height, 1)),
                                             0, visual->depth, InputOutput, visual->visual,
                                             CWColormap | CWBorderPixel | CWBackPixmap, &set));
    if (!child_) return false;
    XMapWindow(display_, child_.get());
    drawable_ = child_.get();
  }

  context_ =
      GlContext(display_, glXCreateNewContext(display_, config, GLX_RGBA_TYPE, nullptr, True));
  glx_window_ = GlxWindow(display_, glXCreateWindow(display_, config, drawable_, nullptr));
  if (!context_ || !glx_window_ ||
      !glXMakeContextCurrent(display_, glx_window_.get(), glx_window_.get(), context_.get())) {
    ReleaseDevice();
    return false;
  }

  const int interval = SwapInterval(std::getenv("TOLVENAR_SWAP_INTERVAL"));
  if (epoxy_has_glx_extension(display_, screen, "GLX_EXT_swap_control")) {
    glXSwapIntervalEXT(display_, glx_window_.get(), interval);
  } else if (epoxy_has_glx_extension(display_, screen, "GLX_MESA_swap_control")) {
    glXSwapIntervalMESA(static_cast<unsigned>(interval));
  } else if (interval > 0 && epoxy_has_glx_extension(display_, screen, "GLX_SGI_swap_control")) {
    glXSwapIntervalSGI(interval);
  }

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

bool GlGraphics3D::SetVertexShader(std::uint32_t vertex_format) {
  if (!Device()) return false;
  layout_ = GlVertexLayoutOf(vertex_format);
  return layout_.has_value();
}

bool GlGraphics3D::SetRenderState(std::uint32_t state, std::uint32_t value) {
  const std::optional<GlRenderSwitch> s = GlRenderState(state, value);
  return Device() && s && ApplyRenderSwitch(*s);
}

bool GlGraphics3D::ApplyRenderSwitch(const GlRenderSwitch& s) {
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

bool GlGraphics3D::CreateVertexBuffer(std::uint32_t length, std::uint32_t, std::uint32_t,
                                      std::uint32_t, VertexBuffer3D& buffer) {
  if (!Device() || length == 0) return false;
  buffers_.emplace_back(length);
  buffer = static_cast<VertexBuffer3D>(buffers_.size());
  return true;
}

bool GlGraphics3D::SetVertexBufferData(VertexBuffer3D buffer, std::uint32_t offset,
                                       std::uint32_t size, std::uint32_t, const void* data) {
  const auto index = static_cast<std::size_t>(buffer);
  if (index < 1 || index > buffers_.size()) return false;
  std::vector<unsigned char>& bytes = buffers_[index - 1];
  if (std::uint64_t{offset} + size > bytes.size()) return false;
  std::copy_n(static_cast<const unsigned char*>(data), size, bytes.begin() + offset);
  return true;
}

bool GlGraphics3D::SetTransform(std::uint32_t state, const Matrix4& matrix) {
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

bool GlGraphics3D::CreateTextureFromFile(const std::string& path,
                                         const TextureFileArguments& arguments,
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

bool GlGraphics3D::SetViewport(const Viewport3D& viewport) {
  if (!Device()) return false;
  viewport_ = viewport;
  return true;
}

bool GlGraphics3D::Clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t) {
  // No depth or stencil buffer to clear.
  if (!Device() || flags != kClearTarget || !RefreshSize()) return false;
  ApplyViewport();
  const std::array<float, 4> rgba = GlClearColour(colour);
  glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
  glClear(GL_COLOR_BUFFER_BIT);
  return true;
}

bool GlGraphics3D::BeginScene() {
  if (!Device() || in_scene_) return false;
  in_scene_ = true;
  return true;
}

bool GlGraphics3D::SetTexture(std::uint32_t stage, Texture3D texture) {
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

bool GlGraphics3D::SetStreamSource(std::uint32_t stream, VertexBuffer3D buffer,
                                   std::uint32_t stride) {
  const auto index = static_cast<std::size_t>(buffer);
  if (!Device() || stream != 0 || index < 1 || index > buffers_.size() || stride == 0) {
    return false;
  }
  stream_ = &buffers_[index - 1];
  stride_ = stride;
  return true;
}

bool GlGraphics3D::DrawPrimitive(std::uint32_t primitive_type, std::uint32_t start_vertex,
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

bool GlGraphics3D::EndScene() {
  if (!Device() || !in_scene_) return false;
  in_scene_ = false;
  return true;
}

bool GlGraphics3D::Present() {
  if (!Device()) return false;
  if (show_fps_) {
    frame_rate_.FramePresented(NowMilliseconds());
    DrawFrameRate();
  }
  glXSwapBuffers(display_, glx_window_.get());
  statistics_.FramePresented();
  size_known_ = false;
  return true;
}

void GlGraphics3D::ReleaseDevice() {
  statistics_.Write();
  font_.reset();
  textures_.clear();
  context_.reset();
  glx_window_.reset();
  child_.reset();
  colormap_.reset();
  drawable_ = 0;
  buffers_.clear();
  stream_ = nullptr;
  layout_.reset();
  in_scene_ = false;
  lost_ = false;
  bound_texture_ = 0;
  font_tried_ = false;
}

void GlGraphics3D::ReleaseDirect3D() { direct3d_ = false; }

void GlGraphics3D::ReleaseRoot() { root_ = false; }

bool GlGraphics3D::RefreshSize() {
  if (lost_) return false;
  if (size_known_) return true;
  Window root = 0;
  int x = 0;
  int y = 0;
  unsigned width = 0;
  unsigned height = 0;
  unsigned border = 0;
  unsigned depth = 0;
  if (!XGetGeometry(display_, target_, &root, &x, &y, &width, &height, &border, &depth)) {
    lost_ = true;  // the window is gone: every later call fails
    return false;
  }
  if (child_ && (static_cast<int>(width) != width_ || static_cast<int>(height) != height_)) {
    XResizeWindow(display_, child_.get(), std::max(width, 1u), std::max(height, 1u));
  }
  width_ = static_cast<int>(width);
  height_ = static_cast<int>(height);
  size_known_ = true;
  return true;
}

Viewport3D GlGraphics3D::CurrentViewport() const {
  return viewport_ ? *viewport_ : WholeDrawable(width_, height_);
}

void GlGraphics3D::ApplyViewport() {
  const GlRect rect = GlViewportRect(CurrentViewport(), height_);
  glViewport(rect.x, rect.y, rect.width, rect.height);
  glScissor(rect.x, rect.y, rect.width, rect.height);
}

void GlGraphics3D::DrawFrameRate() {
  if (!font_ && !font_tried_) {
    font_tried_ = true;
    if (!font_.Load(display_, "fixed")) font_.reset();
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

}  // namespace tolvenar::linux_port
