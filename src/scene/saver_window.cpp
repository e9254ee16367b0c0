#include "scene/saver_window.h"

#include <optional>

#include "runtime/code_page_932.h"
#include "runtime/command_line.h"
#include "runtime/conversions.h"
#include "runtime/picture.h"
#include "scene/frame_pacing.h"
#include "scene/monitors.h"

namespace tolvenar {

std::string FacePictureName(int index) { return "FACE" + std::to_string(index); }

std::optional<std::uint32_t> ProcessIdOfFolder(std::string_view name) {
  if (name.substr(0, kOwnFolderPrefix.size()) != kOwnFolderPrefix) return std::nullopt;
  return ParseDigits32(name.substr(kOwnFolderPrefix.size()));
}

std::string MusicFileEnding(std::string_view music_file) {
  return UpperCase(LastChars(music_file, 3));
}

void SaverWindow::Form_Load() {
  // 1. Cover every monitor: size first, then move; the scene learns where each monitor lies.
  const std::vector<PixelRect> monitors = s_.window.GetMonitors();
  const PixelRect screen = BoundingRect(monitors);
  s_.window.SetSize(screen.right - screen.left, screen.bottom - screen.top);
  s_.window.Move(screen.left, screen.top);
  s_.scene.SetMonitors(RelativeTo(monitors, {screen.left, screen.top}));

  // 2. The six face pictures as bitmap files, for the scene to load.
  WriteFacePictures();

  // 3 and 4. The music starts before the window is shown.
  if (settings_.MusicKind == 1) {
    s_.music.OpenCdAudio();
    SetTimer2Enabled(true);
  }
  if (settings_.MusicKind == 2) {
    const std::string ending = MusicFileEnding(settings_.MusicFile);
    if (ending == "WAV") s_.music.PlayWaveSound();
    if (ending == "MP3") {
      s_.music.PlayMusicFile();
      SetTimer1Enabled(true);
    }
  }

  // 5.
  s_.window.ShowNormal();

  // 6 and 7. The drift starts from a level view with fresh random steps.
  DriftState& drift = s_.scene.Drift();
  drift.DriftFrames = 0;
  drift.ViewYaw = 0;
  drift.ViewPitch = 0;
  DrawDriftSteps(s_.randomness, drift);

  // 8. A window closed meanwhile (while being shown or initialized) has nothing left to draw on.
  // The build takes a while: a log-off meanwhile is answered between its steps, so the window
  // closes and removes its pictures before the system ends the process.
  const bool initialized = !picture_folder_.empty() && s_.scene.Initialize(picture_folder_, [this] {
    s_.window.ServeRequests();
    return !unloaded_;
  });
  running_ = initialized && !unloaded_;

  // 9. Input and timer handlers run inside the event pass, which also waits until the next frame
  // is due (the turn per frame is fixed, so the limit also keeps the box's speed); a close clears
  // running_.
  FramePacer pacer(s_.clock, max_fps_);
  while (running_) {
    s_.scene.Render();
    s_.window.ProcessEvents(pacer.NextFrameDue());
  }

  // 10. Closing an already closed window does nothing.
  s_.scene.Release();
  s_.window.Close();
  s_.window.EndProcess();
}

void SaverWindow::WriteFacePictures() {
  // Beside the program; where the user may not write there (an installed saver often sits in the
  // system folder), all six go to the user's temporary folder instead, none left behind.
  picture_folder_ = s_.process.ProgramDirectory();
  if (WriteFacePicturesTo(picture_folder_)) return;
  RemoveFacePictures();
  picture_folder_.clear();
  // Without a temporary folder there is nowhere to go (an empty name would be a drive's root).
  const std::string temporary = s_.process.TemporaryDirectory();
  if (temporary.empty()) return;
  // Every run of the user's, in any session, shares that folder: each writes into a folder of
  // its own, named by its process, and removes those of runs that ended without removing theirs.
  RemoveLeftoverFolders(temporary);
  const std::string own =
      temporary + "\\" + std::string(kOwnFolderPrefix) + std::to_string(s_.process.ProcessId());
  if (!s_.process.CreateFolder(own)) return;
  picture_folder_ = own;
  in_own_folder_ = true;
  WriteFacePicturesTo(picture_folder_);
}

void SaverWindow::RemoveLeftoverFolders(const std::string& temporary) {
  const std::string parent = temporary + "\\";
  for (const std::string& name : s_.process.FolderNames(temporary, std::string(kOwnFolderPrefix))) {
    const std::optional<std::uint32_t> id = ProcessIdOfFolder(name);
    if (!id || *id == s_.process.ProcessId() || s_.process.ProcessIsRunning(*id)) continue;
    const std::string folder = parent + name;
    for (int i = 1; i <= kFaceCount; ++i) s_.process.RemoveFile(FacePictureFile(folder, i));
    s_.process.RemoveFolder(folder);
  }
}

bool SaverWindow::WriteFacePicturesTo(const std::string& folder) {
  for (int i = 1; i <= kFaceCount; ++i) {
    const std::optional<Picture> picture = DecodePicture(s_.embedded.Bytes(FacePictureName(i)));
    if (!picture) continue;
    if (!s_.process.WriteWholeFile(FacePictureFile(folder, i), EncodeBmp24(*picture))) return false;
  }
  return true;
}

void SaverWindow::RemoveFacePictures() {
  for (int i = 1; i <= kFaceCount; ++i) s_.process.RemoveFile(FacePictureFile(picture_folder_, i));
  if (in_own_folder_) s_.process.RemoveFolder(picture_folder_);
}

void SaverWindow::Form_KeyDown() {
  running_ = false;
  s_.window.Close();
}

void SaverWindow::Form_MouseDown() {
  running_ = false;
  s_.window.Close();
}

void SaverWindow::Form_QueryUnload() {
  if (timer2_enabled_) {
    SetTimer2Enabled(false);
    s_.music.CloseCdAudio();
  }
  if (settings_.MusicKind == 2) {
    const std::string ending = MusicFileEnding(settings_.MusicFile);
    if (ending == "WAV") s_.music.StopWaveSound();
    if (ending == "MP3") {
      SetTimer1Enabled(false);
      s_.music.StopMusicFile();
    }
  }
  // The count start-up got when hiding the pointer is non-zero (normally -1): this shows it again.
  if (ModeLetter(s_.process.ArgumentText()) == "S") {
    cursor_show_result_ = s_.desktop.ShowCursor(cursor_show_result_);
  }
}

void SaverWindow::Form_Unload() {
  // Whatever closed the window, the main loop must not render on without it.
  running_ = false;
  unloaded_ = true;
  if (!picture_folder_.empty()) RemoveFacePictures();
}

void SaverWindow::Timer1_Timer() {
  if (!timer1_enabled_) return;
  s_.music.RepeatMusicFile();
}

void SaverWindow::Timer2_Timer() {
  if (!timer2_enabled_) return;
  s_.music.WatchCdAudio();
  SetTimer2Enabled(s_.music.CdAudioOk());
}

void SaverWindow::SetTimer1Enabled(bool enabled) {
  if (enabled == timer1_enabled_) return;
  timer1_enabled_ = enabled;
  if (enabled) {
    s_.window.StartTimer(SaverTimer::kTimer1, kTimer1IntervalMs);
  } else {
    s_.window.StopTimer(SaverTimer::kTimer1);
  }
}

void SaverWindow::SetTimer2Enabled(bool enabled) {
  if (enabled == timer2_enabled_) return;
  timer2_enabled_ = enabled;
  if (enabled) {
    s_.window.StartTimer(SaverTimer::kTimer2, kTimer2IntervalMs);
  } else {
    s_.window.StopTimer(SaverTimer::kTimer2);
  }
}

}  // namespace tolvenar
