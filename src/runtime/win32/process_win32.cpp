#include "runtime/win32/process_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "runtime/code_page_932.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/system_function.h"

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

namespace {

// A folder as the platform reports it, less a trailing separator unless that is a drive root's.
std::string WithoutTrailingSeparator(std::string folder) {
  const bool at_root = folder.size() == 3 && folder[1] == ':';
  if (!at_root && EndsWithChar(folder, '\\')) folder.pop_back();
  return folder;
}

// A folder name of up to `size` bytes the platform fills; empty when it fails or does not fit.
template <typename Fill>
std::string FilledFolder(std::size_t size, Fill fill) {
  std::vector<char> buffer(size + 1, '\0');
  if (!fill(buffer.data(), static_cast<DWORD>(buffer.size()))) return {};
  buffer.back() = '\0';
  return WithoutTrailingSeparator(buffer.data());
}

}  // namespace

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

std::optional<std::string> Win32Process::ReadWholeFile(const std::string& path) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
    bytes.append(chunk, got);
  if (got != 0) return std::nullopt;  // a read failed before the end
  return bytes;
}

bool Win32Process::CreateFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32Process::TemporaryDirectory() {
  return FilledFolder(MAX_PATH, [](char* buffer, DWORD size) {
    const DWORD length = GetTempPathA(size, buffer);
    return length > 0 && length < size;
  });
}

std::string Win32Process::LocalAppDataDirectory() {
  // The environment names the folder in every user session at no cost; the shell, which the saver
  // would otherwise load just for this, only answers when it does not.
  std::string folder = FilledFolder(MAX_PATH, [](char* buffer, DWORD size) {
    const DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", buffer, size);
    return length > 0 && length < size;
  });
  if (!folder.empty()) return folder;
  static const auto get_folder_path =
      SystemFunction<decltype(&SHGetFolderPathA)>("shell32.dll", "SHGetFolderPathA");
  if (!get_folder_path) return {};
  return FilledFolder(MAX_PATH, [](char* buffer, DWORD) {
    return get_folder_path(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, buffer) == S_OK;
  });
}

}  // namespace tolvenar::win32
