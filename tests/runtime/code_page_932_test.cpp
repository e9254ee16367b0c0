#include "runtime/code_page_932.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/file_bytes.h"
#include "fakes/shift_jis.h"

namespace tolvenar {
namespace {

using testing::ShiftJis;
using testing::Show;
constexpr std::size_t kNone = std::string_view::npos;

// ソ 表 能 十 申 予 all end in 5C ("\"); ヂ is 83 61 ("a"), ヘ 83 77 ("w"), ウ 83 45 ("E").
TEST(CodePage932, SecondBytesAreNeverCharactersOfTheirOwn) {
  struct Case {
    std::string text;
    std::size_t last_separator;  // FindLastChar(text, ":\\")
    bool ends_with_separator;
  } cases[] = {
      {ShiftJis("C:\\Music\\ソナタ.mp3"), 8, false},
      {ShiftJis("C:\\表"), 2, false},
      {ShiftJis("能"), kNone, false},
      {ShiftJis("C:\\十\\"), 5, true},
      {ShiftJis("申\\予\\"), 5, true},
      {ShiftJis("表") + "\\\\", 3, true},
      {ShiftJis("C:\\a") + "\x95", 2, false},         // a lone lead byte at the end
      {ShiftJis("C:\\a") + "\x95" + "\\", 2, false},  // takes the "\" after it
      {"", kNone, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindLastChar(c.text, ":\\"), c.last_separator) << Show(c.text);
    EXPECT_EQ(EndsWithChar(c.text, '\\'), c.ends_with_separator) << Show(c.text);
  }
}

TEST(CodePage932, CountsAndUpperCasesCharacters) {
  const std::string so = ShiftJis("ソ");
  EXPECT_EQ(LastChars(ShiftJis("ソナタ.mp3"), 3), "mp3");
  EXPECT_EQ(LastChars(ShiftJis("xヘav"), 3), ShiftJis("ヘav"));
  EXPECT_EQ(LastChars(ShiftJis("表"), 3), ShiftJis("表"));
  EXPECT_EQ(LastChars("ab\x95", 1), "\x95");
  EXPECT_EQ(FirstChars(so + "s/", 1), so);
  EXPECT_EQ(FirstChars("ab", 3), "ab");
  EXPECT_EQ(SkipChars(so + "s/", 1), "s/");
  EXPECT_EQ(SkipChars("/p", 3), "");
  EXPECT_EQ(UpperCase(ShiftJis("night.Mp3ヂa")), ShiftJis("NIGHT.MP3ヂA"));
  EXPECT_EQ(UpperCase("a\x95"), "A\x95");
  EXPECT_EQ(FindChars("Error:-1", "Err"), 0u);
  EXPECT_EQ(FindChars(ShiftJis("ウRRxERR"), "ERR"), 5u);
  EXPECT_EQ(FindChars(ShiftJis("ウRR"), "ERR"), kNone);
}

}  // namespace
}  // namespace tolvenar
