#pragma once
// The settings file on a POSIX system: the portable INI file (the same bytes as the Windows
// build's) at the system path the core's path names; the core's one INI file can be redirected
// to another place (a test's). Its folder is made on the first write.
#include <optional>
#include <string>
#include <utility>

#include "runtime/emulation/ini_profile_file.h"
#include "runtime/profile_file.h"

namespace tolvenar::linux_port {

class LinuxProfileFile final : public ProfileFile {
 public:
  // Requests for the core path `core_ini` go to the system path `system_ini`.
  LinuxProfileFile(std::string core_ini, std::string system_ini)
      : core_ini_(std::move(core_ini)), system_ini_(std::move(system_ini)) {}

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& default_value, std::size_t buffer_size,
                        const std::string& file) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override;

 private:
  std::optional<std::string> SystemFile(const std::string& file) const;

  IniProfileFile ini_;
  std::string core_ini_;
  std::string system_ini_;
};

}  // namespace tolvenar::linux_port
