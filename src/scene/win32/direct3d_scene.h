#pragma once
// The saver's scene on the platform's Direct3D 8, drawn into the given full-screen window.
#include <windows.h>

#include <memory>
#include <string>

#include "runtime/randomness.h"
#include "scene/scene.h"

namespace tolvenar {

// The scene reads the face pictures from program_directory + "\Tolvenar<k>.bmp" at Initialize.
std::unique_ptr<tolvenar::Scene> CreateDirect3DScene(HWND window,
                                                     const std::string& program_directory,
                                                     tolvenar::Randomness& randomness);

}  // namespace tolvenar
