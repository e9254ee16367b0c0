#pragma once
// Owners of Wayland's client objects and EGL's, on the shared owning template.
#include <wayland-client.h>
#include <wayland-egl.h>

#include "runtime/unique_resource.h"

namespace tolvenar::linux_port {

struct DisconnectWayland {
  void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
using UniqueWaylandDisplay = UniqueResource<wl_display*, DisconnectWayland>;

// A protocol object, ended by its interface's destroy request (or, where the interface has none,
// by forgetting the proxy).
template <typename Object, void (*kDestroy)(Object*)>
struct DestroyWaylandObject {
  void operator()(Object* object) const { kDestroy(object); }
};
template <typename Object, void (*kDestroy)(Object*)>
using WaylandObject = UniqueResource<Object*, DestroyWaylandObject<Object, kDestroy>>;

struct DestroyEglWindow {
  void operator()(wl_egl_window* window) const { wl_egl_window_destroy(window); }
};
using UniqueEglWindow = UniqueResource<wl_egl_window*, DestroyEglWindow>;

}  // namespace tolvenar::linux_port
