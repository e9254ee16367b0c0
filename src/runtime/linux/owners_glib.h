#pragma once
// Owners of GLib's memory and of GObject references, on the shared owning template.
#include <glib-object.h>

#include "runtime/unique_resource.h"

namespace tolvenar::linux_port {

struct FreeGMemory {
  void operator()(gpointer memory) const { g_free(memory); }
};
// A string or buffer GLib allocated for the caller.
template <typename T>
using GMemory = UniqueResource<T*, FreeGMemory>;

struct UnrefObject {
  void operator()(gpointer object) const { g_object_unref(object); }
};
// One reference to a GObject (a widget, a font, a pixbuf), dropped once.
template <typename T>
using GObjectRef = UniqueResource<T*, UnrefObject>;

}  // namespace tolvenar::linux_port
