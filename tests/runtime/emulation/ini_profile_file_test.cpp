#include "runtime/emulation/ini_profile_file.h"

#include "fakes/file_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace tolvenar {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kMusicKind = "BGM\x8B\xE6\x95\xAA";
const std::string kRepeatTrack = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kMusicFile = "BGM\xCC\xA7\xB2\xD9";

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("ini_test_" + std::to_string(random()));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // The names of everything in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path path_;
};

using testing::Get;
using testing::Put;
using testing::Show;

TEST(IniProfileFileRead, MissingFileSectionOrKeyGivesTheDefault) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("Tolvenar.ini");
  EXPECT_EQ(ini.GetString("Section", "a", "", 256, file), "") << "missing file";
  EXPECT_EQ(ini.GetString("Section", "a", "dflt", 256, file), "dflt") << "missing file";
  Put(file, "");
  EXPECT_EQ(ini.GetString("Section", "a", "dflt", 256, file), "dflt") << "empty file";
  Put(file, "[Other]\r\na=1\r\n");
  EXPECT_EQ(ini.GetString("Section", "a", "dflt", 256, file), "dflt") << "missing section";
  Put(file, "[Section]\r\nb=1\r\n");
  EXPECT_EQ(ini.GetString("Section", "a", "dflt", 256, file), "dflt") << "missing key";
  EXPECT_EQ(ini.GetString("Section", "a", "dflt   ", 256, file), "dflt") << "trailing spaces";
  EXPECT_EQ(ini.GetString("Section", "a", "dflt", 3, file), "df") << "default cut too";
  EXPECT_EQ(ini.GetString("Section", "b", "dflt", 0, file), "") << "no buffer at all";
  EXPECT_EQ(ini.GetString("Section", "a", "", 256, folder.File("")), "") << "a folder";
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"Tolvenar.ini"}) << "reading creates nothing";
}

TEST(IniProfileFileRead, HowLinesAreRead) {
  struct Case {
    std::string content;
    std::string section;
    std::string key;
    std::string expected;  // "<default>" when the key is not found
    const char* what;
  } cases[] = {
      {"[Section]\r\nk=2\r\n", "Section", "k", "2", "plain"},
      {"[Section]\r\n  k \t=  two words  \r\n", "Section", "k", "two words", "blanks around"},
      {"[Section]\r\nk=2\r\n", " Section ", " k\t", "2", "blanks around the asked names"},
      {"[sEcTiOn]\r\nKEY=2\r\n", "SECTION", "key", "2", "ASCII case ignored"},
      {"[ Section ]\r\nk=2\r\n", "Section", "k", "2", "blanks inside brackets dropped"},
      {"[Section]junk\r\nk=2\r\n", "Section", "k", "2", "text after ] ignored"},
      {"[Sec]tion]\r\nk=2\r\n", "Sec]tion", "k", "2", "the last ] closes"},
      {"[Section\r\nk=2\r\n", "Section", "k", "<default>", "no ] is no section"},
      {"   [Section]\r\nk=2", "Section", "k", "2", "indented header, no final newline"},
      {"[Section]\nk=2\n", "Section", "k", "2", "LF only"},
      {"[Section]\rk=2\r", "Section", "k", "2", "CR only"},
      {"[Section]\r\n\r\n\r\nk=2\r\n", "Section", "k", "2", "blank lines"},
      {"[Section]\r\nk=1\r\n[Section]\r\nk=2\r\nj=3\r\n", "Section", "k", "1",
       "duplicate section: the first counts"},
      {"[Section]\r\nk=1\r\n[Section]\r\nj=3\r\n", "Section", "j", "<default>",
       "duplicate section: the second is never read"},
      {"[Section]\r\nk=1\r\nk=2\r\n", "Section", "k", "1", "duplicate key: the first counts"},
      {"[Section]\r\n;k=1\r\n", "Section", ";k", "1", "a comment is just a name"},
      {"[Section]\r\n;k=1\r\n", "Section", "k", "<default>", "a commented key is not there"},
      {"[Section]\r\nk\r\n", "Section", "k", "<default>", "a bare name has no value"},
      {"[Section]\r\nk=\r\n", "Section", "k", "", "an empty value"},
      {"[Section]\r\nk==2\r\n", "Section", "k", "=2", "the first = splits"},
      {"[Section]\r\nk=\"quoted value\"\r\n", "Section", "k", "quoted value", "double quotes"},
      {"[Section]\r\nk='x'\r\n", "Section", "k", "x", "single quotes"},
      {"[Section]\r\nk=\"x'\r\n", "Section", "k", "\"x'", "quotes that do not pair"},
      {"[Section]\r\nk=\"\r\n", "Section", "k", "\"", "a lone quote"},
      {"[Section]\r\nk=\"\"\r\n", "Section", "k", "", "an empty quoted value"},
      {"[Section]\r\nk=a \"b\"\r\n", "Section", "k", "a \"b\"", "quotes inside"},
      {"k=2\r\n[Section]\r\n", "", "k", "2", "before any section: the nameless one"},
      {"k=2\r\n[Section]\r\n", "Section", "k", "<default>", "no section of that name"},
      {"[Section]\r\nk=1\0 2\r\n"s, "Section", "k", "1", "a NUL ends the value"},
      {"[Section]\r\nk\0x=1\r\n"s, "Section", "k", "1", "a NUL ends the name"},
      {"[Section]\r\n=1\r\n=2\r\n", "Section", "", "1", "an empty name"},
      {"[Section]\r\n\x1a k=2 \x1a\r\n", "Section", "k", "2", "^Z is a blank"},
      {"\xEF\xBB\xBF[Section]\r\nk=2\r\n", "Section", "k", "2", "UTF-8 mark"},
      {"[Section]\r\n" + kMusicKind + "=2\r\n", "Section", kMusicKind, "2", "Shift-JIS key"},
      {"[Section]\r\n" + kRepeatTrack + "=0\r\n", "Section", kRepeatTrack, "0", "half-width kana"},
      {"[Section]\r\n\x83\x41=1\r\n", "Section", "\x83\x61", "<default>",
       "second byte of a double-byte character is not folded"},
      {"[Section]\r\nbgm\x8B\xE6\x95\xAA=1\r\n", "Section", kMusicKind, "1",
       "ASCII folded beside double-byte characters"},
      {"[\x83]\r\nk=1\r\n", "\x83", "k", "<default>",
       "a ] that ends a double-byte character does not close"},
      {"[A\x83 ]\r\nk=1\r\n", "A\x83 ", "k", "1",
       "a blank that ends a double-byte character is not trimmed"},
  };
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("t.ini");
  int row = 0;
  for (const Case& c : cases) {
    Put(file, c.content);
    EXPECT_EQ(ini.GetString(c.section, c.key, "<default>", 256, file), c.expected)
        << "row " << row << ": " << c.what;
    ++row;
  }
}

