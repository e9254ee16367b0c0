#include "runtime/linux/system_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "fakes/shift_jis.h"

namespace tolvenar::linux_port {
namespace {

using testing::ShiftJis;

std::optional<std::string> Crossed(const std::string& core) {
  const std::optional<SystemPath> system = SystemPath::FromCore(core);
  if (!system) return std::nullopt;
  return system->str();
}

// ソ (83 5C) and 表 (95 5C) end in the byte of "\": neither is a separator.
TEST(SystemPath, CorePathsCrossAsTheSystemNamesThem) {
  const struct {
    const char* what;
    std::string core;
    std::optional<std::string> system;
  } cases[] = {
      {"as the settings store it", "\\home\\me\\Music\\tune.mp3", "/home/me/Music/tune.mp3"},
      {"already POSIX", "/home/me/tune.mp3", "/home/me/tune.mp3"},
      {"both separators", "\\home/me\\tune.wav", "/home/me/tune.wav"},
      {"trail bytes 5C", ShiftJis("\\home\\ソ\\表.wav"), "/home/ソ/表.wav"},
      {"half-width kana", ShiftJis("\\m\\ﾌｧｲﾙ.mp3"), "/m/ﾌｧｲﾙ.mp3"},
      {"Windows drive", "C:\\Music\\a.mp3", std::nullopt},
      {"Windows drive, forward", "c:/Music/a.mp3", std::nullopt},
      {"share", "\\\\server\\share\\a.mp3", std::nullopt},
      {"share, forward", "//server/share/a.mp3", std::nullopt},
      {"relative", "Music\\a.mp3", std::nullopt},
      {"empty", "", std::nullopt},
      {"lead byte without its trail", "\\m\\\x83", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Crossed(c.core), c.system);
    if (c.system) {
      EXPECT_EQ(Crossed(CorePath(*c.system)), c.system) << "and back";
    }
  }
  EXPECT_EQ(CorePath("/home/ソ/表.wav"), ShiftJis("\\home\\ソ\\表.wav"));
  EXPECT_EQ(CorePath("/m/\u20ac.mp3"), "");  // € has no code page 932 byte
}

TEST(SystemPath, OnlyRegularFilesCanBeOpenedForReading) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("tolvenar-path-" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "ソ.mp3") << "ID3";
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
  const struct {
    const char* name;
    bool readable;
  } cases[] = {{"ソ.mp3", true}, {"", false}, {"pipe", false}, {"missing", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string core = CorePath((folder / c.name).string());
    EXPECT_EQ(CanOpenForReading(*SystemPath::FromCore(core)), c.readable);
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tolvenar::linux_port
