#include "runtime/linux/process_linux.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

#include "runtime/linux/owners_posix.h"
#include "runtime/linux/system_path.h"
#include "runtime/linux/text_cp932.h"

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

WriteAccess LinuxProcess::CheckWriteAccess(const std::string& path) {
  const std::optional<SystemPath> system = SystemPath::FromCore(path);
  if (!system) return WriteAccess::kMissing;
  if (const UniqueFd fd(open(system->c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY)); fd) {
    return WriteAccess::kWritable;
  }
  return errno == ENOENT || errno == ENOTDIR ? WriteAccess::kMissing : WriteAccess::kDenied;
}

bool LinuxProcess::RenameFile(const std::string& from, const std::string& to) {
  const std::optional<SystemPath> system_from = SystemPath::FromCore(from);
  const std::optional<SystemPath> system_to = SystemPath::FromCore(to);
  return system_from && system_to && rename(system_from->c_str(), system_to->c_str()) == 0;
}

bool LinuxProcess::RemoveFolder(const std::string& path) {
  const std::optional<SystemPath> system = SystemPath::FromCore(path);
  return system && rmdir(system->c_str()) == 0;
}

std::vector<std::string> LinuxProcess::FolderNames(const std::string& folder,
                                                   const std::string& prefix) {
  std::vector<std::string> names;
  const std::optional<SystemPath> system = SystemPath::FromCore(folder);
  if (!system) return names;
  DIR* listing = opendir(system->c_str());
  if (!listing) return names;
  while (const dirent* entry = readdir(listing)) {
    const std::optional<std::string> name = Utf8ToCp932(entry->d_name);
    if (!name || name->compare(0, prefix.size(), prefix) != 0) continue;
    struct stat info {};
    const std::string path = system->str() + "/" + entry->d_name;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) names.push_back(*name);
  }
  closedir(listing);
  return names;
}

std::uint32_t LinuxProcess::ProcessId() { return static_cast<std::uint32_t>(getpid()); }

bool LinuxProcess::ProcessIsRunning(std::uint32_t id) {
  // A process of another user's answers with a refusal, which still means it is there.
  return id != 0 && id <= 0x7fffffffu && (kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM);
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
