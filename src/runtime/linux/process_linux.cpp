#include "runtime/linux/process_linux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

#include "runtime/linux/text_cp932.h"
#include "runtime/posix_path.h"

namespace tolvenar::linux_port {

std::optional<std::string> SystemPath(const std::string& core_path) {
  const std::optional<std::string> posix = PosixPathFromCorePath(core_path);
  if (!posix) return std::nullopt;
  return Cp932ToUtf8(*posix);
}

std::string CorePath(const std::string& system_path) {
  return CorePathFromPosixPath(Utf8ToCp932(system_path).value_or(""));
}

LinuxProcess::LinuxProcess(std::string argument_text, const std::string& program_directory)
    : argument_text_(std::move(argument_text)), program_directory_(CorePath(program_directory)) {}

bool LinuxProcess::CanOpenForReading(const std::string& path) {
  const std::optional<std::string> system = SystemPath(path);
  if (!system) return false;
  const int fd = open(system->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
  close(fd);
  return regular;
}

bool LinuxProcess::RemoveFile(const std::string& path) {
  const std::optional<std::string> system = SystemPath(path);
  return system && unlink(system->c_str()) == 0;
}

bool LinuxProcess::WriteWholeFile(const std::string& path, const std::string& bytes) {
  const std::optional<std::string> system = SystemPath(path);
  if (!system) return false;
  std::ofstream out(*system, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

std::optional<std::string> LinuxProcess::ReadWholeFile(const std::string& path) {
  const std::optional<std::string> system = SystemPath(path);
  if (!system || !CanOpenForReading(path)) return std::nullopt;
  std::ifstream in(*system, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool LinuxProcess::CreateFolder(const std::string& path) {
  const std::optional<std::string> system = SystemPath(path);
  if (!system) return false;
  if (mkdir(system->c_str(), 0700) == 0) return true;
  struct stat info {};
  return stat(system->c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string LinuxProcess::TemporaryDirectory() {
  const char* tmpdir = std::getenv("TMPDIR");
  return CorePath(tmpdir && tmpdir[0] == '/' ? tmpdir : "/tmp");
}

}  // namespace tolvenar::linux_port
