#include "scene/linux/direct3d_scene_linux.h"

#include <utility>
#include <vector>

#include "scene/direct3d_scene.h"
#include "scene/linux/graphics3d_linux.h"

namespace tolvenar::linux_port {

namespace {

// The scene together with the device it draws with; the device goes last.
class GlScene final : public ForwardingScene {
 public:
  GlScene(Display* display, Window window, Process& process, Randomness& randomness, bool show_fps)
      : ForwardingScene(scene_),
        graphics_(display, window, process, show_fps),
        scene_(graphics_, randomness) {}

 private:
  GlGraphics3D graphics_;
  Direct3DScene scene_;
};

}  // namespace

bool DisplayHasOpenGl(Display* display) {
  int error_base = 0;
  int event_base = 0;
  return glXQueryExtension(display, &error_base, &event_base) != False;
}

std::unique_ptr<Scene> CreateGlScene(Display* display, Window window, Process& process,
                                     Randomness& randomness, bool show_fps) {
  return std::make_unique<GlScene>(display, window, process, randomness, show_fps);
}

}  // namespace tolvenar::linux_port
