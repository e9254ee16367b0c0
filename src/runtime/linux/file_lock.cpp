#include "runtime/linux/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace tolvenar::linux_port {

FileLock::FileLock(std::string path) : path_(std::move(path)) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
  fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  held_ = flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

FileLock::~FileLock() {
  if (fd_ < 0) return;
  // Removed while still locked: a process that opened it meanwhile fails its own try and stays
  // silent, as it would have while this one played.
  if (held_) unlink(path_.c_str());
  close(fd_);
}

}  // namespace tolvenar::linux_port
