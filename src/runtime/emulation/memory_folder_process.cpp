#include "runtime/emulation/memory_folder_process.h"

#include <utility>

#include "runtime/code_page_932.h"

namespace tolvenar {

bool IsInMemoryFolder(std::string_view path) {
  if (path.size() <= kMemoryFolder.size() + 1 ||
      path.substr(0, kMemoryFolder.size()) != kMemoryFolder)
    return false;
  const std::string_view name = path.substr(kMemoryFolder.size());
  return name[0] == '\\' && FindLastChar(name, "\\/") == 0;
}

bool MemoryFolderProcess::CanOpenForReading(const std::string& path) {
  if (IsInMemoryFolder(path)) return files_.count(path) > 0;
  return disk_.CanOpenForReading(path);
}

bool MemoryFolderProcess::RemoveFile(const std::string& path) {
  if (IsInMemoryFolder(path)) return files_.erase(path) > 0;
  return disk_.RemoveFile(path);
}

bool MemoryFolderProcess::WriteWholeFile(const std::string& path, const std::string& bytes) {
  if (IsInMemoryFolder(path)) {
    files_[path] = bytes;
    return true;
  }
  return disk_.WriteWholeFile(path, bytes);
}

std::optional<std::string> MemoryFolderProcess::ReadWholeFile(const std::string& path) {
  if (!IsInMemoryFolder(path)) return disk_.ReadWholeFile(path);
  auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

WriteAccess MemoryFolderProcess::CheckWriteAccess(const std::string& path) {
  if (!IsInMemoryFolder(path)) return disk_.CheckWriteAccess(path);
  return files_.count(path) > 0 ? WriteAccess::kWritable : WriteAccess::kMissing;
}

bool MemoryFolderProcess::RenameFile(const std::string& from, const std::string& to) {
  if (!IsInMemoryFolder(from) && !IsInMemoryFolder(to)) return disk_.RenameFile(from, to);
  auto it = files_.find(from);
  if (it == files_.end() || !IsInMemoryFolder(to)) return false;
  std::string bytes = std::move(it->second);
  files_.erase(it);
  files_[to] = std::move(bytes);
  return true;
}

std::vector<std::string> MemoryFolderProcess::FolderNames(const std::string& folder,
                                                          const std::string& prefix) {
  if (folder == kMemoryFolder) return {};  // holds files only
  return disk_.FolderNames(folder, prefix);
}

bool MemoryFolderProcess::CreateFolder(const std::string& path) {
  if (path == kMemoryFolder) return true;
  return disk_.CreateFolder(path);
}

}  // namespace tolvenar
