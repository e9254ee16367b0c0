#pragma once
// Process services: the command line, the program's folder and the file operations the modules use.
// Texts are bytes in the system's ANSI code page, as the platform's A functions take them.
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
};

}  // namespace tolvenar
