#pragma once
// The one frame of the scene that the Windows build renders under Wine and the Linux build
// renders on GL, compared pixel by pixel: a fixed size, a fixed turn of the box and a fixed view
// with two edges and a corner of the box in sight.
#include "scene/direct3d_scene.h"

namespace tolvenar::testing {

inline constexpr int kReferenceWidth = 320;
inline constexpr int kReferenceHeight = 240;

// Makes the scene's next Render draw the reference frame (the angle advances once, the drift
// adds no step).
inline void SetReferenceFrame(Direct3DScene& scene) {
  scene.SetWorldAngle(0.5f);
  DriftState& drift = scene.Drift();
  drift.DriftFrames = 0;
  drift.ViewYaw = 0.3f;
  drift.ViewPitch = 0.45f;
  drift.YawStep = 0;
  drift.PitchStep = 0;
}

}  // namespace tolvenar::testing
