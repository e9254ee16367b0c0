#include "scene/linux/glx_surface.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "scene/emulation/gl_conventions.h"

namespace tolvenar::linux_port {

namespace {

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

}  // namespace

void DestroyContext::operator()(Display* display, GLXContext context) const {
  if (glXGetCurrentContext() == context) glXMakeContextCurrent(display, None, None, nullptr);
  glXDestroyContext(display, context);
}

bool GlxSurface::Available() { return epoxy_has_glx(display_); }

bool GlxSurface::VersionSupported() {
  int major = 0;
  int minor = 0;
  return glXQueryVersion(display_, &major, &minor) && (major > 1 || (major == 1 && minor >= 3));
}

bool GlxSurface::MakeContext() {
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
    ReleaseContext();
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

  return true;
}

void GlxSurface::ReleaseContext() {
  statistics_.Write();
  context_.reset();
  glx_window_.reset();
  child_.reset();
  colormap_.reset();
  drawable_ = 0;
}

std::optional<gl::SurfaceSize> GlxSurface::Size() {
  Window root = 0;
  int x = 0;
  int y = 0;
  unsigned width = 0;
  unsigned height = 0;
  unsigned border = 0;
  unsigned depth = 0;
  if (!XGetGeometry(display_, target_, &root, &x, &y, &width, &height, &border, &depth)) {
    return std::nullopt;
  }
  if (child_ && (static_cast<int>(width) != width_ || static_cast<int>(height) != height_)) {
    XResizeWindow(display_, child_.get(), std::max(width, 1u), std::max(height, 1u));
  }
  width_ = static_cast<int>(width);
  height_ = static_cast<int>(height);
  return gl::SurfaceSize{width_, height_};
}

void GlxSurface::Present() {
  glXSwapBuffers(display_, glx_window_.get());
  statistics_.FramePresented();
}

// The server's "fixed" font, freed once its glyphs are in the lists.
std::optional<gl::FontLists> GlxSurface::MakeFont(int first, int count) {
  XFontStruct* font = XLoadQueryFont(display_, "fixed");
  if (!font) return std::nullopt;
  gl::FontLists lists;
  lists.descent = font->descent;
  lists.blank_advance = XTextWidth(font, " ", 1);
  lists.base = glGenLists(count);
  if (lists.base != 0) glXUseXFont(font->fid, first, count, static_cast<int>(lists.base));
  XFreeFont(display_, font);
  if (lists.base == 0) return std::nullopt;
  return lists;
}

}  // namespace tolvenar::linux_port
