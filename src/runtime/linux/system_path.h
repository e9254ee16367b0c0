#pragma once
// The one crossing from the core's file names to the system's. The core names files as the
// Windows build does: code page 932 bytes with "\" between folders (a "/" is taken too); the
// system's calls take UTF-8 names with "/". Every back end that hands a core path to the system
// (file checks and reads, the media and wave players, the file chooser) goes through here: a
// `SystemPath` can be made only from a core path, so a core path cannot reach a system call as
// it is. Only an absolute path crosses: a Windows path ("C:\Music\a.mp3", "\\server\share") or a
// relative one names no file here.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tolvenar::linux_port {

class SystemPath {
 public:
  // Nothing when the core path names no file here: not absolute, or bytes that are no code
  // page 932 text.
  static std::optional<SystemPath> FromCore(std::string_view core_path);

  const std::string& str() const { return name_; }
  const char* c_str() const { return name_.c_str(); }

 private:
  explicit SystemPath(std::string name) : name_(std::move(name)) {}
  std::string name_;
};

// A name the system gave (an environment variable, the chooser's answer) as the core names it;
// empty when code page 932 cannot hold it.
std::string CorePath(std::string_view system_name);

// True when the path names a regular file that can be opened for reading.
bool CanOpenForReading(const SystemPath& path);

}  // namespace tolvenar::linux_port
