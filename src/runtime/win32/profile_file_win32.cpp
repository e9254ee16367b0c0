#include "runtime/win32/profile_file_win32.h"

#include <windows.h>

#include <vector>

namespace tolvenar::win32 {

std::string Win32ProfileFile::GetString(const std::string& section, const std::string& key,
                                        const std::string& default_value, std::size_t buffer_size,
                                        const std::string& file) {
  if (buffer_size == 0) return {};
  std::vector<char> buffer(buffer_size, '\0');
  GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value.c_str(), buffer.data(),
                           static_cast<DWORD>(buffer_size), file.c_str());
  buffer.back() = '\0';
  return std::string(buffer.data());
}

bool Win32ProfileFile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

}  // namespace tolvenar::win32
