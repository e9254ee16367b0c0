#pragma once
// The settings record, its INI file (beside the program, or the user's own copy), and the path
// helpers of the start-up module.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/process.h"
#include "runtime/settings_record.h"
#include "runtime/profile_file.h"

namespace tolvenar {

// The INI file is written in code page 932 (Shift-JIS); these are the exact bytes of its names.
inline constexpr std::string_view kIniFileName = "Tolvenar.ini";
// The folder of the user's own copy, under the local application data folder.
inline constexpr std::string_view kUserIniFolderName = "Tolvenar";
// The user's copy is written under its name plus this, then renamed into place.
inline constexpr std::string_view kPartialCopySuffix = ".new";
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
  // One value; the result is not reported. A write the file beside the program refuses goes to the
  // user's own copy, made first from that file's bytes, and so does every later write to it.
  void WriteIniString(std::string_view section, std::string_view key, const std::string& value,
                      const std::string& ini_file);
  // Fills the record from the INI file in the program directory.
  void LoadSettings(SettingsRecord& record);
  // True when the path, less one trailing "\" character (not the second byte of 表), can be
  // opened for reading.
  bool FileExists(std::string_view path);

  // The INI file to read and write: the user's own copy when it exists, else the file beside
  // the program.
  std::string IniFile();
  // local application data + "\Tolvenar\Tolvenar.ini"; empty when the platform names no such
  // folder.
  std::string UserIniFile();

 private:
  void LoadInteger(std::string_view key, std::int16_t& field, const std::string& ini_file);
  // Copies the file beside the program (a missing one gives an empty file) to the user's copy;
  // false, with no copy, when it cannot be read or the copy cannot be written whole.
  bool MakeUserCopy(const std::string& program_ini, const std::string& user_ini,
                    bool program_ini_missing);

  ProfileFile& profile_;
  Process& process_;
  bool writes_go_to_user_copy_ = false;  // the file beside the program refused a write
};

}  // namespace tolvenar
