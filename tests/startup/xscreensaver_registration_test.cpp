#include "startup/xscreensaver_registration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

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

TEST(XscreensaverRegistration, RegistersInTheUsersFileOnlyWhereItIsSetUp) {
  const fs::path folder =
      fs::temp_directory_path() / ("xss_test_" + std::to_string(std::random_device()()));
  fs::create_directories(folder);
  const std::string path = (folder / ".xscreensaver").string();

  EXPECT_EQ(RegisterXscreensaver(path), R::kNoFile);
  EXPECT_FALSE(fs::exists(path));

  Put(path, kSettingsWritten);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(RegisterXscreensaver(path), R::kAdded);
  const std::string once = Get(path);
  EXPECT_EQ(once, AddToXscreensaverPrograms(kSettingsWritten).content);
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(RegisterXscreensaver(path), R::kListed);
  EXPECT_EQ(Get(path), once);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

  EXPECT_EQ(XscreensaverFilePath(std::string("/home/u")), "/home/u/.xscreensaver");
  EXPECT_EQ(XscreensaverFilePath(std::string("/")), "/.xscreensaver");
  EXPECT_EQ(XscreensaverFilePath(std::string()), std::nullopt);
  EXPECT_EQ(XscreensaverFilePath(std::nullopt), std::nullopt);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tolvenar
