#pragma once
// The saver window Tolvenar_S: its load handler runs the whole saver (pictures written, music
// started, window shown, drift seeded, scene initialized, main loop); its close handlers undo it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "music/music.h"
#include "runtime/desktop.h"
#include "runtime/embedded_data.h"
#include "runtime/process.h"
#include "runtime/randomness.h"
#include "runtime/settings_record.h"
#include "scene/cube_faces.h"
#include "scene/frame_clock.h"
#include "scene/saver_window_host.h"
#include "scene/scene.h"

namespace tolvenar {

// The saver window's title (Tolvenar_S), by which a second start recognises a running saver.
inline constexpr std::string_view kSaverWindowTitle = "Tolvenar_Main";
inline constexpr std::uint32_t kTimer1IntervalMs = 1000;  // restarts an MP3 that has ended
inline constexpr std::uint32_t kTimer2IntervalMs = 200;   // watches the audio CD

// Embedded face picture `index` (1 to 6): "FACE1" .. "FACE6".
std::string FacePictureName(int index);
// A run that writes its face pictures to the temporary folder writes them into a folder of its
// own there: this prefix and the process's identifier in decimal.
inline constexpr std::string_view kOwnFolderPrefix = "Tolvenar-";
// The process identifier of such a folder's name; nothing for any other name.
std::optional<std::uint32_t> ProcessIdOfFolder(std::string_view name);
// The last three characters of the music file, upper-cased: "MP3", "WAV" or anything else.
std::string MusicFileEnding(std::string_view music_file);

struct SaverWindowServices {
  SaverWindowHost& window;
  Scene& scene;
  Music& music;
  Process& process;
  Desktop& desktop;
  EmbeddedData& embedded;
  Randomness& randomness;
  FrameClock& clock;  // the one the window's event pass waits on
};

class SaverWindow final : public SaverWindowEvents {
 public:
  // `settings` is only read; `cursor_show_result` holds the display count start-up got when it
  // hid the pointer and receives the count of showing it again. The main loop draws at most
  // `max_fps` frames a second (0: as many as the device allows).
  SaverWindow(const SaverWindowServices& services, const SettingsRecord& settings,
              std::int32_t& cursor_show_result, std::uint32_t max_fps)
      : s_(services),
        settings_(settings),
        cursor_show_result_(cursor_show_result),
        max_fps_(max_fps) {}
  SaverWindow(const SaverWindow&) = delete;
  SaverWindow& operator=(const SaverWindow&) = delete;

  // The whole saver run; ends the process at its end (returns only where ending is faked).
  void Form_Load();

  void Form_KeyDown() override;
  void Form_MouseDown() override;
  void Form_QueryUnload() override;
  void Form_Unload() override;
  void Timer1_Timer() override;
  void Timer2_Timer() override;

  bool Running() const { return running_; }
  bool Timer1Enabled() const { return timer1_enabled_; }
  bool Timer2Enabled() const { return timer2_enabled_; }

 private:
  void WriteFacePictures();
  // False at the first picture that cannot be written.
  bool WriteFacePicturesTo(const std::string& folder);
  // Removes the six pictures (and the folder, when it is the run's own).
  void RemoveFacePictures();
  // Removes the folders and pictures dead runs left in the temporary folder.
  void RemoveLeftoverFolders(const std::string& temporary);
  void SetTimer1Enabled(bool enabled);
  void SetTimer2Enabled(bool enabled);

  SaverWindowServices s_;
  const SettingsRecord& settings_;
  std::int32_t& cursor_show_result_;
  std::uint32_t max_fps_;
  std::string picture_folder_;  // where the face pictures were written, once they were
  bool in_own_folder_ = false;  // picture_folder_ was made for this run in the temporary folder
  bool running_ = false;
  bool unloaded_ = false;
  bool timer1_enabled_ = false;
  bool timer2_enabled_ = false;
};

}  // namespace tolvenar
