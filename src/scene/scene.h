#pragma once
// What the saver window needs of the scene: build it once, draw a frame, release the device
// objects; and the drift fields, which the window seeds when it loads.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/pixel_geometry.h"

#include "runtime/randomness.h"

namespace tolvenar {

struct DriftState {
  std::int16_t DriftFrames = 0;
  float ViewYaw = 0;    // radians
  float ViewPitch = 0;  // radians
  float YawStep = 0;    // radians per frame, in [0, 0.01)
  float PitchStep = 0;  // radians per frame, in [0, 0.01)
};

// Re-seeds the generator from the time of day, then draws YawStep and then PitchStep as
// r * 10 / 1000 in single precision, each from a new uniform r in [0, 1).
void DrawDriftSteps(Randomness& randomness, DriftState& drift);

class Scene {
 public:
  virtual ~Scene() = default;
  // The monitors' rectangles, relative to the window's top-left corner; with more than one, each
  // frame shows the whole picture in each of them. None or one: the window is the one screen.
  virtual void SetMonitors(std::vector<PixelRect> monitors) = 0;
  // Builds the device, the face buffers and the textures, read from the six face picture files in
  // `picture_folder`; false at the first step that fails. `go_on` runs between the steps that take
  // time (the window serves the system's requests there); false from it stops the build as a
  // failing step does.
  virtual bool Initialize(const std::string& picture_folder,
                          const std::function<bool()>& go_on) = 0;
  // Draws and presents one frame; a failing device call ends the frame there.
  virtual void Render() = 0;
  // Releases the device, then the Direct3D object, then the root object.
  virtual void Release() = 0;
  virtual DriftState& Drift() = 0;
};

}  // namespace tolvenar
