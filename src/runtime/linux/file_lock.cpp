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
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  TryTake();
}

FileLock::~FileLock() {
  if (fd_ >= 0) close(fd_);
}

bool FileLock::TryTake() {
  if (!held_ && fd_ >= 0) held_ = flock(fd_, LOCK_EX | LOCK_NB) == 0;
  return held_;
}

}  // namespace tolvenar::linux_port
