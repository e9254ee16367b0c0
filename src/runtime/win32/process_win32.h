#pragma once
// Process services on kernel32 (and shell32, bound at first use, for a known folder).
#include "runtime/process.h"

namespace tolvenar::win32 {

class Win32Process final : public Process {
 public:
  std::string ArgumentText() override;
  std::string ProgramDirectory() override;
  bool CanOpenForReading(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  WriteAccess CheckWriteAccess(const std::string& path) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  bool CreateFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  std::vector<std::string> FolderNames(const std::string& folder,
                                       const std::string& prefix) override;
  std::uint32_t ProcessId() override;
  bool ProcessIsRunning(std::uint32_t id) override;
  std::string TemporaryDirectory() override;
  std::string LocalAppDataDirectory() override;
};

// The argument text of a whole command line: what follows the program name (quoted or not),
// leading blanks and tabs removed.
std::string ArgumentTextOf(const std::string& command_line);

}  // namespace tolvenar::win32
