#include "runtime/emulation/posix_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes/file_bytes.h"
#include "fakes/fake_runtime.h"
#include "fakes/shift_jis.h"
#include "runtime/emulation/memory_folder_process.h"
#include "runtime/emulation/user_folders.h"

namespace tolvenar {
namespace {

using testing::ShiftJis;
using testing::Show;

// ソ (83 5C) and 表 (95 5C) end in the byte of "\"; neither is a separator.
TEST(PosixPath, OnlyAbsolutePathsCrossAndTrailBytesStay) {
  struct Case {
    std::string core;
    std::optional<std::string> posix;
  } cases[] = {
      {"\\home\\u\\a.mp3", "/home/u/a.mp3"},
      {"/home/u/a.mp3", "/home/u/a.mp3"},
      {ShiftJis("\\home\\ソ\\表.wav"), ShiftJis("/home/ソ/表.wav")},
      {ShiftJis("/m/ソ"), ShiftJis("/m/ソ")},
      {"C:\\Music\\a.mp3", std::nullopt},
      {"c:/Music/a.mp3", std::nullopt},
      {"\\\\server\\share\\a.mp3", std::nullopt},
      {"Music\\a.mp3", std::nullopt},
      {"", std::nullopt},
      {std::string(kMemoryFolder) + "\\Tolvenar1.bmp", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PosixPathFromCorePath(c.core), c.posix) << Show(c.core);
    if (c.posix) {
      EXPECT_EQ(PosixPathFromCorePath(CorePathFromPosixPath(*c.posix)), c.posix);
    }
  }
  EXPECT_EQ(CorePathFromPosixPath(ShiftJis("/m/ソ/x")), ShiftJis("\\m\\ソ\\x"));
}

TEST(MemoryFolderProcess, KeepsItsFolderInMemoryAndPassesEverythingElseOn) {
  testing::CallLog log;
  testing::FakeProcess disk(log);
  disk.argument_text = "/s";
  MemoryFolderProcess process(disk);
  const std::string picture = process.ProgramDirectory() + "\\Tolvenar1.bmp";
  EXPECT_EQ(process.TemporaryDirectory(), process.ProgramDirectory());
  EXPECT_EQ(process.ArgumentText(), "/s");

  EXPECT_FALSE(process.CanOpenForReading(picture));
  EXPECT_TRUE(process.WriteWholeFile(picture, "BM"));
  EXPECT_TRUE(process.CanOpenForReading(picture));
  EXPECT_EQ(process.ReadWholeFile(picture), "BM");
  EXPECT_TRUE(process.RemoveFile(picture));
  EXPECT_FALSE(process.RemoveFile(picture));
  EXPECT_EQ(process.ReadWholeFile(picture), std::nullopt);
  EXPECT_TRUE(log.empty());  // the disk never saw the folder

  EXPECT_TRUE(process.WriteWholeFile("\\home\\a.bmp", "x"));
  EXPECT_TRUE(process.WriteWholeFile(std::string(kMemoryFolder) + "x\\a.bmp", "x"));
  EXPECT_TRUE(process.WriteWholeFile(picture + "\\deeper", "x"));
  EXPECT_EQ(process.FileCount(), 0u);
  EXPECT_EQ(log.size(), 3u);
}

TEST(UserFolders, SettingsFileAndLocks) {
  struct Case {
    const char* name;
    UserEnvironment environment;
    std::optional<std::string> settings, music_lock, dialog_lock;
  } cases[] = {
      {"override",
       {"/t/x.ini", "/c", "/r", "/h"},
       "/t/x.ini",
       "/r/tolvenar-music.lock",
       "/r/tolvenar-settings.lock"},
      {"config home",
       {std::nullopt, "/c", std::nullopt, "/h"},
       "/c/tolvenar/Tolvenar.ini",
       "/c/tolvenar/music.lock",
       "/c/tolvenar/settings.lock"},
      {"relative config home",
       {std::nullopt, "c", "r", "/h"},
       "/h/.config/tolvenar/Tolvenar.ini",
       "/h/.config/tolvenar/music.lock",
       "/h/.config/tolvenar/settings.lock"},
      {"empty override",
       {"", "", "", "/h"},
       "/h/.config/tolvenar/Tolvenar.ini",
       "/h/.config/tolvenar/music.lock",
       "/h/.config/tolvenar/settings.lock"},
      {"no home", {}, std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SettingsFilePath(c.environment), c.settings);
    EXPECT_EQ(MusicLockPath(c.environment), c.music_lock);
    EXPECT_EQ(SettingsDialogLockPath(c.environment), c.dialog_lock);
  }
}

}  // namespace
}  // namespace tolvenar
