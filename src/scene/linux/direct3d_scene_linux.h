#pragma once
// The saver's scene on OpenGL over GLX, drawn into the given window: the host's (a screen saver
// daemon's, a preview's) or the program's own.
#include <X11/Xlib.h>

#include <memory>

#include "runtime/process.h"
#include "runtime/randomness.h"
#include "scene/scene.h"

namespace tolvenar::linux_port {

// Whether the display's server offers OpenGL through GLX at all (some remote and VNC servers do
// not); without it no scene can be drawn there.
bool DisplayHasOpenGl(Display* display);

// The face pictures are read through `process`. With show_fps each frame carries the frame rate
// in its lower-left corner. The display's owner installs an X error handler that records instead
// of exiting (see graphics3d_linux.h) before the scene is initialized.
std::unique_ptr<Scene> CreateGlScene(Display* display, Window window, Process& process,
                                     Randomness& randomness, bool show_fps = false);

}  // namespace tolvenar::linux_port
