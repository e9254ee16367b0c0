#pragma once
// The settings record, its INI file beside the program, and the path helpers of the start-up
// module.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/process.h"
#include "runtime/settings_record.h"
#include "runtime/profile_file.h"

namespace tolvenar {

// The INI file is written in code page 932 (Shift-JIS); these are the exact bytes of its names.
inline constexpr std::string_view kIniFileName = "Tolvenar.ini";
inline constexpr std::string_view kIniSection = "Section";
inline constexpr std::string_view kKeyMusicKind = "BGM\x8B\xE6\x95\xAA";        // BGM区分
inline constexpr std::string_view kKeyRepeatTrack = "BGM\xD8\xCB\xDF\xB0\xC4";  // BGMﾘﾋﾟｰﾄ
inline constexpr std::string_view kKeyMusicFile = "BGM\xCC\xA7\xB2\xD9";        // BGMﾌｧｲﾙ

// The profile functions are given a 256-byte buffer: values come back cut to 255 bytes.
inline constexpr std::size_t kIniValueBufferSize = 256;
// Section and key names are copied into 128-character buffers before a write.
inline constexpr std::size_t kIniNameBufferSize = 128;

// program directory + "\Tolvenar.ini" (a drive root gives two separators, which the platform
// accepts).
std::string IniFilePath(const std::string& program_directory);

// The folder part of a path: up to its last ":" or "\" character, without one trailing "\". The
// path is code page 932 text, so the second byte of 表 (95 5C) is no separator.
std::string GetFolderOfPath(std::string_view path);

class SettingsStore {
 public:
  SettingsStore(ProfileFile& profile, Process& process) : profile_(profile), process_(process) {}

  // One value; a missing file, section or key gives the empty text.
  std::string ReadIniString(std::string_view section, std::string_view key,
                            const std::string& ini_file);
  // One value; the result is not reported.
  void WriteIniString(std::string_view section, std::string_view key, const std::string& value,
                      const std::string& ini_file);
  // Fills the record from the INI file in the program directory.
  void LoadSettings(SettingsRecord& record);
  // True when the path, less one trailing "\" character (not the second byte of 表), can be
  // opened for reading.
  bool FileExists(std::string_view path);

  std::string IniFile() { return IniFilePath(process_.ProgramDirectory()); }

 private:
  void LoadInteger(std::string_view key, std::int16_t& field, const std::string& ini_file);

  ProfileFile& profile_;
  Process& process_;
};

}  // namespace tolvenar