TEST(IniProfileFileRead, ValuesAreCutToTheBuffer) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("t.ini");
  const std::string long_value(300, 'v');
  Put(file, "[Section]\r\nlong=" + long_value + "\r\nfit=" + std::string(255, 'f') +
                "\r\nquoted=\"" + std::string(255, 'q') + "\"\r\n");
  EXPECT_EQ(ini.GetString("Section", "long", "", 256, file), std::string(255, 'v'));
  EXPECT_EQ(ini.GetString("Section", "fit", "", 256, file), std::string(255, 'f'))
      << "fits exactly";
  EXPECT_EQ(ini.GetString("Section", "fit", "", 255, file), std::string(254, 'f')) << "one short";
  EXPECT_EQ(ini.GetString("Section", "fit", "", 1, file), "");
  EXPECT_EQ(ini.GetString("Section", "quoted", "", 256, file), std::string(255, 'q'))
      << "quotes do not count";
  EXPECT_EQ(ini.GetString("Section", "quoted", "", 255, file), std::string(254, 'q'));
}

TEST(IniProfileFileRead, ACutNeverSplitsADoubleByteCharacter) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("t.ini");
  std::string wide;  // 150 double-byte characters
  for (int i = 0; i < 150; ++i) wide += "\x83\x41";
  Put(file, "[Section]\r\nwide=" + wide + "\r\nodd=a" + wide + "\r\nkana=\xB1\xB2\xB3\r\n");
  struct Case {
    const char* key;
    std::size_t size;
    std::string expected;
  } cases[] = {
      {"wide", 256, wide.substr(0, 254)},
      {"odd", 256, "a" + wide.substr(0, 254)},
      {"wide", 4, "\x83\x41"},
      {"wide", 5, "\x83\x41\x83\x41"},
      {"wide", 2, ""},
      {"kana", 3, "\xB1\xB2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Show(ini.GetString("Section", c.key, "", c.size, file)), Show(c.expected))
        << c.key << " in " << c.size << " bytes";
  }
}

