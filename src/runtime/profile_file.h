#pragma once
// The platform's profile (INI) file functions, exactly as the settings store uses them.
#include <cstddef>
#include <string>

namespace tolvenar {

class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  // Copies the value of `key` in `section` of `file` (or `default_value` when the file, section or
  // key is missing) into a buffer of `buffer_size` bytes, NUL-terminated and cut to buffer_size - 1
  // bytes; returns the buffer's text up to its first NUL.
  virtual std::string GetString(const std::string& section, const std::string& key,
                                const std::string& default_value, std::size_t buffer_size,
                                const std::string& file) = 0;
  // Creates or updates `key` in `section` of `file`, creating the file and the section when
  // missing. Returns false when nothing could be written.
  virtual bool WriteString(const std::string& section, const std::string& key,
                           const std::string& value, const std::string& file) = 0;
};

}  // namespace tolvenar
