#include "runtime/linux/profile_file_linux.h"

#include <filesystem>
#include <system_error>

#include "runtime/linux/system_path.h"

namespace tolvenar::linux_port {

std::optional<std::string> LinuxProfileFile::SystemFile(const std::string& file) const {
  if (file == core_ini_) return system_ini_;
  const std::optional<SystemPath> system = SystemPath::FromCore(file);
  if (!system) return std::nullopt;
  return system->str();
}

std::string LinuxProfileFile::GetString(const std::string& section, const std::string& key,
                                        const std::string& default_value, std::size_t buffer_size,
                                        const std::string& file) {
  const std::optional<std::string> system = SystemFile(file);
  if (!system) return ini_.GetString(section, key, default_value, buffer_size, std::string());
  return ini_.GetString(section, key, default_value, buffer_size, *system);
}

bool LinuxProfileFile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& file) {
  const std::optional<std::string> system = SystemFile(file);
  if (!system) return false;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(*system).parent_path(), error);
  return ini_.WriteString(section, key, value, *system);
}

}  // namespace tolvenar::linux_port
