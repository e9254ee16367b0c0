#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "fakes/fake_runtime.h"
#include "fakes/file_bytes.h"
#include "fakes/shift_jis.h"

namespace tolvenar {
namespace {

using testing::CallLog;
using testing::ShiftJis;

constexpr char kIni[] = "C:\\Saver\\Tolvenar.ini";

struct Store {
  CallLog log;
  testing::FakeProcess process{log};
  testing::FakeProfileFile profile{log};
  SettingsStore store{profile, process};

  void Set(std::string_view key, const std::string& value) {
    profile.values[{kIni, std::string(kIniSection), std::string(key)}] = value;
  }
  SettingsRecord Load() {
    SettingsRecord record;
    store.LoadSettings(record);
    return record;
  }
};

TEST(SettingsKeys, ExactShiftJisBytes) {
  EXPECT_EQ(kKeyMusicKind, std::string_view("\x42\x47\x4D\x8B\xE6\x95\xAA"));
  EXPECT_EQ(kKeyRepeatTrack, std::string_view("\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4"));
  EXPECT_EQ(kKeyMusicFile, std::string_view("\x42\x47\x4D\xCC\xA7\xB2\xD9"));
}

TEST(LoadSettings, ReadsTheThreeKeysInOrderWith256ByteBuffers) {
  Store s;
  s.Load();
  const std::string section = "Section/";
  EXPECT_EQ(s.log, (CallLog{"GetString " + section + std::string(kKeyMusicKind) + " 256 " + kIni,
                            "GetString " + section + std::string(kKeyRepeatTrack) + " 256 " + kIni,
                            "GetString " + section + std::string(kKeyMusicFile) + " 256 " + kIni}));
}

TEST(LoadSettings, MissingFileGivesAnEmptyRecord) {
  Store s;
  const SettingsRecord r = s.Load();
  EXPECT_EQ(r.MusicKind, 0);
  EXPECT_EQ(r.RepeatTrack, 0);
  EXPECT_EQ(r.MusicFile, "");
  EXPECT_EQ(r.MusicFolder, "C:\\Saver");
}

TEST(LoadSettings, NumberTexts) {
  struct Case {
    const char* text;
    std::int16_t expected;
  } cases[] = {
      {"2", 2},   {"2.9", 2},       {"-0.5", -1},       {" 7 ", 7},      {"abc", 0}, {"70000", 0},
      {"1e9", 0}, {"32767", 32767}, {"-32768", -32768}, {"-32768.5", 0}, {"+3", 3},  {"", 0},
  };
  for (const Case& c : cases) {
    Store s;
    s.Set(kKeyRepeatTrack, c.text);
    EXPECT_EQ(s.Load().RepeatTrack, c.expected) << "'" << c.text << "'";
  }
}

TEST(LoadSettings, FailedConversionKeepsTheEarlierValue) {
  Store s;
  s.Set(kKeyMusicKind, "1");
  s.Set(kKeyRepeatTrack, "junk");
  SettingsRecord record;
  record.RepeatTrack = 5;
  s.store.LoadSettings(record);
  EXPECT_EQ(record.RepeatTrack, 5);
  s.Set(kKeyRepeatTrack, "");
  s.store.LoadSettings(record);
  EXPECT_EQ(record.RepeatTrack, 0);  // an empty value is zero, not a failed conversion
}

TEST(LoadSettings, MusicFileRules) {
  struct Case {
    const char* kind;
    std::string file;
    bool exists;
    std::int16_t kind_after;
    std::string file_after;
    std::string folder_after;
  } cases[] = {
      {"2", "C:\\Music\\night.mp3", true, 2, "C:\\Music\\night.mp3", "C:\\Music"},
      {"2", "C:\\Music\\gone.mp3", false, 0, "", "C:\\Saver"},
      {"1", "C:\\Music\\gone.mp3", false, 1, "", "C:\\Saver"},
      {"2", "", false, 0, "", "C:\\Saver"},
      {"0", "C:\\night.mp3", true, 0, "C:\\night.mp3", "C:"},
      {"3", "D:\\a b\\c.wav", true, 3, "D:\\a b\\c.wav", "D:\\a b"},
      // Code page 932 names whose last byte is 5C ("\"): no separator.
      {"2", ShiftJis("C:\\Music\\表"), true, 2, ShiftJis("C:\\Music\\表"), "C:\\Music"},
      {"2", ShiftJis("C:\\ソナタ\\予.mp3"), true, 2, ShiftJis("C:\\ソナタ\\予.mp3"),
       ShiftJis("C:\\ソナタ")},
  };
  for (const Case& c : cases) {
    Store s;
    s.Set(kKeyMusicKind, c.kind);
    s.Set(kKeyMusicFile, c.file);
    if (c.exists) s.process.readable_files.insert(c.file);
    const SettingsRecord r = s.Load();
    EXPECT_EQ(r.MusicKind, c.kind_after) << c.file;
    EXPECT_EQ(r.MusicFile, c.file_after) << c.file;
    EXPECT_EQ(r.MusicFolder, c.folder_after) << c.file;
  }
}

TEST(LoadSettings, ValueCutTo255Bytes) {
  Store s;
  const std::string long_path = "C:\\" + std::string(297, 'x');
  s.Set(kKeyMusicFile, long_path);
  s.process.readable_files.insert(long_path.substr(0, 255));
  EXPECT_EQ(s.Load().MusicFile, long_path.substr(0, 255));
}

TEST(FileExists, DropsOneTrailingSeparator) {
  struct Case {
    std::string path;
    std::string opened;
  } cases[] = {
      {"C:\\Music\\", "C:\\Music"},
      {"C:\\Music\\\\", "C:\\Music\\"},
      {"", ""},
      {ShiftJis("C:\\Music\\表"), ShiftJis("C:\\Music\\表")},
      {ShiftJis("C:\\Music\\十\\"), ShiftJis("C:\\Music\\十")},
      {"C:\\a\x95\\", "C:\\a\x95\\"},  // a lead byte takes the "\" after it
  };
  for (const Case& c : cases) {
    Store s;
    s.store.FileExists(c.path);
    EXPECT_EQ(s.log, CallLog{"CanOpenForReading " + c.opened}) << testing::Show(c.path);
  }
}

TEST(GetFolderOfPath, Examples) {
  struct Case {
    std::string path;
    std::string folder;
  } cases[] = {
      {"C:\\Music\\night.mp3", "C:\\Music"},
      {"C:\\night.mp3", "C:"},
      {"C:night.mp3", "C:"},
      {"night.mp3", ""},
      {"\\\\server\\share\\a.mp3", "\\\\server\\share"},
      {"", ""},
      {ShiftJis("C:\\Music\\ソナタ.mp3"), "C:\\Music"},
      {ShiftJis("C:\\表\\能.mp3"), ShiftJis("C:\\表")},
      {ShiftJis("C:\\申\\"), ShiftJis("C:\\申")},
      {ShiftJis("D:十予"), "D:"},
      {"C:\\a\\b\x95", "C:\\a"},  // a lone lead byte at the end
  };
  for (const Case& c : cases) EXPECT_EQ(GetFolderOfPath(c.path), c.folder) << testing::Show(c.path);
}

TEST(IniFilePath, DriveRootGivesTwoSeparators) {
  EXPECT_EQ(IniFilePath("C:\\"), "C:\\\\Tolvenar.ini");
  EXPECT_EQ(IniFilePath("C:\\Saver"), "C:\\Saver\\Tolvenar.ini");
}

TEST(WriteIniString, NamesCutTo127Characters) {
  Store s;
  s.store.WriteIniString(std::string(200, 's'), std::string(130, 'k'), "v", kIni);
  EXPECT_EQ(s.log, CallLog{"WriteString " + std::string(127, 's') + "/" + std::string(127, 'k') +
                           "=v " + kIni});
  std::string key = "k";
  for (int i = 0; i < 130; ++i) key += ShiftJis("能");
  s.log.clear();
  s.store.WriteIniString("s", key, "v", kIni);
  EXPECT_EQ(s.log, CallLog{"WriteString s/" + key.substr(0, 1 + 2 * 126) + "=v " + kIni});
}

constexpr char kLocal[] = "C:\\Users\\u\\AppData\\Local";
constexpr char kUserIni[] = "C:\\Users\\u\\AppData\\Local\\Tolvenar\\Tolvenar.ini";

TEST(IniFile, TheUsersCopyIsReadBeforeTheFileBesideTheProgram) {
  const struct {
    const char* what;
    const char* local;
    bool user_copy;
    const char* read;
  } cases[] = {
      {"no local application data", "", false, kIni},
      {"no user copy", kLocal, false, kIni},
      {"a user copy", kLocal, true, kUserIni},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Store s;
    s.process.local_app_data = c.local;
    if (c.user_copy) s.process.files[kUserIni] = "";
    s.profile.values[{kUserIni, "Section", std::string(kKeyMusicKind)}] = "1";
    s.profile.values[{kIni, "Section", std::string(kKeyMusicKind)}] = "2";
    EXPECT_EQ(s.store.IniFile(), c.read);
    EXPECT_EQ(s.Load().MusicKind, c.user_copy ? 1 : 0);  // kind 2 without a file falls back to 0
  }
}

TEST(WriteIniString, AFileBesideTheProgramThatRefusesWritesSendsThemToTheUsersCopy) {
  const std::string old_ini = "; mine\r\n[Other]\r\nx=1\r\n";
  const std::string write_a = std::string("WriteString Section/a=1 ");
  const std::string write_b = std::string("WriteString Section/b=2 ");
  const std::string user_folder = "C:\\Users\\u\\AppData\\Local\\Tolvenar";
  const std::string partial = std::string(kUserIni) + ".new";
  const std::string check = "CheckWriteAccess " + std::string(kIni);
  const std::string make_folder = "CreateFolder " + user_folder;
  const std::string read = "ReadWholeFile " + std::string(kIni);
  const std::string write_partial = "WriteWholeFile " + partial;
  const std::string rename = "RenameFile " + partial + " " + kUserIni;
  enum Fault { kNone, kNoFolder, kFull, kUnreadable, kInUse, kMissing };
  const struct {
    const char* what;
    const char* local;
    bool user_copy, program_read_only;
    Fault fault;
    CallLog writes;
  } cases[] = {
      {"writable", kLocal, false, false, kNone, {write_a + kIni, write_b + kIni}},
      {"read-only, no local application data",
       "",
       false,
       true,
       kNone,
       {write_a + kIni, write_b + kIni}},
      {"read-only",
       kLocal,
       false,
       true,
       kNone,
       {write_a + kIni, check, make_folder, read, write_partial, rename, write_a + kUserIni,
        write_b + kUserIni}},
      {"read-only, no file beside the program: an empty copy",
       kLocal,
       false,
       true,
       kMissing,
       {write_a + kIni, check, make_folder, write_partial, rename, write_a + kUserIni,
        write_b + kUserIni}},
      {"read-only, user folder cannot be made",
       kLocal,
       false,
       true,
       kNoFolder,
       {write_a + kIni, check, make_folder, write_b + kIni, check, make_folder}},
      // None of these may leave a copy that hides the file beside the program.
      {"read-only, the user's disk full",
       kLocal,
       false,
       true,
       kFull,
       {write_a + kIni, check, make_folder, read, write_partial, "RemoveFile " + partial,
        write_b + kIni, check, make_folder, read, write_partial, "RemoveFile " + partial}},
      {"read-only, the file cannot be read",
       kLocal,
       false,
       true,
       kUnreadable,
       {write_a + kIni, check, make_folder, read, write_b + kIni, check, make_folder, read}},
      {"held by another program",
       kLocal,
       false,
       true,
       kInUse,
       {write_a + kIni, check, write_b + kIni, check}},
      {"a user copy", kLocal, true, true, kNone, {write_a + kUserIni, write_b + kUserIni}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Store s;
    s.process.local_app_data = c.local;
    if (c.fault != kMissing) s.process.files[kIni] = old_ini;
    if (c.user_copy) s.process.files[kUserIni] = "";
    if (c.program_read_only) s.profile.read_only_files.insert(kIni);
    if (c.fault == kNoFolder) s.process.unwritable_folders.insert(kLocal);
    if (c.fault == kFull) s.process.full_folders.insert(user_folder);
    if (c.fault == kUnreadable) s.process.unreadable_files.insert(kIni);
    if (c.fault == kInUse) s.process.in_use_files.insert(kIni);
    // As the dialog's Set does: the file once, then each value.
    const std::string ini = s.store.IniFile();
    s.log.clear();
    s.store.WriteIniString("Section", "a", "1", ini);
    s.store.WriteIniString("Section", "b", "2", ini);
    EXPECT_EQ(s.log, c.writes);
    const bool copied = c.writes.back() == write_b + kUserIni && !c.user_copy;
    EXPECT_EQ(s.process.files.count(partial), 0u);
    EXPECT_EQ(s.process.files.count(kUserIni) > 0, copied || c.user_copy);
    if (copied) {
      EXPECT_EQ(s.process.files[kUserIni], c.fault == kMissing ? "" : old_ini)
          << "the old file's lines are kept";
      EXPECT_EQ(s.store.IniFile(), kUserIni) << "and the copy is read from then on";
    }
  }
}

}  // namespace
}  // namespace tolvenar
