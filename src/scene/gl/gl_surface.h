#pragma once
// What the GL device (scene/gl/gl_device.h) draws on: a window system's GL context on one
// window, GLX on X11 today. The surface makes the window system's calls and the device every GL
// call but the few a surface needs to make its context's font.
#include <epoxy/gl.h>

#include <optional>

namespace tolvenar::gl {

struct SurfaceSize {
  int width = 0;
  int height = 0;
};

// Display lists of a bitmap font, one per character from the first asked for; the device deletes
// them with its context.
struct FontLists {
  GLuint base = 0;
  int descent = 0;        // pixels below the baseline
  int blank_advance = 0;  // a blank's advance, which its list does not make
};

class GlSurface {
 public:
  virtual ~GlSurface() = default;

  // Whether the window system offers GL at all.
  virtual bool Available() = 0;
  // Whether it offers a version this surface can make its context with.
  virtual bool VersionSupported() = 0;
  // Makes a context drawing into the window, current on this thread, with the swap interval the
  // user asked for; false when it cannot.
  virtual bool MakeContext() = 0;
  // Frees the context and whatever it drew into, if any, and writes the benchmark's figures; the
  // device has freed its GL objects before.
  virtual void ReleaseContext() = 0;
  // The window's size now, a drawable of the surface's own kept at it; nullopt once the window
  // has gone away.
  virtual std::optional<SurfaceSize> Size() = 0;
  // Shows the frame drawn and counts it for the benchmark.
  virtual void Present() = 0;
  // `count` lists of a small fixed-width font's characters from `first`, made in the current
  // context; nullopt when the surface has no font to offer.
  virtual std::optional<FontLists> MakeFont(int first, int count) = 0;
};

}  // namespace tolvenar::gl
