#include "runtime/linux/process_linux.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fakes/shift_jis.h"
#include "runtime/linux/profile_file_linux.h"
#include "runtime/linux/system_path.h"
#include "runtime/linux/text_cp932.h"

namespace tolvenar::linux_port {
namespace {

namespace fs = std::filesystem;
using testing::ShiftJis;

class LinuxFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("tolvenar-files-" + std::to_string(getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path folder_;
};

// The core names files in code page 932 with "\"; the disk has UTF-8 names with "/". ソ and 表 end
// in the byte of "\".
TEST_F(LinuxFiles, CorePathsReachTheFilesTheirNamesSpell) {
  LinuxProcess process("/s", folder_.string());
  const std::string core_folder = process.ProgramDirectory();
  EXPECT_EQ(SystemPath::FromCore(core_folder)->str(), folder_.string());
  std::string file = core_folder + ShiftJis("\\ソ表.mp3");
  EXPECT_TRUE(process.WriteWholeFile(file, "ID3"));
  EXPECT_TRUE(fs::exists(folder_ / "ソ表.mp3"));
  EXPECT_TRUE(process.CanOpenForReading(file));
  EXPECT_EQ(process.ReadWholeFile(file), "ID3");
  EXPECT_FALSE(process.CanOpenForReading(core_folder));  // a folder cannot be opened
  EXPECT_TRUE(process.CreateFolder(core_folder + "\\sub"));
  EXPECT_TRUE(process.CreateFolder(core_folder + "\\sub"));
  EXPECT_EQ(process.CheckWriteAccess(file), WriteAccess::kWritable);
  EXPECT_TRUE(process.RenameFile(file, core_folder + "\\b.mp3"));
  EXPECT_EQ(process.CheckWriteAccess(file), WriteAccess::kMissing);
  EXPECT_EQ(process.CheckWriteAccess(core_folder), WriteAccess::kDenied);  // a folder
  EXPECT_EQ(process.FolderNames(core_folder, "su"), std::vector<std::string>{"sub"});
  EXPECT_TRUE(process.FolderNames(core_folder, "b").empty());  // b.mp3 is a file
  EXPECT_TRUE(process.RemoveFolder(core_folder + "\\sub"));
  EXPECT_FALSE(process.RemoveFolder(core_folder + "\\sub"));
  EXPECT_TRUE(process.ProcessIsRunning(process.ProcessId()));
  EXPECT_FALSE(process.ProcessIsRunning(0x7FFFFFF0));
  file = core_folder + "\\b.mp3";
  EXPECT_TRUE(process.RemoveFile(file));
  EXPECT_FALSE(process.CanOpenForReading(file));
  EXPECT_EQ(process.LocalAppDataDirectory(), "");

  for (const std::string windows : {"C:\\Music\\a.mp3", "a.mp3", "\\\\server\\a.mp3"}) {
    SCOPED_TRACE(windows);
    EXPECT_FALSE(process.CanOpenForReading(windows));
    EXPECT_FALSE(process.WriteWholeFile(windows, "x"));
    EXPECT_EQ(process.ReadWholeFile(windows), std::nullopt);
  }
  EXPECT_EQ(Cp932ToUtf8("\x81\x60"), "\xEF\xBD\x9E");    // U+FF5E, where SHIFT_JIS gives U+301C
  EXPECT_EQ(Utf8ToCp932("\xE2\x82\xAC"), std::nullopt);  // € has no code page 932 byte
}

TEST_F(LinuxFiles, SettingsFileIsMadeWithItsFolderAndKeepsTheWindowsBytes) {
  const fs::path ini = folder_ / "config" / "tolvenar" / "Tolvenar.ini";
  LinuxProfileFile profile("\\core\\Tolvenar.ini", ini.string());
  const std::string key = ShiftJis("BGMﾌｧｲﾙ");
  const std::string value = ShiftJis("/m/ソ.mp3");
  EXPECT_TRUE(profile.WriteString("Section", key, value, "\\core\\Tolvenar.ini"));
  EXPECT_EQ(Bytes(ini), "[Section]\r\n" + key + "=" + value + "\r\n");
  EXPECT_EQ(profile.GetString("Section", key, "", 256, "\\core\\Tolvenar.ini"), value);
  EXPECT_EQ(profile.GetString("Section", key, "none", 256, "C:\\Tolvenar.ini"), "none");
  EXPECT_FALSE(profile.WriteString("Section", key, value, "C:\\Tolvenar.ini"));
}

}  // namespace
}  // namespace tolvenar::linux_port
