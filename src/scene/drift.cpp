#include "scene/scene.h"

namespace tolvenar {

void DrawDriftSteps(Randomness& randomness, DriftState& drift) {
  randomness.Seed(randomness.SecondsSinceMidnight());
  drift.YawStep = randomness.Next() * 10.0f / 1000.0f;
  drift.PitchStep = randomness.Next() * 10.0f / 1000.0f;
}

}  // namespace tolvenar
