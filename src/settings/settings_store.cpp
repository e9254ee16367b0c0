#include "settings/settings_store.h"

#include <cmath>
#include <optional>

#include "runtime/code_page_932.h"
#include "runtime/conversions.h"

namespace tolvenar {

std::string IniFilePath(const std::string& program_directory) {
  return program_directory + "\\" + std::string(kIniFileName);
}

std::string GetFolderOfPath(std::string_view path) {
  const std::size_t last = FindLastChar(path, ":\\");
  if (last == std::string_view::npos) return {};
  // The separator found is a character of its own: dropping it leaves whole characters.
  return std::string(path.substr(0, path[last] == '\\' ? last : last + 1));
}

std::string SettingsStore::ReadIniString(std::string_view section, std::string_view key,
                                         const std::string& ini_file) {
  return profile_.GetString(std::string(section), std::string(key), "", kIniValueBufferSize,
                            ini_file);
}

void SettingsStore::WriteIniString(std::string_view section, std::string_view key,
                                   const std::string& value, const std::string& ini_file) {
  // The names travel through fixed buffers: only their first 127 characters count.
  const std::string section_name(FirstChars(section, kIniNameBufferSize - 1));
  const std::string key_name(FirstChars(key, kIniNameBufferSize - 1));
  const std::string program_ini = IniFilePath(process_.ProgramDirectory());
  const bool to_program_ini = ini_file == program_ini;
  const std::string user_ini = to_program_ini ? UserIniFile() : std::string();
  if (to_program_ini && writes_go_to_user_copy_) {
    profile_.WriteString(section_name, key_name, value, user_ini);
    return;
  }
  if (profile_.WriteString(section_name, key_name, value, ini_file)) return;
  // A folder the user may not write to (an installed saver often sits in the system folder):
  // the change goes to the user's own copy, which keeps everything the old file held. A file
  // another program holds is no such folder: a copy would hide the file for good.
  if (user_ini.empty()) return;
  const WriteAccess access = process_.CheckWriteAccess(program_ini);
  if (access == WriteAccess::kInUse) return;
  if (!MakeUserCopy(program_ini, user_ini, access == WriteAccess::kMissing)) return;
  writes_go_to_user_copy_ = true;
  profile_.WriteString(section_name, key_name, value, user_ini);
}

std::string SettingsStore::IniFile() {
  std::string user_ini = UserIniFile();
  if (!user_ini.empty() && process_.CanOpenForReading(user_ini)) return user_ini;
  return IniFilePath(process_.ProgramDirectory());
}

std::string SettingsStore::UserIniFile() {
  const std::string local = process_.LocalAppDataDirectory();
  if (local.empty()) return {};
  return IniFilePath(local + "\\" + std::string(kUserIniFolderName));
}

bool SettingsStore::MakeUserCopy(const std::string& program_ini, const std::string& user_ini,
                                 bool program_ini_missing) {
  if (!process_.CreateFolder(GetFolderOfPath(user_ini))) return false;
  // A file that cannot be read is not an empty one: copying nothing would reset every setting.
  const std::optional<std::string> bytes =
      program_ini_missing ? std::string() : process_.ReadWholeFile(program_ini);
  if (!bytes) return false;
  // The copy is read in preference to the original as soon as it exists, so it comes into being
  // whole: a short write (a full disk) leaves only the temporary file, which is removed.
  const std::string partial = user_ini + std::string(kPartialCopySuffix);
  if (process_.WriteWholeFile(partial, *bytes) && process_.RenameFile(partial, user_ini))
    return true;
  process_.RemoveFile(partial);
  return false;
}

bool SettingsStore::FileExists(std::string_view path) {
  if (EndsWithChar(path, '\\')) path.remove_suffix(1);
  return process_.CanOpenForReading(std::string(path));
}

void SettingsStore::LoadInteger(std::string_view key, std::int16_t& field,
                                const std::string& ini_file) {
  const std::string text = ReadIniString(kIniSection, key, ini_file);
  if (text.empty()) {
    field = 0;
    return;
  }
  // Blanks, a sign and a fraction are allowed; the number is rounded down. Text that is not a
  // number, or a whole number outside 16 bits, leaves the field as it was.
  const std::optional<double> number = ParseNumber(text);
  if (!number) return;
  if (const std::optional<std::int16_t> whole = ToInt16(std::floor(*number))) field = *whole;
}

void SettingsStore::LoadSettings(SettingsRecord& record) {
  const std::string ini_file = IniFile();
  LoadInteger(kKeyMusicKind, record.MusicKind, ini_file);
  LoadInteger(kKeyRepeatTrack, record.RepeatTrack, ini_file);

  record.MusicFile = ReadIniString(kIniSection, kKeyMusicFile, ini_file);
  if (!record.MusicFile.empty() && !FileExists(record.MusicFile)) record.MusicFile.clear();
  // A music-file kind without a file falls back to no music; the audio CD is never changed here.
  if (record.MusicFile.empty() && record.MusicKind == 2) record.MusicKind = 0;

  record.MusicFolder =
      record.MusicFile.empty() ? process_.ProgramDirectory() : GetFolderOfPath(record.MusicFile);
}

}  // namespace tolvenar
