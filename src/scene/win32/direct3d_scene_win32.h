#pragma once
// The saver's scene on the platform's Direct3D 8, drawn into the given full-screen window.
#include <windows.h>

#include <memory>
#include <string>

#include "runtime/randomness.h"
#include "scene/scene.h"

namespace tolvenar {

// With warm_up, the Direct3D object is made at once on a thread of its own (device_warm_up.h),
// so the window must exist by then.
std::unique_ptr<Scene> CreateDirect3DScene(HWND window, Randomness& randomness,
                                           bool warm_up = true);

}  // namespace tolvenar
