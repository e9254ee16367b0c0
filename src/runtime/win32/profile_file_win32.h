#pragma once
// The profile file on the platform's own GetPrivateProfileStringA / WritePrivateProfileStringA.
#include "runtime/profile_file.h"

namespace tolvenar::win32 {

class Win32ProfileFile final : public ProfileFile {
 public:
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& default_value, std::size_t buffer_size,
                        const std::string& file) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override;
};

}  // namespace tolvenar::win32
