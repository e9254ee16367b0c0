#pragma once
// Owners of Xlib's handles, on the shared owning template: memory Xlib hands out, and the server's
// resources, freed through the display connection they belong to.
#include <X11/Xlib.h>

#include "runtime/unique_resource.h"

namespace tolvenar::linux_port {

struct FreeXMemory {
  void operator()(void* memory) const { XFree(memory); }
};
// A list or structure Xlib allocated (visuals, frame-buffer configurations, properties).
template <typename T>
using XMemory = UniqueResource<T*, FreeXMemory>;

struct CloseDisplay {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
// A connection to an X server.
using UniqueDisplay = UniqueResource<Display*, CloseDisplay>;

// Frees a server resource with Free{}(display, handle), keeping the display it belongs to.
template <typename Free>
struct FreeOnDisplay {
  Display* display = nullptr;
  template <typename Handle>
  void operator()(Handle handle) const {
    Free{}(display, handle);
  }
};

// A resource of an X display, freed with the object while the display is still open.
template <typename Handle, typename Free>
class DisplayResource : public UniqueResource<Handle, FreeOnDisplay<Free>> {
 public:
  DisplayResource() = default;
  DisplayResource(Display* display, Handle handle)
      : UniqueResource<Handle, FreeOnDisplay<Free>>(handle, FreeOnDisplay<Free>{display}) {}
};

struct DestroyWindow {
  void operator()(Display* display, Window window) const { XDestroyWindow(display, window); }
};
struct FreeColormap {
  void operator()(Display* display, Colormap colormap) const { XFreeColormap(display, colormap); }
};
struct FreeGc {
  void operator()(Display* display, GC gc) const { XFreeGC(display, gc); }
};
using UniqueWindow = DisplayResource<Window, DestroyWindow>;
using UniqueColormap = DisplayResource<Colormap, FreeColormap>;
using UniqueGc = DisplayResource<GC, FreeGc>;

}  // namespace tolvenar::linux_port
