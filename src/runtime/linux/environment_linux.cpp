#include "runtime/linux/environment_linux.h"

#include <cstdlib>

namespace tolvenar::linux_port {

std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

UserEnvironment UserEnvironmentOfProcess() {
  UserEnvironment environment;
  environment.tolvenar_ini = EnvironmentVariable("TOLVENAR_INI");
  environment.xdg_config_home = EnvironmentVariable("XDG_CONFIG_HOME");
  environment.xdg_runtime_dir = EnvironmentVariable("XDG_RUNTIME_DIR");
  environment.home = EnvironmentVariable("HOME");
  return environment;
}

}  // namespace tolvenar::linux_port
