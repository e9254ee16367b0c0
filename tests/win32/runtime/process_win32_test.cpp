#include "runtime/win32/process_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "runtime/win32/handles.h"

namespace tolvenar::win32 {
namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ArgumentTextOf, WhatFollowsTheProgramName) {
  struct Case {
    const char* command_line;
    const char* expected;
  } cases[] = {
      {"Tolvenar.scr /s", "/s"},
      {"Tolvenar.scr", ""},
      {"", ""},
      {"Tolvenar.scr    /p 1234", "/p 1234"},
      {"Tolvenar.scr\t/c:42", "/c:42"},
      {"Tolvenar.scr \t /s  ", "/s  "},
      {"\"C:\\Program Files\\Tolvenar.scr\" /s", "/s"},
      {"\"C:\\Program Files\\Tolvenar.scr\"/s", "/s"},
      {"\"C:\\Program Files\\Tolvenar.scr\"", ""},
      {"\"C:\\Unclosed quote /s", ""},
      {"\"\" /s", "/s"},
      {"C:\\Saver\\Tolvenar.scr /a 1234", "/a 1234"},
  };
  int row = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(ArgumentTextOf(c.command_line), c.expected)
        << "row " << row << ": " << c.command_line;
    ++row;
  }
}

TEST(Win32Process, ProgramDirectoryIsTheFolderOfTheProgramWithoutSeparator) {
  Win32Process process;
  const std::string folder = process.ProgramDirectory();
  char module[MAX_PATH * 4] = {};
  GetModuleFileNameA(nullptr, module, sizeof module);
  const std::string program(module);
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\') << folder;
  EXPECT_EQ(program.substr(0, folder.size() + 1), folder + "\\") << program;
  EXPECT_EQ(program.find('\\', folder.size() + 1), std::string::npos) << program;
}

