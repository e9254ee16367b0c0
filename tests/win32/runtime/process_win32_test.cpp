#include "runtime/win32/process_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tolvenar::win32 {
namespace {

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
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace
}  // namespace tolvenar::win32
