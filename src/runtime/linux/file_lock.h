#pragma once
// An exclusive lock on a file, taken without waiting, held while the object lives. The holder
// removes the file when it lets go, so nothing stays behind once the last holder has ended.
#include <string>

namespace tolvenar::linux_port {

class FileLock {
 public:
  // Creates the file (and its folder) when missing and tries to lock it; held() tells.
  explicit FileLock(std::string path);
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  bool held() const { return held_; }

 private:
  std::string path_;
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace tolvenar::linux_port
