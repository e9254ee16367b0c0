#pragma once
// A scene that draws nothing: the window shows its background colour. Like the full scene it
// needs the six face bitmap files, so an unwritable program directory still ends the saver at once.
#include <chrono>
#include <string>
#include <thread>

#include "runtime/process.h"
#include "scene/saver_window.h"
#include "scene/scene.h"

namespace tolvenar {

class NullScene final : public Scene {
 public:
  explicit NullScene(Process& process) : process_(process) {}
  // True when the six face bitmap files can be read.
  bool Initialize() override {
    const std::string folder = process_.ProgramDirectory();
    for (int i = 1; i <= kFacePictureCount; ++i) {
      if (!process_.CanOpenForReading(FacePictureFile(folder, i))) return false;
    }
    return true;
  }
  // Presenting a frame waits for the display's retrace; drawing nothing, wait as long so that the
  // main loop does not spin.
  void Render() override { std::this_thread::sleep_for(std::chrono::milliseconds(16)); }
  void Release() override {}
  DriftState& Drift() override { return drift_; }

 private:
  Process& process_;
  DriftState drift_;
};

}  // namespace tolvenar
