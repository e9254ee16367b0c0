#include "runtime/win32/profile_file_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "temp_folder.h"

namespace tolvenar::win32 {
namespace {

using testing::Exists;
using testing::Get;
using testing::kMusicFile;
using testing::kMusicKind;
using testing::kRepeatTrack;
using testing::Put;
using testing::Show;
using testing::TempFolder;

// What GetPrivateProfileStringA leaves in a buffer of `size` bytes prefilled with '*' (the buffer
// has 8 more sentinel bytes behind it), and what it returns.
struct Reply {
  DWORD returned;
  std::string buffer;  // all size + 8 bytes
};

Reply Ask(const std::string& section, const std::string& key, const char* default_value, DWORD size,
          const std::string& file) {
  std::string buffer(size + 8, '*');
  const DWORD returned = GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value,
                                                  buffer.data(), size, file.c_str());
  return {returned, buffer};
}

TEST(PlatformProfile, BufferThatFitsAndOneShort) {
  TempFolder folder;
  const std::string file = folder.File("t.ini");
  Put(file, "[Section]\r\nk=abcd\r\n");
  struct Case {
    DWORD size;
    DWORD returned;
    std::string buffer;
    const char* what;
  } cases[] = {
      {6, 4, std::string("abcd\0*", 6) + "********", "room to spare"},
      {5, 4, std::string("abcd\0", 5) + "********", "fits exactly"},
      {4, 3, std::string("abc\0", 4) + "********", "one short: cut to size - 1"},
      {2, 1, std::string("a\0", 2) + "********", "room for one byte"},
      {1, 0, std::string("\0", 1) + "********", "room for the NUL only"},
  };
  int row = 0;
  for (const Case& c : cases) {
    const Reply reply = Ask("Section", "k", "", c.size, file);
    EXPECT_EQ(reply.returned, c.returned) << "row " << row << ": " << c.what;
    EXPECT_EQ(Show(reply.buffer), Show(c.buffer)) << "row " << row << ": " << c.what;
    ++row;
  }
}

TEST(PlatformProfile, MissingFileSectionOrKeyGivesTheDefault) {
  TempFolder folder;
  const std::string file = folder.File("t.ini");
  Put(file, "[Section]\r\nk=1\r\n[Other]\r\n");
  struct Case {
    std::string file;
    std::string section;
    std::string key;
    const char* what;
  } cases[] = {
      {folder.File("missing.ini"), "Section", "k", "missing file"},
      {folder.File("no\\such\\folder.ini"), "Section", "k", "missing folder"},
      {file, "Missing", "k", "missing section"},
      {file, "Other", "k", "section without keys"},
      {file, "Section", "missing", "missing key"},
  };
  int row = 0;
  for (const Case& c : cases) {
    Reply reply = Ask(c.section, c.key, "", 16, c.file);
    EXPECT_EQ(reply.returned, 0u) << "row " << row << ": " << c.what;
    EXPECT_EQ(Show(reply.buffer), Show(std::string(1, '\0') + std::string(23, '*')))
        << "row " << row << ": " << c.what;
    reply = Ask(c.section, c.key, "dflt", 16, c.file);
    EXPECT_EQ(reply.buffer.substr(0, 5), std::string("dflt\0", 5)) << "row " << row;
    ++row;
  }
  EXPECT_FALSE(Exists(folder.File("missing.ini"))) << "reading creates nothing";
}

TEST(Win32ProfileFile, ReadsCutTo255Bytes) {
  TempFolder folder;
  const std::string file = folder.File("t.ini");
  Put(file,
      "[Section]\r\nlong=" + std::string(300, 'v') + "\r\nfit=" + std::string(255, 'f') + "\r\n");
  Win32ProfileFile profile;
  EXPECT_EQ(profile.GetString("Section", "long", "", 256, file), std::string(255, 'v'));
  EXPECT_EQ(profile.GetString("Section", "fit", "", 256, file), std::string(255, 'f'));
  EXPECT_EQ(profile.GetString("Section", "fit", "", 255, file), std::string(254, 'f'));
  EXPECT_EQ(profile.GetString("Section", "fit", "", 0, file), "");
  EXPECT_EQ(profile.GetString("Section", "none", "", 256, file), "");
  EXPECT_EQ(profile.GetString("Section", "none", "", 256, folder.File("missing.ini")), "");
}

TEST(Win32ProfileFile, WriteCreatesTheFileAndTheSectionWithShiftJisKeys) {
  TempFolder folder;
  const std::string file = folder.File("Tolvenar.ini");
  Win32ProfileFile profile;
  ASSERT_TRUE(profile.WriteString("Section", kMusicKind, "2", file));
  ASSERT_TRUE(profile.WriteString("Section", kRepeatTrack, "0", file));
  ASSERT_TRUE(profile.WriteString("Section", kMusicFile, "C:\\Music\\night.mp3", file));
  EXPECT_EQ(Show(Get(file)), Show("[Section]\r\n" + kMusicKind + "=2\r\n" + kRepeatTrack +
                                  "=0\r\n" + kMusicFile + "=C:\\Music\\night.mp3\r\n"));
  EXPECT_EQ(profile.GetString("Section", kMusicKind, "", 256, file), "2");
  EXPECT_EQ(profile.GetString("Section", kRepeatTrack, "", 256, file), "0");
  EXPECT_EQ(profile.GetString("Section", kMusicFile, "", 256, file), "C:\\Music\\night.mp3");

  // A second section joins the file; the first stays as it was.
  ASSERT_TRUE(profile.WriteString("Other", "k", "v", file));
  EXPECT_EQ(Show(Get(file)),
            Show("[Section]\r\n" + kMusicKind + "=2\r\n" + kRepeatTrack + "=0\r\n" + kMusicFile +
                 "=C:\\Music\\night.mp3\r\n" + "[Other]\r\nk=v\r\n"));
}

TEST(Win32ProfileFile, WriteIntoAMissingFolderFails) {
  TempFolder folder;
  Win32ProfileFile profile;
  EXPECT_FALSE(profile.WriteString("Section", "k", "v", folder.File("missing\\t.ini")));
}

// True when a read-only file refuses to be opened for writing; an administrator may write anyway.
bool ReadOnlyIsEnforced(const std::string& file) {
  const HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return true;
  CloseHandle(handle);
  return false;
}

TEST(Win32ProfileFile, WriteToAReadOnlyFileFailsAndLeavesIt) {
  TempFolder folder;
  const std::string file = folder.File("t.ini");
  Put(file, "[Section]\r\nk=1\r\n");
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  if (!ReadOnlyIsEnforced(file)) {
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    GTEST_SKIP() << "read-only files can be written by this user";
  }
  Win32ProfileFile profile;
  EXPECT_FALSE(profile.WriteString("Section", "k", "2", file));
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Get(file), "[Section]\r\nk=1\r\n");
}

}  // namespace
}  // namespace tolvenar::win32
