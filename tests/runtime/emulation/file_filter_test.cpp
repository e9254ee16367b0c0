#include "runtime/emulation/file_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvenar {
namespace {

using namespace std::string_literals;

TEST(ParseFileFilter, ReadsTheNameAndPatternPairs) {
  const auto filters = ParseFileFilter("Music\0*.MP3;*.WAV\0All\0*.*\0Lonely\0\0"s);
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].name, "Music");
  EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.MP3", "*.WAV"}));
  EXPECT_EQ(filters[1].patterns, (std::vector<std::string>{"*.*"}));
  EXPECT_TRUE(ParseFileFilter(""s).empty());
}

TEST(CaseInsensitivePattern, SpellsEachLetterForBothCases) {
  const struct {
    std::string pattern, spelled;
  } cases[] = {
      {"*.MP3", "*.[Mm][Pp]3"}, {"*.wav", "*.[Ww][Aa][Vv]"},
      {"*.*", "*.*"},           {"\x83\x5C*.x", "\x83\x5C*.[Xx]"},  // ソ stays whole
      {"\x83\x41", "\x83\x41"},  // ア: its second byte is "A", not a letter of its own
  };
  for (const auto& c : cases) EXPECT_EQ(CaseInsensitivePattern(c.pattern), c.spelled) << c.pattern;
}

}  // namespace
}  // namespace tolvenar
