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
  bool CreateFolder(const std::string& path) override;
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
