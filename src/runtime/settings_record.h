#pragma once
// The settings record: the program's one shared copy of the music settings, loaded from the INI
// file at start-up, changed by the settings dialog, read by the saver and the music players.
#include <cstdint>
#include <string>

namespace tolvenar {

struct SettingsRecord {
  std::int16_t MusicKind = 0;    // 0 none, 1 audio CD, 2 music file; other values play nothing
  std::int16_t RepeatTrack = 0;  // CD track played over and over; 0 for none
  std::string MusicFile;         // full path (ANSI bytes) or empty
  std::string MusicFolder;       // not stored: where the file chooser starts
};

}  // namespace tolvenar
