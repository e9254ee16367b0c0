#pragma once
// A view of a Process whose program folder (and temporary folder) is a folder kept in memory: files
// written there are held by this object and never reach a disk; every other path goes to the
// process underneath. The saver writes its face pictures there and the scene reads them back.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/process.h"

namespace tolvenar {

// The in-memory folder's name: no path on any disk, since it neither starts with a separator nor
// names a drive.
inline constexpr std::string_view kMemoryFolder = "<memory>";

class MemoryFolderProcess final : public Process {
 public:
  explicit MemoryFolderProcess(Process& disk) : disk_(disk) {}

  std::string ArgumentText() override { return disk_.ArgumentText(); }
  std::string ProgramDirectory() override { return std::string(kMemoryFolder); }
  bool CanOpenForReading(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  WriteAccess CheckWriteAccess(const std::string& path) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  bool CreateFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override {
    return path != kMemoryFolder && disk_.RemoveFolder(path);
  }
  std::vector<std::string> FolderNames(const std::string& folder,
                                       const std::string& prefix) override;
  std::uint32_t ProcessId() override { return disk_.ProcessId(); }
  bool ProcessIsRunning(std::uint32_t id) override { return disk_.ProcessIsRunning(id); }
  std::string TemporaryDirectory() override { return std::string(kMemoryFolder); }
  std::string LocalAppDataDirectory() override { return disk_.LocalAppDataDirectory(); }

  std::size_t FileCount() const { return files_.size(); }

 private:
  std::map<std::string, std::string> files_;  // by path, for paths directly inside the folder
  Process& disk_;
};

// True when `path` names a file directly inside the in-memory folder.
bool IsInMemoryFolder(std::string_view path);

}  // namespace tolvenar
