#include "runtime/win32/process_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <utility>
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

// The longest path the wide functions report here (the wide forms take up to 32 767 characters).
constexpr std::size_t kLongestPath = 32767;

// A folder as the platform reports it, less a trailing separator unless that is a drive root's.
std::string WithoutTrailingSeparator(std::string folder) {
  const bool at_root = folder.size() == 3 && folder[1] == ':';
  if (!at_root && EndsWithChar(folder, '\\')) folder.pop_back();
  return folder;
}

// A wide folder name of up to `size` characters the platform fills; empty when it fails or does
// not fit.
template <typename Fill>
std::wstring FilledFolder(std::size_t size, Fill fill) {
  std::vector<wchar_t> buffer(size + 1, L'\0');
  if (!fill(buffer.data(), static_cast<DWORD>(buffer.size()))) return {};
  buffer.back() = L'\0';
  return buffer.data();
}

// `text` in the ANSI code page; nothing when a character has no exact form there (best fit would
// name another folder, "?" none at all).
std::optional<std::string> ExactlyInAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  const bool utf8 = GetACP() == CP_UTF8;  // holds every character, and takes no flags
  BOOL lost = FALSE;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int size = WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, utf8 ? nullptr : &lost);
  if (size <= 0 || lost) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

// A folder as the file functions of the ANSI code page can name it: its own name, else its short
// (8.3) name; empty when neither can be written in that code page, or there is no folder.
std::string AnsiFolder(const std::wstring& folder) {
  if (folder.empty()) return {};
  if (std::optional<std::string> name = ExactlyInAnsi(folder))
    return WithoutTrailingSeparator(std::move(*name));
  const std::wstring short_name = FilledFolder(kLongestPath, [&](wchar_t* buffer, DWORD size) {
    const DWORD length = GetShortPathNameW(folder.c_str(), buffer, size);
    return length > 0 && length < size;
  });
  if (short_name.empty()) return {};
  return WithoutTrailingSeparator(ExactlyInAnsi(short_name).value_or(""));
}

bool IsFileMissingError(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
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
  for (;;) {
    DWORD got = 0;
    // A failed read is no end of the file: the caller must not take a part for the whole.
    if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
    if (got == 0) return bytes;
    bytes.append(chunk, got);
  }
}

WriteAccess Win32Process::CheckWriteAccess(const std::string& path) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) return WriteAccess::kWritable;
  const DWORD error = GetLastError();
  if (IsFileMissingError(error)) return WriteAccess::kMissing;
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return WriteAccess::kInUse;
  return WriteAccess::kDenied;
}

bool Win32Process::RenameFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool Win32Process::CreateFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Process::RemoveFolder(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != 0;
}

std::vector<std::string> Win32Process::FolderNames(const std::string& folder,
                                                   const std::string& prefix) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  const std::string pattern = folder + "\\" + prefix + "*";
  UniqueFind search(FindFirstFileA(pattern.c_str(), &found));
  if (!search) return names;
  do {
    // The pattern also matches short names and ignores case: only the name itself counts.
    const std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        name.compare(0, prefix.size(), prefix) == 0)
      names.push_back(name);
  } while (FindNextFileA(search.get(), &found));
  return names;
}

std::uint32_t Win32Process::ProcessId() { return GetCurrentProcessId(); }

bool Win32Process::ProcessIsRunning(std::uint32_t id) {
  UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
  // No such process is an invalid parameter; any other refusal means one is there.
  if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;
  return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

std::string Win32Process::TemporaryDirectory() {
  // The wide function: a profile name outside the ANSI code page comes out of the A function as
  // "?" characters, a folder that does not exist.
  return AnsiFolder(FilledFolder(kLongestPath, [](wchar_t* buffer, DWORD size) {
    const DWORD length = GetTempPathW(size, buffer);
    return length > 0 && length < size;
  }));
}

std::string Win32Process::LocalAppDataDirectory() {
  // The environment names the folder in every user session at no cost; the shell, which the saver
  // would otherwise load just for this, only answers when it does not.
  std::wstring folder = FilledFolder(kLongestPath, [](wchar_t* buffer, DWORD size) {
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, size);
    return length > 0 && length < size;
  });
  if (folder.empty()) {
    static const auto get_folder_path =
        SystemFunction<decltype(&SHGetFolderPathW)>("shell32.dll", "SHGetFolderPathW");
    if (!get_folder_path) return {};
    folder = FilledFolder(MAX_PATH, [](wchar_t* buffer, DWORD) {
      return get_folder_path(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, buffer) == S_OK;
    });
  }
  return AnsiFolder(folder);
}

}  // namespace tolvenar::win32
