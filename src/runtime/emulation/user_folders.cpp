#include "runtime/emulation/user_folders.h"

namespace tolvenar {
namespace {

bool IsAbsolute(const std::optional<std::string>& path) {
  return path && !path->empty() && (*path)[0] == '/';
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
  if (IsAbsolute(environment.xdg_runtime_dir)) {
    return *environment.xdg_runtime_dir + "/tolvenar-music.lock";
  }
  const std::optional<std::string> settings = SettingsFilePath(environment);
  if (!settings) return std::nullopt;
  return ParentFolder(*settings) + "/music.lock";
}

std::string ParentFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace tolvenar