TEST(IniProfileFileWrite, CreatesTheFileAndTheSection) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("Tolvenar.ini");
  ASSERT_TRUE(ini.WriteString("Section", kMusicKind, "2", file));
  EXPECT_EQ(Show(Get(file)), Show("[Section]\r\n" + kMusicKind + "=2\r\n"));
  ASSERT_TRUE(ini.WriteString("Section", kRepeatTrack, "0", file));
  ASSERT_TRUE(ini.WriteString("Section", kMusicFile, "C:\\Music\\night.mp3", file));
  EXPECT_EQ(Show(Get(file)), Show("[Section]\r\n" + kMusicKind + "=2\r\n" + kRepeatTrack +
                                  "=0\r\n" + kMusicFile + "=C:\\Music\\night.mp3\r\n"));
  EXPECT_EQ(ini.GetString("Section", kMusicFile, "", 256, file), "C:\\Music\\night.mp3");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"Tolvenar.ini"}) << "no temporary file left";
}

TEST(IniProfileFileWrite, RewritesTheWayThePlatformDoes) {
  struct Case {
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
    const char* what;
  } cases[] = {
      {"[Section]\r\nk=1\r\n", "Section", "k", "2", "[Section]\r\nk=2\r\n", "replace"},
      {"; top\r\n[A]\r\nx=1\r\n;c\r\n\r\n[Section]\r\nk=1\r\n;end\r\n[B]\r\ny\r\n", "Section", "n",
       "3", "; top\r\n[A]\r\nx=1\r\n;c\r\n[Section]\r\nk=1\r\n;end\r\nn=3\r\n[B]\r\ny\r\n",
       "new key at the end of its section; comments, bare names and other sections kept"},
      {"[A]\r\nx=1", "Section", "k", "v", "[A]\r\nx=1\r\n[Section]\r\nk=v\r\n",
       "new section at the end, no final newline"},
      {"  k  =  1  \r\n[Section]  junk\r\n\tj =2\n", "Section", "j", "3",
       "k=1\r\n[Section]\r\nj=3\r\n", "blanks and junk dropped, CR LF"},
      {"[Section]\r\nk=1\r\n[Section]\r\nk=2\r\n", "section", "K", "9",
       "[Section]\r\nk=9\r\n[Section]\r\nk=2\r\n", "first duplicate section and key, names kept"},
      {"[Section]\r\nk=1\r\n[Section]\r\nj=2\r\n", "Section", "j", "9",
       "[Section]\r\nk=1\r\nj=9\r\n[Section]\r\nj=2\r\n", "the second duplicate is never written"},
      {"[Section]\r\nk\r\n", "Section", "k", "1", "[Section]\r\nk=1\r\n",
       "a bare name gets a value"},
      {"[Section]\r\nk=1\r\n", " Section ", "  k ", "  2 ", "[Section]\r\nk=2 \r\n",
       "blanks around asked names ignored; leading blanks of the value dropped"},
      {"", "  New ", "  k ", "1", "[New ]\r\nk =1\r\n", "new names keep their trailing blanks"},
      {"x=1\r\n[Section]\r\n", "", "y", "2", "x=1\r\ny=2\r\n[Section]\r\n",
       "the nameless section before the first header"},
      {"[]\r\nx=1\r\n", "Section", "k", "1", "x=1\r\n[Section]\r\nk=1\r\n",
       "a section without a name loses its header"},
      {"[ Section\t]\r\nx=1\r\n", "Section", "k", "1", "[Section]\r\nx=1\r\nk=1\r\n",
       "blanks inside brackets dropped"},
      {"[Section]\r\n=1\r\n=2\r\n", "Section", "k", "1", "[Section]\r\n=1\r\nk=1\r\n",
       "a second empty name in a row is dropped"},
      {"[Section]\r\nk=1\0junk\r\n"s, "Section", "j", "2", "[Section]\r\nk=1\r\nj=2\r\n",
       "what follows a NUL is lost"},
      {"\xEF\xBB\xBF[Section]\r\n", "Section", "k", "1", "\xEF\xBB\xBF[Section]\r\nk=1\r\n",
       "UTF-8 mark kept"},
      {"[Section]\r\n", "Section", "k", "a\0b"s, "[Section]\r\nk=a\r\n", "value ends at a NUL"},
  };
  TempFolder folder;
  IniProfileFile ini;
  int row = 0;
  for (const Case& c : cases) {
    const std::string file = folder.File("t" + std::to_string(row) + ".ini");
    Put(file, c.before);
    EXPECT_TRUE(ini.WriteString(c.section, c.key, c.value, file))
        << "row " << row << ": " << c.what;
    EXPECT_EQ(Show(Get(file)), Show(c.after)) << "row " << row << ": " << c.what;
    ++row;
  }
}

