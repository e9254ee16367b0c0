#pragma once
// The process services on a POSIX system. Every core path crosses to the system's through
// `SystemPath`: one that is not absolute (a Windows path read from the settings) names no file
// and cannot be read or written.
#include <string>

#include "runtime/process.h"

namespace tolvenar::linux_port {

class LinuxProcess final : public Process {
 public:
  // `argument_text` is what the core reads as its command line; `program_directory` is the
  // system path of the folder the core treats as the program's (where its INI file lives).
  LinuxProcess(std::string argument_text, const std::string& program_directory);

  std::string ArgumentText() override { return argument_text_; }
  std::string ProgramDirectory() override { return program_directory_; }
  bool CanOpenForReading(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  // No file is ever held against writing here: a refusal is a missing file or a denial.
  WriteAccess CheckWriteAccess(const std::string& path) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  bool CreateFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  std::vector<std::string> FolderNames(const std::string& folder,
                                       const std::string& prefix) override;
  std::uint32_t ProcessId() override;
  bool ProcessIsRunning(std::uint32_t id) override;
  std::string TemporaryDirectory() override;
  // The settings have one place here: no per-user copy.
  std::string LocalAppDataDirectory() override { return {}; }

 private:
  std::string argument_text_;
  std::string program_directory_;  // a core path
};

}  // namespace tolvenar::linux_port
