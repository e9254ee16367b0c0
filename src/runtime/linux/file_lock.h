#pragma once
// An exclusive lock on a file (flock), held from the first successful try until the object goes;
// the system lets go of it when the process ends in any way, a crash included. The file stays: a
// file removed while another process has it open would let a third lock a new file of the same
// name, and two processes would each hold "the" lock.
#include <string>

#include "runtime/exclusive_lock.h"
#include "runtime/linux/owners_posix.h"

namespace tolvenar::linux_port {

class FileLock final : public ExclusiveLock {
 public:
  // Creates the file (and its folder) when missing and tries to lock it.
  explicit FileLock(const std::string& path);
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool TryTake() override;
  // Whether the file could be opened; a lock that never opened is never taken by anyone.
  bool Opened() const { return static_cast<bool>(fd_); }

 private:
  UniqueFd fd_;
  bool held_ = false;
};

}  // namespace tolvenar::linux_port