TEST(IniProfileFileWrite, AnUnchangedValueLeavesTheFileAlone) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("t.ini");
  const std::string odd = "\n\n  [Section] \n k = 1 \n;note";
  Put(file, odd);
  EXPECT_TRUE(ini.WriteString("Section", "k", "1", file));
  EXPECT_EQ(Show(Get(file)), Show(odd));
}

TEST(IniProfileFileWrite, ByteIdenticalRoundTripKeepsUnknownKeys) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("Tolvenar.ini");
  const std::string original = "; written by hand\r\n[Other]\r\nx=\"quoted\"\r\n[Section]\r\n" +
                               kMusicKind + "=1\r\nunknown=keep me\r\n" + kRepeatTrack + "=3\r\n" +
                               kMusicFile + "=C:\\\x83\x5C\\a.mp3\r\n";
  Put(file, original);
  // The settings dialog writes the three keys back; the same values leave the same bytes.
  EXPECT_TRUE(ini.WriteString("Section", kMusicKind, "1", file));
  EXPECT_TRUE(ini.WriteString("Section", kRepeatTrack, "3", file));
  EXPECT_TRUE(ini.WriteString("Section", kMusicFile, "C:\\\x83\x5C\\a.mp3", file));
  EXPECT_EQ(Show(Get(file)), Show(original));
  // A change and its undoing give the same bytes back.
  EXPECT_TRUE(ini.WriteString("Section", kMusicKind, "2", file));
  EXPECT_NE(Get(file), original);
  EXPECT_TRUE(ini.WriteString("Section", kMusicKind, "1", file));
  EXPECT_EQ(Show(Get(file)), Show(original));
  EXPECT_EQ(ini.GetString("Section", kMusicFile, "", 256, file), "C:\\\x83\x5C\\a.mp3");
  EXPECT_EQ(ini.GetString("Other", "x", "", 256, file), "quoted");
}

TEST(IniProfileFileWrite, AFailedWriteLeavesTheOldFile) {
  TempFolder folder;
  IniProfileFile ini;
  EXPECT_FALSE(ini.WriteString("Section", "k", "1", folder.File("missing/t.ini")))
      << "missing folder";
  EXPECT_FALSE(ini.WriteString("Section", "k", "1", folder.File(""))) << "a folder";
  EXPECT_TRUE(folder.Names().empty());

  // The temporary file cannot be made: its name is taken by a folder.
  const std::string file = folder.File("t.ini");
  Put(file, "[Section]\r\nk=1\r\n");
  fs::create_directory(file + ".tmp~");
  EXPECT_FALSE(ini.WriteString("Section", "k", "2", file));
  EXPECT_EQ(Get(file), "[Section]\r\nk=1\r\n");
  EXPECT_TRUE(fs::is_directory(file + ".tmp~"));
}

TEST(IniProfileFileWrite, ReplacesTheFileItselfKeepingItsModeAndLinks) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("t.ini");
  Put(file, "[Section]\r\nk=1\r\n");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  Put(file + ".tmp~", "left by a write that never finished");
  ASSERT_TRUE(ini.WriteString("Section", "k", "2", file));
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"t.ini"}) << "the stale temporary file went";

  // Through a link the file it points to is replaced; the link stays.
  const std::string link = folder.File("link.ini");
  fs::create_symlink(file, link);
  ASSERT_TRUE(ini.WriteString("Section", "k", "3", link));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Get(file), "[Section]\r\nk=3\r\n");
}

TEST(IniProfileFileWrite, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("t.ini");
  Put(file, "[Section]\r\nk=1\r\n");
  // Files may not grow beyond 64 bytes: the write of a long value fails part way.
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old_limit;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = ini.WriteString("Section", "k", std::string(5000, 'x'), file);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(written);
  EXPECT_EQ(Get(file), "[Section]\r\nk=1\r\n");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"t.ini"});
}

