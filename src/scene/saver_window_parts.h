#pragma once
// What every platform's saver window is handed where the program is put together: the services
// of the core saver window besides the platform's own window, clock and scene.
#include <cstdint>
#include <stdexcept>

#include "music/music.h"
#include "runtime/desktop.h"
#include "runtime/embedded_data.h"
#include "runtime/process.h"
#include "runtime/randomness.h"
#include "runtime/settings_record.h"
#include "scene/frame_clock.h"
#include "scene/saver_window.h"
#include "scene/saver_window_host.h"
#include "scene/scene.h"

namespace tolvenar {

// Filled field by field, by name; every pointer must be set.
struct SaverWindowParts {
  Music* music = nullptr;
  Process* process = nullptr;
  Desktop* desktop = nullptr;
  EmbeddedData* embedded = nullptr;
  Randomness* randomness = nullptr;
  const SettingsRecord* settings = nullptr;
  std::int32_t* cursor_show_result = nullptr;
  std::uint32_t max_fps = 0;  // frames a second at most; 0: no limit
};

// The core saver window over `parts` on the platform's `window`, `scene` and `clock`. A part left
// unset is a fault of the program's wiring, said at once rather than met later as a null.
inline SaverWindow MakeSaverWindow(const SaverWindowParts& parts, SaverWindowHost& window,
                                   Scene& scene, FrameClock& clock) {
  if (!parts.music || !parts.process || !parts.desktop || !parts.embedded || !parts.randomness ||
      !parts.settings || !parts.cursor_show_result) {
    throw std::logic_error("the saver window was handed an incomplete set of parts");
  }
  return SaverWindow({window, scene, *parts.music, *parts.process, *parts.desktop, *parts.embedded,
                      *parts.randomness, clock},
                     *parts.settings, *parts.cursor_show_result, parts.max_fps);
}

}  // namespace tolvenar
