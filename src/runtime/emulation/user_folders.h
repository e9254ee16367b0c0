#pragma once
// Where the saver keeps its files for a user on a POSIX desktop, from the environment (paths as
// the environment gives them: the system's own bytes, "/" between folders).
#include <optional>
#include <string>

namespace tolvenar {

struct UserEnvironment {
  std::optional<std::string> tolvenar_ini;     // TOLVENAR_INI: the settings file itself
  std::optional<std::string> xdg_config_home;  // XDG_CONFIG_HOME
  std::optional<std::string> xdg_runtime_dir;  // XDG_RUNTIME_DIR
  std::optional<std::string> home;             // HOME
};

// TOLVENAR_INI; else $XDG_CONFIG_HOME/tolvenar/Tolvenar.ini; else ~/.config/tolvenar/Tolvenar.ini.
// Relative XDG folders are ignored, as the base-directory rules say. Nothing without a home.
std::optional<std::string> SettingsFilePath(const UserEnvironment& environment);

// The file whose lock makes one of the user's saver processes (one per monitor) the one that
// plays music: in $XDG_RUNTIME_DIR, else beside the settings file.
std::optional<std::string> MusicLockPath(const UserEnvironment& environment);

// The file whose lock an open settings dialog holds, so that a second start finds it on any
// display system: in $XDG_RUNTIME_DIR, else beside the settings file.
std::optional<std::string> SettingsDialogLockPath(const UserEnvironment& environment);

// The folder part of a POSIX path ("/a/b" -> "/a", "/b" -> "/").
std::string ParentFolder(const std::string& path);

}  // namespace tolvenar