TEST(IniProfileFileHostile, GarbageNulsAndLongLinesGiveDefinedResults) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("t.ini");
  std::mt19937 random(12345);
  std::string garbage(64 * 1024, '\0');
  for (char& c : garbage) c = static_cast<char>(random() & 0xff);
  Put(file, garbage);
  EXPECT_EQ(ini.GetString("Section", kMusicKind, "", 256, file), "");
  ASSERT_TRUE(ini.WriteString("Section", kMusicKind, "2", file));
  EXPECT_EQ(ini.GetString("Section", kMusicKind, "", 256, file), "2");
  ASSERT_TRUE(ini.WriteString("Section", "other", "3", file));
  EXPECT_EQ(ini.GetString("Section", kMusicKind, "", 256, file), "2");
  EXPECT_EQ(ini.GetString("Section", "other", "", 256, file), "3");

  const std::string long_line(10 * 1024, 'L');
  const std::string long_name(10 * 1024, 'N');
  Put(file, "[Section]\r\n" + long_line + "\r\nk=" + long_line + "\r\n" + long_name + "=1");
  EXPECT_EQ(ini.GetString("Section", "k", "", 256, file), std::string(255, 'L'));
  EXPECT_EQ(ini.GetString("Section", long_name, "", 256, file), "1");
  EXPECT_EQ(ini.GetString("Section", long_line, "dflt", 256, file), "dflt") << "a bare name";
  ASSERT_TRUE(ini.WriteString("Section", "k", "2", file));
  EXPECT_EQ(Get(file), "[Section]\r\n" + long_line + "\r\nk=2\r\n" + long_name + "=1\r\n");
}

// A header is found only where it stood: a rewrite never turns other lines into one.
TEST(IniProfileFileHostile, ARewriteKeepsWhatEachLineIs) {
  struct Case {
    std::string before;
    std::string after;
    const char* what;
  } cases[] = {
      {"\f\xEF\xBB\xBF[Section]\r\nk=1\r\n",
       "\r\n\xEF\xBB\xBF[Section]\r\nk=1\r\n[Section]\r\nn=2\r\n",
       "the bytes of a UTF-8 mark after a blank stay text"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF[Section]\r\n",
       "\xEF\xBB\xBF\xEF\xBB\xBF[Section]\r\n[Section]\r\nn=2\r\n",
       "a second mark after the first stays text"},
      {"[Section]x\x83 ]\r\n", "[Section]x\x83 ]\r\n[Section]\r\nn=2\r\n",
       "a name keeps the blank that ends its last character"},
  };
  TempFolder folder;
  IniProfileFile ini;
  int row = 0;
  for (const Case& c : cases) {
    const std::string file = folder.File("t" + std::to_string(row) + ".ini");
    Put(file, c.before);
    ASSERT_TRUE(ini.WriteString("Section", "n", "2", file)) << c.what;
    EXPECT_EQ(Show(Get(file)), Show(c.after)) << c.what;
    EXPECT_EQ(ini.GetString("Section", "n", "", 256, file), "2") << c.what;
    EXPECT_EQ(ini.GetString("Section", "k", "", 256, file), "") << c.what;
    ++row;
  }
}

TEST(IniProfileFileHostile, MegabytesAreReadInLinearTime) {
  TempFolder folder;
  IniProfileFile ini;
  const std::string file = folder.File("t.ini");
  std::string big = "[Section]\r\n";
  while (big.size() < 4u << 20) big += "key" + std::to_string(big.size()) + "=value\r\n";
  big += "last=found\r\n";
  Put(file, big);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ini.GetString("Section", "last", "", 256, file), "found");
  EXPECT_TRUE(ini.WriteString("Section", "last", "changed", file));
  EXPECT_EQ(ini.GetString("Section", "last", "", 256, file), "changed");
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
  EXPECT_LT(seconds.count(), 20.0);
  EXPECT_EQ(Get(file).size(), big.size() + 2);

  // Beyond the limit the file is not read and not written.
  const std::string huge = folder.File("huge.ini");
  Put(huge, "[Section]\r\nk=1\r\n");
  fs::resize_file(huge, kLargestProfileFile + 1);
  EXPECT_EQ(ini.GetString("Section", "k", "dflt", 256, huge), "dflt");
  EXPECT_FALSE(ini.WriteString("Section", "k", "2", huge));
  EXPECT_EQ(fs::file_size(huge), kLargestProfileFile + 1);
}

}  // namespace
}  // namespace tolvenar
