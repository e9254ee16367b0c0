#include "runtime/linux/process_linux.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

#include "runtime/linux/system_path.h"

namespace tolvenar::linux_port {

LinuxProcess::LinuxProcess(std::string argument_text, const std::string& program_directory)
    : argument_text_(std::move(argument_text)), program_directory_(CorePath(program_directory)) {}

bool LinuxProcess::CanOpenForReading(const std::string& path) {
  const std::optional<SystemPath> system = SystemPath::FromCore(path);
  return system && linux_port::CanOpenForReading(*system);
}

bool LinuxProcess::RemoveFile(const std::string& path) {
  const std::optional<SystemPath> system = SystemPath::FromCore(path);
  return system && unlink(system->c_str()) == 0;
}

bool LinuxProcess::WriteWholeFile(const std::string& path, const std::string& bytes) {
  const std::optional<SystemPath> system = SystemPath::FromCore(path);
  if (!system) return false;
  std::ofstream out(system->str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

std::optional<std::string> LinuxProcess::ReadWholeFile(const std::string& path) {
  const std::optional<SystemPath> system = SystemPath::FromCore(path);
  if (!system || !linux_port::CanOpenForReading(*system)) return std::nullopt;
  std::ifstream in(system->str(), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool LinuxProcess::CreateFolder(const std::string& path) {
  const std::optional<SystemPath> system = SystemPath::FromCore(path);
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
