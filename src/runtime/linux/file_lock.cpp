#include "runtime/linux/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace tolvenar::linux_port {

FileLock::FileLock(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  fd_.reset(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  TryTake();
}

bool FileLock::TryTake() {
  if (!held_ && fd_) held_ = flock(fd_.get(), LOCK_EX | LOCK_NB) == 0;
  return held_;
}

}  // namespace tolvenar::linux_port
