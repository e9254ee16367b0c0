#pragma once
// The saver's scene on OpenGL over EGL, drawn on a Wayland canvas: one scene for every output.
#include <memory>

#include "runtime/process.h"
#include "runtime/randomness.h"
#include "scene/linux/saver_window_wayland.h"
#include "scene/scene.h"

namespace tolvenar::linux_port {

// Whether the compositor's connection offers desktop OpenGL through EGL; without it no scene can
// be drawn there.
bool WaylandOffersOpenGl(wl_display* display);

// The face pictures are read through `process`. With show_fps each frame carries the frame rate
// in its lower-left corner.
std::unique_ptr<Scene> CreateEglScene(WaylandCanvas& canvas, Process& process,
                                      Randomness& randomness, bool show_fps = false);

}  // namespace tolvenar::linux_port
