#include "runtime/linux/system_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/linux/owners_posix.h"
#include "runtime/linux/text_cp932.h"
#include "runtime/emulation/posix_path.h"

namespace tolvenar::linux_port {

std::optional<SystemPath> SystemPath::FromCore(std::string_view core_path) {
  const std::optional<std::string> posix = PosixPathFromCorePath(core_path);
  if (!posix) return std::nullopt;
  std::optional<std::string> utf8 = Cp932ToUtf8(*posix);
  if (!utf8) return std::nullopt;
  return SystemPath(std::move(*utf8));
}

std::string CorePath(std::string_view system_name) {
  const std::optional<std::string> bytes = Utf8ToCp932(system_name);
  return bytes ? CorePathFromPosixPath(*bytes) : std::string();
}

bool CanOpenForReading(const SystemPath& path) {
  // Not blocked by a pipe that has no writer: it is no file either.
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return false;
  struct stat info {};
  return fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace tolvenar::linux_port
