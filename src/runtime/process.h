#pragma once
// Process services: the command line, the program's folder and the file operations the modules use.
// Texts are bytes in the system's ANSI code page, as the platform's A functions take them.
#include <optional>
#include <string>

namespace tolvenar {

class Process {
 public:
  virtual ~Process() = default;
  // The command line after the program's own name, leading blanks removed.
  virtual std::string ArgumentText() = 0;
  // The folder of the program file, without a trailing separator except at a drive root ("C:\").
  virtual std::string ProgramDirectory() = 0;
  // True when `path` can be opened for sequential reading; the file is closed again at once.
  // A folder cannot be opened.
  virtual bool CanOpenForReading(const std::string& path) = 0;
  // Deletes a file; false when it is missing or cannot be deleted.
  virtual bool RemoveFile(const std::string& path) = 0;
  // Writes `bytes` as the whole content of `path`, replacing an existing file; false on failure.
  virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
  // The whole content of `path`; nothing when it cannot be opened or read.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // Creates the folder `path` (its parent must exist); true when the folder exists afterwards.
  virtual bool CreateFolder(const std::string& path) = 0;
  // The user's folder for temporary files, without a trailing separator except at a drive root.
  virtual std::string TemporaryDirectory() = 0;
  // The user's local application data folder, without a trailing separator; empty when the
  // platform names none.
  virtual std::string LocalAppDataDirectory() = 0;
};

}  // namespace tolvenar