TEST(Win32Process, CanOpenForReadingOnlyFiles) {
  char base[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, base);
  const std::string folder =
      std::string(base) + "tolvenar_process_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "\\music.mp3";
  std::ofstream(file, std::ios::binary) << "ID3";

  Win32Process process;
  EXPECT_TRUE(process.CanOpenForReading(file));
  EXPECT_FALSE(process.CanOpenForReading(folder)) << "a folder";
  EXPECT_FALSE(process.CanOpenForReading(folder + "\\")) << "a folder with a separator";
  EXPECT_FALSE(process.CanOpenForReading(folder + "\\missing.mp3")) << "a missing file";
  EXPECT_FALSE(process.CanOpenForReading(folder + "\\missing\\a.mp3")) << "a missing folder";
  EXPECT_FALSE(process.CanOpenForReading("")) << "nothing";
  // The check does not hold the file open.
  EXPECT_TRUE(process.RemoveFile(file));
  EXPECT_FALSE(process.RemoveFile(file)) << "already gone";

  EXPECT_TRUE(process.WriteWholeFile(file, std::string("a\0b", 3)));
  std::ifstream in(file, std::ios::binary);
  std::string read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(read, std::string("a\0b", 3));
  in.close();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

TEST(Win32Process, FoldersOfTheUserAndWholeFiles) {
  Win32Process process;
  char base[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, base);
  const std::string temporary = process.TemporaryDirectory();
  EXPECT_EQ(temporary + "\\", base);
  const std::string local = process.LocalAppDataDirectory();
  ASSERT_FALSE(local.empty());
  EXPECT_NE(local.back(), '\\') << local;
  EXPECT_NE(GetFileAttributesA(local.c_str()), INVALID_FILE_ATTRIBUTES) << local;

  const std::string folder =
      temporary + "\\tolvenar_whole_" + std::to_string(GetCurrentProcessId());
  EXPECT_TRUE(process.CreateFolder(folder));
  EXPECT_TRUE(process.CreateFolder(folder)) << "already there";
  EXPECT_FALSE(process.CreateFolder(folder + "\\missing\\inner")) << "no parent";
  const std::string file = folder + "\\a.ini";
  EXPECT_FALSE(process.CreateFolder(file + "\\x")) << "under a file";
  EXPECT_EQ(process.ReadWholeFile(file), std::nullopt) << "missing";
  const std::string bytes = std::string(10000, 'x') + std::string("\0\r\n", 3);
  ASSERT_TRUE(process.WriteWholeFile(file, bytes));
  EXPECT_EQ(process.ReadWholeFile(file), bytes);
  EXPECT_EQ(process.ReadWholeFile(folder), std::nullopt) << "a folder";

  // What a write would meet, a rename over a file, and the folders of earlier runs.
  EXPECT_EQ(process.CheckWriteAccess(file), WriteAccess::kWritable);
  EXPECT_EQ(process.CheckWriteAccess(folder + "\\gone.ini"), WriteAccess::kMissing);
  EXPECT_EQ(process.CheckWriteAccess(folder + "\\gone\\a.ini"), WriteAccess::kMissing);
  EXPECT_EQ(process.CheckWriteAccess(folder), WriteAccess::kDenied) << "a folder";
  {
    UniqueHandle held(CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(process.CheckWriteAccess(file), WriteAccess::kInUse);
  }
  EXPECT_EQ(FileBytes(file), bytes) << "the checks change nothing";
  ASSERT_TRUE(process.WriteWholeFile(file + ".new", "new"));
  EXPECT_TRUE(process.RenameFile(file + ".new", file));
  EXPECT_EQ(process.ReadWholeFile(file), "new");
  EXPECT_FALSE(process.RenameFile(file + ".new", file)) << "already gone";

  ASSERT_TRUE(process.CreateFolder(folder + "\\Tolvenar-12"));
  ASSERT_TRUE(process.CreateFolder(folder + "\\Tolvenar-3"));
  ASSERT_TRUE(process.CreateFolder(folder + "\\Other"));
  ASSERT_TRUE(process.WriteWholeFile(folder + "\\Tolvenar-4", "a file"));
  std::vector<std::string> names = process.FolderNames(folder, "Tolvenar-");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Tolvenar-12", "Tolvenar-3"}));
  EXPECT_TRUE(process.FolderNames(folder + "\\gone", "Tolvenar-").empty());
  EXPECT_TRUE(process.RemoveFolder(folder + "\\Tolvenar-12"));
  EXPECT_FALSE(process.RemoveFolder(folder + "\\Tolvenar-12")) << "already gone";
  EXPECT_FALSE(process.RemoveFolder(folder)) << "not empty";

  EXPECT_EQ(process.ProcessId(), GetCurrentProcessId());
  EXPECT_TRUE(process.ProcessIsRunning(GetCurrentProcessId()));
  EXPECT_FALSE(process.ProcessIsRunning(0x7FFFFFF0)) << "no such process";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

// Sets an environment variable for a scope, putting the old value back at its end.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t old[32768];
    const DWORD length = GetEnvironmentVariableW(name, old, 32768);
    if (length > 0 && length < 32768) old_ = old;
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* name_;
  std::optional<std::wstring> old_;
};

TEST(Win32Process, UserFoldersOutsideTheAnsiCodePageComeAsTheirShortNames) {
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, base);
  const std::wstring user = std::wstring(base) + L"\x0141ukasz_" +  // Ł
                            std::to_wstring(GetCurrentProcessId());
  BOOL lost = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, user.c_str(), -1, nullptr, 0, nullptr, &lost);
  if (!lost) GTEST_SKIP() << "the ANSI code page holds the name";
  ASSERT_TRUE(CreateDirectoryW(user.c_str(), nullptr));
  Win32Process process;
  {
    const ScopedVariable tmp(L"TMP", user);
    const ScopedVariable temp(L"TEMP", user);
    const ScopedVariable local(L"LOCALAPPDATA", user);
    for (const std::string& folder :
         {process.TemporaryDirectory(), process.LocalAppDataDirectory()}) {
      SCOPED_TRACE(folder);
      EXPECT_EQ(folder.find('?'), std::string::npos);
      EXPECT_NE(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
      ASSERT_TRUE(process.WriteWholeFile(folder + "\\a.bmp", "BM"));
      EXPECT_NE(GetFileAttributesW((user + L"\\a.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
      EXPECT_TRUE(process.RemoveFile(folder + "\\a.bmp"));
    }
  }
  {
    // No such folder, so no short name either: no folder at all, never a "?" one.
    const ScopedVariable tmp(L"TMP", user + L"\\\x0141missing");
    const ScopedVariable temp(L"TEMP", user + L"\\\x0141missing");
    const ScopedVariable local(L"LOCALAPPDATA", user + L"\\\x0141missing");
    EXPECT_EQ(process.TemporaryDirectory(), "");
    EXPECT_EQ(process.LocalAppDataDirectory(), "");
  }
  RemoveDirectoryW(user.c_str());
}

}  // namespace
}  // namespace tolvenar::win32
