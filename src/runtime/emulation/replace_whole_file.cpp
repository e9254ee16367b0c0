#include "runtime/emulation/replace_whole_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace tolvenar {

namespace fs = std::filesystem;

bool ReplaceWholeFile(const std::string& file, const std::string& content) {
  fs::path path(file);
  std::error_code error;
  if (fs::is_symlink(path, error)) {
    fs::path target = fs::canonical(path, error);
    if (error) return false;
    path = std::move(target);
  }
  fs::path temporary = path;
  temporary += ".tmp~";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;  // nothing was created
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    bool written = out.good();
    out.close();
    written = written && !out.fail();
    if (!written) {
      fs::remove(temporary, error);
      return false;
    }
  }
  const fs::file_status old_status = fs::status(path, error);
  if (!error && fs::exists(old_status)) fs::permissions(temporary, old_status.permissions(), error);
  fs::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

}  // namespace tolvenar
