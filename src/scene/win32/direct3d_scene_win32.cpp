#include "scene/win32/direct3d_scene_win32.h"

#include <optional>
#include <utility>
#include <vector>

#include "scene/direct3d_scene.h"
#include "scene/win32/device_warm_up.h"
#include "scene/win32/graphics3d_win32.h"

namespace tolvenar {

namespace {

// The scene together with the device it draws with; the device goes last.
class Win32Scene final : public ForwardingScene {
 public:
  Win32Scene(HWND window, Randomness& randomness, bool warm_up)
      : ForwardingScene(scene_),
        graphics_(window, warm_up ? &warm_up_.emplace() : nullptr),
        scene_(graphics_, randomness) {}

 private:
  std::optional<win32::DeviceWarmUp> warm_up_;  // first: outlives what it hands over
  win32::Win32Graphics3D graphics_;
  Direct3DScene scene_;
};

}  // namespace

std::unique_ptr<Scene> CreateDirect3DScene(HWND window, Randomness& randomness, bool warm_up) {
  return std::make_unique<Win32Scene>(window, randomness, warm_up);
}

}  // namespace tolvenar
