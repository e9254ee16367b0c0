#include "startup/emulation/xscreensaver_registration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <optional>
#include <string>
#include <vector>

#include "fakes/file_bytes.h"

namespace tolvenar {
namespace {

namespace fs = std::filesystem;
using testing::Get;
using testing::Put;
using testing::Show;
using R = XscreensaverRegistration;

constexpr const char kSettingsWritten[] =
    "mode:\t\trandom\n"
    "programs:\t\t\t\t\\\n"
    "\t\t\t\tmaze -root\t\t\t\\n\\\n"
    "- GL: \t\t\tsuperquadrics -root\t\t\\n\\\n"
    "\n"
    "pointerHysteresis:  10\n";

TEST(XscreensaverRegistration, AppendsOnceKeepingEveryByte) {
  struct Case {
    const char* name;
    std::string before;
    R result;
    std::string after;  // for kAdded
  } cases[] = {
      {"as the settings program writes it: before the closing blank line", kSettingsWritten,
       R::kAdded,
       "mode:\t\trandom\n"
       "programs:\t\t\t\t\\\n"
       "\t\t\t\tmaze -root\t\t\t\\n\\\n"
       "- GL: \t\t\tsuperquadrics -root\t\t\\n\\\n"
       "  GL: tolvenar --root \\n\\\n"
       "\n"
       "pointerHysteresis:  10\n"},
      {"last entry without separator, then a blank line", "programs: \\\n maze -root \\\n\n",
       R::kAdded, "programs: \\\n maze -root \\\n\\n  GL: tolvenar --root \\n\\\n\n"},
      {"last entry without separator, then another resource",
       "programs: \\\n  maze -root \\n\\\n  qix -root\nlock: False\n", R::kAdded,
       "programs: \\\n  maze -root \\n\\\n  qix -root\\\n\\n  GL: tolvenar --root \\n\nlock: "
       "False\n"},
      {"one line ending in a separator", "programs: maze -root \\n\n", R::kAdded,
       "programs: maze -root \\n\\\n  GL: tolvenar --root \\n\n"},
      {"an empty list", "programs:\n", R::kAdded, "programs:\\\n  GL: tolvenar --root \\n\n"},
      {"CRLF lines", "programs: \\\r\n maze -root \\n\\\r\n\r\nfade: True\r\n", R::kAdded,
       "programs: \\\r\n maze -root \\n\\\r\n  GL: tolvenar --root \\n\\\r\n\r\nfade: True\r\n"},
      {"no line end at the end of the file", "programs: maze -root", R::kAdded,
       "programs: maze -root\\\n\\n  GL: tolvenar --root \\n"},
      {"the file ends inside the list", "programs: \\\n maze -root \\n\\", R::kAdded,
       "programs: \\\n maze -root \\n\\\n  GL: tolvenar --root \\n"},
      {"two escaped backslashes end the list", "programs: maze -root -text \\\\\\\\\nlock: False\n",
       R::kAdded,
       "programs: maze -root -text \\\\\\\\\\\n\\n  GL: tolvenar --root \\n\nlock: False\n"},
      {"names that only look alike are other programs",
       "programs: tolvenarx -root \\n\\\n maze -text tolvenar \\n\\\n\n", R::kAdded,
       "programs: tolvenarx -root \\n\\\n maze -text tolvenar \\n\\\n  GL: tolvenar --root "
       "\\n\\\n\n"},
      {"listed by its installed path",
       "programs: \\\n  GL: /usr/libexec/xscreensaver/tolvenar --root \\n\\\n\n",
       R::kListed,
       {}},
      {"listed with a label and no visual",
       "programs: \"Night city\" tolvenar -root\n",
       R::kListed,
       {}},
      {"listed switched off",
       "programs: \\\n- GL: \t\ttolvenar --root \\n\\\n\n",
       R::kListedDisabled,
       {}},
      {"switched off, other visual, a label",
       "programs: -default:\"City\"  tolvenar\n",
       R::kListedDisabled,
       {}},
      {"no list: the system's applies", "mode: random\n# programs: maze\n", R::kNoProgramsList, {}},
      {"a look-alike resource name", "programsX: maze\n", R::kNoProgramsList, {}},
      {"programs: inside another resource's value",
       "textProgram: fortune \\\nprograms: x\n",
       R::kNoProgramsList,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramsUpdate update = AddToXscreensaverPrograms(c.before);
    EXPECT_EQ(update.result, c.result);
    const std::string& expected = c.result == R::kAdded ? c.after : c.before;
    EXPECT_EQ(Show(update.content), Show(expected));
    // The entry just added is found again: a second run changes nothing.
    if (c.result == R::kAdded) {
      const ProgramsUpdate again = AddToXscreensaverPrograms(update.content);
      EXPECT_EQ(again.result, R::kListed);
      EXPECT_EQ(again.content, update.content);
    }
  }
}

// The daemon's app-defaults file as Debian ships it: tab-aligned entries, the list's last entry
// without a continuation, other resources around it.
constexpr const char kAppDefaults[] =
    "! XScreenSaver app-defaults\n"
    "*mode:\t\t\trandom\n"
    "\n"
    "*programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsquirtorus --root\t\t\t    \\n\n"
    "\n"
    "*hacks.maze.name:\tMaze\n";

// That list in ~/.xscreensaver as the settings program closes it, with the saver's entry.
constexpr const char kSystemListWithEntry[] =
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsquirtorus --root\t\t\t    \\n\\\n"
    "  GL: tolvenar --root \\n\\\n"
    "\n";

constexpr const char kNewFileHeader[] =
    "# XScreenSaver Preferences File\n"
    "# Written by tolvenar --register-xscreensaver: XScreenSaver's own list of display modes\n"
    "# with Tolvenar added at its end; every other setting is XScreenSaver's default.\n"
    "\n";

TEST(XscreensaverRegistration, WithoutAListOfTheUsersTheSystemsListIsWrittenWithTheEntry) {
  struct Case {
    const char* name;
    std::optional<std::string> file;  // none: the file does not exist
    std::optional<std::string> app_defaults;
    R result;
    std::string after;
  } cases[] = {
      {"a new user: a new file", std::nullopt, kAppDefaults, R::kAddedSystemList,
       std::string(kNewFileHeader) + kSystemListWithEntry},
      {"a file without a list: its bytes, then the list", "mode:\t\tone\nselected:\t2\n",
       kAppDefaults, R::kAddedSystemList,
       std::string("mode:\t\tone\nselected:\t2\n\n") + kSystemListWithEntry},
      {"a file ending inside a value: a blank line ends it first", "textProgram: fortune \\",
       kAppDefaults, R::kAddedSystemList,
       std::string("textProgram: fortune \\\n\n") + kSystemListWithEntry},
      {"an empty file", "", kAppDefaults, R::kAddedSystemList, kSystemListWithEntry},
      {"the user's own list wins over the system's", "programs: maze -root\n", kAppDefaults,
       R::kAdded, "programs: maze -root\\\n\\n  GL: tolvenar --root \\n\n"},
      {"no system list: nothing written", std::nullopt, std::nullopt, R::kNoSystemList, ""},
      {"an app-defaults file without a list", "mode: one\n", "*mode: random\n! *programs: x\n",
       R::kNoSystemList, "mode: one\n"},
      {"the system's list runs the saver already", std::nullopt,
       "*programs: GL: tolvenar --root \\n\n", R::kListed, ""},
      {"the last of the names counts; CRLF lines", std::nullopt,
       "*programs: a --root \\n\r\nXScreenSaver.programs: \\\r\n b --root\r\n", R::kAddedSystemList,
       std::string(kNewFileHeader) +
           "programs: \\\n b --root\\\n\\n  GL: tolvenar --root \\n\\\n\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramsUpdate update = AddToXscreensaverFile(c.file, c.app_defaults);
    EXPECT_EQ(update.result, c.result);
    EXPECT_EQ(Show(update.content), Show(c.after));
    // What was written is the user's list now: a second run finds the entry in it.
    if (c.result == R::kAddedSystemList) {
      EXPECT_EQ(AddToXscreensaverFile(update.content, std::nullopt).result, R::kListed);
    }
  }
}

TEST(XscreensaverRegistration, RegistersInTheUsersFile) {
  const fs::path folder =
      fs::temp_directory_path() / ("xss_test_" + std::to_string(std::random_device()()));
  fs::create_directories(folder / "home");
  const std::string path = (folder / "home" / ".xscreensaver").string();
  const std::string app_defaults = (folder / "XScreenSaver").string();
  const std::vector<std::string> places = {(folder / "missing").string(), app_defaults};

  // Without the system's list a new user's file is not made.
  EXPECT_EQ(RegisterXscreensaver(path, places), R::kNoSystemList);
  EXPECT_FALSE(fs::exists(path));
  Put(app_defaults, kAppDefaults);
  EXPECT_EQ(RegisterXscreensaver(path, places), R::kAddedSystemList);
  EXPECT_EQ(Show(Get(path)), Show(std::string(kNewFileHeader) + kSystemListWithEntry));
  EXPECT_EQ(RegisterXscreensaver(path, places), R::kListed);

  Put(path, kSettingsWritten);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(RegisterXscreensaver(path, {}), R::kAdded);
  const std::string once = Get(path);
  EXPECT_EQ(once, AddToXscreensaverPrograms(kSettingsWritten).content);
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(RegisterXscreensaver(path, {}), R::kListed);
  EXPECT_EQ(Get(path), once);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "home"), fs::directory_iterator()), 1);

  // The saver is in the list afterwards exactly when the run succeeds.
  for (const R result : {R::kAdded, R::kAddedSystemList, R::kListed, R::kListedDisabled}) {
    EXPECT_EQ(RegistrationExitStatus(result), 0) << static_cast<int>(result);
  }
  for (const R result : {R::kNoSystemList, R::kNoHome, R::kUnreadable, R::kWriteFailed}) {
    EXPECT_EQ(RegistrationExitStatus(result), 1) << static_cast<int>(result);
  }

  EXPECT_EQ(XscreensaverFilePath(std::string("/home/u")), "/home/u/.xscreensaver");
  EXPECT_EQ(XscreensaverFilePath(std::string("/")), "/.xscreensaver");
  EXPECT_EQ(XscreensaverFilePath(std::string()), std::nullopt);
  EXPECT_EQ(XscreensaverFilePath(std::nullopt), std::nullopt);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tolvenar
