#include "runtime/win32/process_win32.h"

#include <windows.h>

#include <vector>

#include "runtime/code_page_932.h"
#include "runtime/win32/handles.h"

namespace tolvenar::win32 {

std::string ArgumentTextOf(const std::string& command_line) {
  std::size_t pos = 0;
  if (!command_line.empty() && command_line[0] == '"') {
    pos = command_line.find('"', 1);
    pos = pos == std::string::npos ? command_line.size() : pos + 1;
  } else {
    while (pos < command_line.size() && command_line[pos] != ' ' && command_line[pos] != '\t')
      ++pos;
  }
  while (pos < command_line.size() && (command_line[pos] == ' ' || command_line[pos] == '\t'))
    ++pos;
  return command_line.substr(pos);
}

std::string Win32Process::ArgumentText() { return ArgumentTextOf(GetCommandLineA()); }

std::string Win32Process::ProgramDirectory() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::string folder(path.begin(), path.end());
  const std::size_t separator = FindLastChar(folder, "\\");
  if (separator == std::string::npos) return {};
  // A drive root keeps its separator ("C:\"), as the platform reports it.
  const bool at_root = separator == 2 && folder[1] == ':';
  folder.resize(at_root ? separator + 1 : separator);
  return folder;
}

bool Win32Process::CanOpenForReading(const std::string& path) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  return static_cast<bool>(file);
}

bool Win32Process::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32Process::WriteWholeFile(const std::string& path, const std::string& bytes) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

}  // namespace tolvenar::win32
