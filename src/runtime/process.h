#pragma once
// Process services: the command line, the program's folder and the file operations the modules use.
// Texts are bytes in the system's ANSI code page, as the platform's A functions take them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvenar {

// What opening an existing file for writing meets.
enum class WriteAccess {
  kWritable,
  kMissing,  // nothing by that name, or its folder is missing
  kInUse,    // another program holds the file open without sharing it
  kDenied,   // anything else: a read-only file or folder, no permission
};

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
  // Opens the existing file `path` for writing, changes nothing and closes it again.
  virtual WriteAccess CheckWriteAccess(const std::string& path) = 0;
  // Renames the file `from` to `to` in the same folder, replacing a file `to`; false on failure.
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
  // Creates the folder `path` (its parent must exist); true when the folder exists afterwards.
  virtual bool CreateFolder(const std::string& path) = 0;
  // Removes the empty folder `path`; false when it is missing, not empty or cannot be removed.
  virtual bool RemoveFolder(const std::string& path) = 0;
  // The names of the folders directly inside `folder` whose names begin with `prefix`.
  virtual std::vector<std::string> FolderNames(const std::string& folder,
                                               const std::string& prefix) = 0;
  // This process's identifier, and whether a process of that identifier is running (one that
  // cannot be looked at, another user's, counts as running).
  virtual std::uint32_t ProcessId() = 0;
  virtual bool ProcessIsRunning(std::uint32_t id) = 0;
  // The user's folder for temporary files, without a trailing separator except at a drive root;
  // empty when there is none the file functions can name.
  virtual std::string TemporaryDirectory() = 0;
  // The user's local application data folder, without a trailing separator; empty when the
  // platform names none the file functions can name.
  virtual std::string LocalAppDataDirectory() = 0;
};

}  // namespace tolvenar
