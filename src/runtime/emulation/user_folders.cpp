#include "runtime/emulation/user_folders.h"

namespace tolvenar {
namespace {

bool IsAbsolute(const std::optional<std::string>& path) {
  return path && !path->empty() && (*path)[0] == '/';
}

// A per-user lock file: in the runtime folder, which the system empties at log-out, else beside
// the settings file.
std::optional<std::string> LockPath(const UserEnvironment& environment, const std::string& name) {
  if (IsAbsolute(environment.xdg_runtime_dir)) {
    return *environment.xdg_runtime_dir + "/tolvenar-" + name + ".lock";
  }
  const std::optional<std::string> settings = SettingsFilePath(environment);
  if (!settings) return std::nullopt;
  return ParentFolder(*settings) + "/" + name + ".lock";
}

}  // namespace

std::optional<std::string> SettingsFilePath(const UserEnvironment& environment) {
  if (environment.tolvenar_ini && !environment.tolvenar_ini->empty()) {
    return environment.tolvenar_ini;
  }
  if (IsAbsolute(environment.xdg_config_home)) {
    return *environment.xdg_config_home + "/tolvenar/Tolvenar.ini";
  }
  if (IsAbsolute(environment.home)) return *environment.home + "/.config/tolvenar/Tolvenar.ini";
  return std::nullopt;
}

std::optional<std::string> MusicLockPath(const UserEnvironment& environment) {
  return LockPath(environment, "music");
}

std::optional<std::string> SettingsDialogLockPath(const UserEnvironment& environment) {
  return LockPath(environment, "settings");
}

std::string ParentFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace tolvenar
